// A scratch world for the level tests: four object patterns loaded into the
// resource manager (a box-shaped crate, an invisible spawn gate, a pattern
// whose stats lack their values, and a sentry with generated collision
// volumes and behaviour), the meshes and maps they and the ground name, and
// a builder for level files. Every test starts and ends with no objects.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "behavior_manager.h"
#include "level.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "support/game_world.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace level_test {

inline ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline NavGraph& Graph() { return Module<BehaviorManager>::Instance()->navGraph; }

const char* const kPatterns[][2] = {
    {"LvCrate", "<object><type levelObj=\"true\">Scenery</type><resources><mesh>mesh_level_box</mesh>"
                "<texture>tex_level_box</texture></resources><scale value=\"2\"/><position x=\"50\" y=\"60\" z=\"70\"/>"
                "<physics mass=\"10\" infMass=\"true\"/></object>"},
    {"LvGate", "<object><type levelObj=\"true\">SpawnPoint</type><position x=\"0\" y=\"0\" z=\"0\"/>"
               "<spawn delay=\"3\" dir=\"0,0,1\"/></object>"},
    {"LvBroken", "<object><type>Hollow</type><position x=\"0\" y=\"0\" z=\"0\"/><stats/></object>"},
    {"LvSentry", "<object><type>Enemy</type><resources><mesh>mesh_level_box</mesh><texture>tex_level_box</texture>"
                 "</resources><scale value=\"3\"/><position x=\"0\" y=\"0\" z=\"0\"/><physics mass=\"100\"/>"
                 "<stats><health>50</health><speed>1</speed><armor>1</armor><boost>0</boost><magic>0</magic></stats>"
                 "<collision><collisionGroup>1</collisionGroup><collidesWith>0</collidesWith></collision>"
                 "<behavior><state>heavy</state></behavior></object>"},
};

// One GameObject element.
inline std::string Obj(const std::string& name, const std::string& pattern, const std::string& flag = "t",
                       const std::string& trans = "1,2,3,0", const std::string& rot = "1,0,0,0") {
    return "<GameObject><string name=\"" + name + "\"/><string patternName=\"" + pattern +
           "\"/><string isLevelObject=\"" + flag + "\"/><trans v=\"" + trans + "\"/><Quaternion v=\"" + rot +
           "\"/></GameObject>\n";
}

const char* const kSquareGraph =
    "<NavGraph><GraphNode ID=\"1\" trans=\"0,0,0,0\" radius=\"2\"/><GraphNode ID=\"2\" trans=\"10,0,0,0\" radius=\"2\"/>"
    "<GraphNode ID=\"3\" trans=\"10,0,10,0\" radius=\"2\"/><BidirectionalEdge id1=\"1\" id2=\"2\"/>"
    "<BidirectionalEdge id1=\"2\" id2=\"3\"/><Edge startID=\"3\" endID=\"1\"/></NavGraph>\n";

inline std::string LevelText(const std::string& body, const std::string& nav = kSquareGraph) {
    return "<?xml version=\"1.0\" ?>\n<Level><string name=\"testland\"/>\n<GroundPlaneObject>"
           "<string meshHandle=\"mesh_level_ground\"/><string heightMapHandle=\"tex_level_height\"/>"
           "<string colorMapHandle=\"tex_level_color\"/><position v=\"-10,0.5,-20\"/><scale v=\"20,5,40,0\"/>"
           "</GroundPlaneObject>\n" + body + nav + "</Level>\n";
}

class LevelFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static test_support::TempFolder patterns;
        test_support::LoadPatternFiles(patterns, kPatterns);
    }
    void SetUp() override {
        Mesh box;
        box.verts = {Vertex(-1, 0, -1), Vertex(1, 0, -1), Vertex(1, 2, 1), Vertex(-1, 2, 1)};
        box.triangles = {Triangle(0, 1, 2), Triangle(2, 3, 0)};
        box.useColor = true;
        box.useTexture = false;
        Put("mesh_level_box", box);
        Put("mesh_level_ground", box);
        for (const char* map : {"tex_level_box", "tex_level_height", "tex_level_color"}) Put(map, Texture(4, 4, 4));
        ClearObjects();
    }
    void TearDown() override {
        level.ReleaseLevelData();
        ClearObjects();
    }
    template <class T>
    static void Put(const std::string& name, const T& value) {
        if (Store().IsStored(name)) Store().DeleteResource(name);
        ASSERT_EQ(Store().add(name, value), 0);
    }
    static bool Has(const std::string& name) {
        ObjectLock lock;
        return Objects().HasGameObject(name);
    }
    static size_t Count() {
        ObjectLock lock;
        return Objects().gameObjectList.size();
    }
    static void ClearObjects() {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    // Writes the text as a level file and gives its path.
    std::string File(const std::string& text, const std::string& name = "level.xml") {
        files.WriteFile(name, text);
        return files.Path() + "/" + name;
    }

    test_support::TempFolder files;
    Level level;
};

}  // namespace level_test
