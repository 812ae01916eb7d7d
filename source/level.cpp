// Level: loading a level file and releasing it again (the file's element
// readers are in level/reader.cpp, the navigation graph in
// level/nav_graph_loading.cpp, object creation in level/objects.cpp).
#include "level.h"

#include <tinyxml.h>

#include "behavior_manager.h"
#include "level/reader.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "system.h"
#include "xml_file.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

// The ground mesh draws with its texture, not with per-corner colours.
void PrepareGroundMesh(const GroundPlaneObject& ground) {
    if (ground.meshHandle.id.empty()) return;  // reported while reading
    if (Mesh* mesh = Module<ResourceManager>::Instance()->get<Mesh>(ground.meshHandle)) {
        mesh->useTexture = true;
        mesh->useColor = false;
    }
}

}  // namespace

Level::~Level() = default;

bool Level::LoadLevel(const std::string& path) {
    if (path.empty()) {
        Sys().Log("No filepath given\n");
        return false;
    }
    if (!LoadFromXML(path)) {
        Sys().Error(SOURCE_POS + "Error Loading Level\n");
        return false;
    }
    for (const LevelObjectRecord& record : levelData->objects) CreateObject(record);
    {
        // The main thread reads the ground while it draws and steers.
        ObjectLock lock;
        Module<ObjectManager>::Instance()->groundObject = levelData->groundPlane;
    }
    PrepareGroundMesh(levelData->groundPlane);
    return true;
}

bool Level::LoadFromXML(const std::string& path) {
    // The shared loader refuses oversized or absurdly nested files before
    // TinyXML's recursive parser could exhaust the stack on them.
    TiXmlDocument doc;
    std::string reason;
    if (!LoadXmlFile(doc, path, reason)) {
        Sys().Log("LoadFromXML: Error loading XML file\n");
        Sys().Log("doc.ErrorDesc() = " + path + ": " + reason + "\n");
        return false;
    }
    const TiXmlElement* root = doc.FirstChildElement();
    if (ExpectElement(root, "Level")) return false;
    if (root->ValueStr() != "Level") {
        Sys().Log("LOADFROMXML: XML File is not a level file\n");
        ReleaseLevelData();
        return false;
    }

    ReleaseLevelData();
    levelData.reset(new LevelData);
    levelData->name = level_reader::ReadLevelName(*root);
    const TiXmlElement* ground = root->FirstChildElement("GroundPlaneObject");
    if (ExpectElement(ground, "GroundPlaneObject")) return false;
    level_reader::ReadGroundPlane(*ground, levelData->groundPlane);
    levelData->objects = level_reader::ReadObjectRun(*root);
    // The main thread searches the live graph while this thread reads: the
    // new one is filled apart and swapped in under the object lock.
    NavGraph graph;
    LoadNavGraph(graph, *root);
    Module<BehaviorManager>::Instance()->ReplaceNavGraph(graph);
    return true;
}

bool Level::ExpectElement(const TiXmlElement* element, const std::string& tag) {
    if (element) return false;
    Sys().Log("Invalid XML file, expected " + tag + " tag.\n");
    ReleaseLevelData();
    return true;
}

void Level::ReleaseLevelData() {
    if (!levelData) return;
    {
        ObjectLock lock;
        Module<ObjectManager>::Instance()->ClearGameObjects();
    }
    levelData.reset();
}
