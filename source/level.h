// Level: reads a level file (its name, ground plane, placed objects and
// navigation graph) into the current LevelData, turns each placed object into
// a registered, stamped GameObject, hands the ground plane to the
// ObjectManager and fills the behaviour module's navigation graph. The next
// load, or game flow at shutdown, releases it all again.
//
// Level files are untrusted: every missing or malformed part is logged and
// skipped (or read as empty); reading never throws and never crashes. Every
// message ends with a line break, so the log shows an empty line after each.
//
// Threads: LoadLevel runs on the level loader thread while the main thread
// keeps drawing. The object table is touched only under the object lock,
// which is taken around stamping, clearing and the ground hand-over, and never
// while AddGameObject runs (it takes the lock itself). The level data is
// filled without a lock; the navigation graph is filled apart and swapped
// into the behaviour module under the object lock. Never calls OpenGL.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "geom/geom.h"
#include "objects/ground_plane_object.h"
#include "module.h"

class NavGraph;
class TiXmlElement;

// One placed object as the file gives it. Only the name, the pattern name and
// the position are applied to the created object.
struct LevelObjectRecord {
    std::string name;
    std::string patternName;
    bool isLevelObject = false;
    Vector trans;    // (0, 0, 0, 0) until read
    Quaternion rot;  // all zero until read
};

struct LevelData {
    std::string name;
    GroundPlaneObject groundPlane;
    std::vector<LevelObjectRecord> objects;  // in file order
};

class Level : public virtual Singleton<Level> {
public:
    // Numbers after a pattern name above this are not believed: raising the
    // object counter that far would be a runaway loop for a typo.
    static constexpr unsigned kMaxNameNumber = 1000000;

    Level() = default;
    ~Level() override;

    // Reads the file, creates its objects and hands over the ground. False,
    // with "Error Loading Level", when the file could not be read as a level.
    bool LoadLevel(const std::string& path);
    // Reads the file into a new LevelData, releasing the old one (and every
    // game object) first; a file that cannot be parsed leaves all as it was.
    bool LoadFromXML(const std::string& path);
    // Clears every game object (under the object lock) and forgets the level
    // data; nothing when no level is held.
    void ReleaseLevelData();
    // Registers and stamps one placed object. False, with a logged message,
    // when its pattern is unknown or its name is taken (the object holding
    // the name is left alone).
    bool CreateObject(LevelObjectRecord record);
    // True, after "Invalid XML file, expected <tag> tag." and
    // ReleaseLevelData, when the element is missing; false when present.
    bool ExpectElement(const TiXmlElement* element, const std::string& tag);

    // The current level data, or null while no level is held.
    const LevelData* GetLevelData() const { return levelData.get(); }

private:
    std::unique_ptr<LevelData> levelData;
};

// Empties the graph, then fills it from root's first "NavGraph" child. A file
// without one logs "NavGraph not found in level file!" and leaves the graph
// empty. Nodes or edges with missing or malformed numbers are skipped with an
// error; the graph itself refuses id 0 and edges to unknown nodes.
void LoadNavGraph(NavGraph& graph, const TiXmlElement& root);

// atof of the text.
float StringToFloat(const std::string& text);
