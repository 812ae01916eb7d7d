// Reading level files: the level name and ground plane, the "t" flag, the run
// rule for GameObject elements, vector and quaternion texts, the navigation
// graph (and its absence), and broken files, which must leave a clear message
// and a sound state behind.
#include "world/level_fixture.h"

namespace level_test {
namespace {

using test_support::LogCapture;

TEST_F(LevelFiles, ReadsTheNameGroundPlaneAndRecordsInFileOrder) {
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(Obj("LvCrate1", "LvCrate", "t", "1,2,3", "1,0,0,0") +
                                                 Obj("LvGate2", "LvGate", "f", "4,5,6,7", "0.5,0.1,0.2,0.3")))));
    const LevelData& data = *level.GetLevelData();
    EXPECT_EQ(data.name, "testland");
    EXPECT_EQ(data.groundPlane.meshHandle.GetID(), "mesh_level_ground");
    EXPECT_EQ(data.groundPlane.heightMapHandle.GetID(), "tex_level_height");
    EXPECT_EQ(data.groundPlane.colorMapHandle.GetID(), "tex_level_color");
    EXPECT_FLOAT_EQ(data.groundPlane.pos.y, 0.5f);
    EXPECT_FLOAT_EQ(data.groundPlane.pos.w, 0.0f);  // three numbers: w stays 0
    EXPECT_FLOAT_EQ(data.groundPlane.scale.z, 40.0f);

    ASSERT_EQ(data.objects.size(), 2u);
    const LevelObjectRecord& crate = data.objects[0];
    EXPECT_EQ(crate.name, "LvCrate1");
    EXPECT_EQ(crate.patternName, "LvCrate");
    EXPECT_TRUE(crate.isLevelObject);
    EXPECT_FLOAT_EQ(crate.trans.z, 3.0f);
    EXPECT_FLOAT_EQ(crate.trans.w, 0.0f);
    EXPECT_FLOAT_EQ(crate.rot.s, 1.0f);
    EXPECT_FLOAT_EQ(crate.rot.v.x + crate.rot.v.y + crate.rot.v.z + crate.rot.v.w, 0.0f);

    const LevelObjectRecord& gate = data.objects[1];
    EXPECT_FALSE(gate.isLevelObject);
    EXPECT_FLOAT_EQ(gate.trans.w, 7.0f);
    EXPECT_FLOAT_EQ(gate.rot.s, 0.5f);  // s first, then x, y, z of the vector part
    EXPECT_FLOAT_EQ(gate.rot.v.x, 0.1f);
    EXPECT_FLOAT_EQ(gate.rot.v.z, 0.3f);
    EXPECT_FLOAT_EQ(gate.rot.v.w, 0.0f);
}

TEST_F(LevelFiles, OnlyALowerCaseTMarksALevelObject) {
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(Obj("a", "LvCrate", "t") + Obj("b", "LvCrate", "true") +
                                                 Obj("c", "LvCrate", "T") + Obj("d", "LvCrate", "1")))));
    const auto& records = level.GetLevelData()->objects;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(records[0].isLevelObject);
    EXPECT_FALSE(records[1].isLevelObject);
    EXPECT_FALSE(records[2].isLevelObject);
    EXPECT_FALSE(records[3].isLevelObject);
}

TEST_F(LevelFiles, TheObjectRunEndsAtTheFirstOtherElement) {
    const std::string body = Obj("first", "LvCrate") + Obj("second", "LvCrate") + kSquareGraph +
                             Obj("late", "LvCrate");
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(body, ""))));
    const auto& records = level.GetLevelData()->objects;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].name, "second");

    ASSERT_TRUE(level.LoadFromXML(File(LevelText(""))));
    EXPECT_TRUE(level.GetLevelData()->objects.empty());
}

TEST_F(LevelFiles, RecordsMissingTheirNamesOrPositionAreSkippedWithAnError) {
    const std::string nameless = "  <GameObject><string/><string patternName=\"LvCrate\"/>"
                                 "<trans v=\"1,1,1\"/></GameObject>\n";
    const std::string unplaced = "  <GameObject><string name=\"floaty\"/><string patternName=\"LvCrate\"/>"
                                 "</GameObject>\n";
    const std::string minimal = "  <GameObject><string name=\"bare\"/><string patternName=\"LvCrate\"/>"
                                "<trans v=\"9\"/></GameObject>\n";
    LogCapture log;
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(nameless + unplaced + minimal))));
    const auto& records = level.GetLevelData()->objects;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, "bare");
    EXPECT_FALSE(records[0].isLevelObject);       // no third string
    EXPECT_FLOAT_EQ(records[0].trans.x, 9.0f);
    EXPECT_FLOAT_EQ(records[0].trans.y, 0.0f);    // numbers not there are 0
    EXPECT_FLOAT_EQ(records[0].rot.s, 0.0f);      // no Quaternion element
    EXPECT_TRUE(log.Has("lacks its name or pattern name; skipped"));
    EXPECT_TRUE(log.Has("(floaty) lacks <trans"));
}

TEST_F(LevelFiles, TheNavGraphIsRebuiltFromTheFile) {
    GraphNode stale;
    stale.id = 99;
    Graph().AddNode(stale);
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(""))));
    EXPECT_EQ(Graph().nodes.size(), 3u);
    EXPECT_EQ(Graph().nodes.count(99), 0u);
    EXPECT_EQ(Graph().edges.size(), 2u);  // the one-way Edge joins nothing
    EXPECT_EQ(Graph().nodes.at(3).edges.size(), 1u);
    EXPECT_FLOAT_EQ(Graph().nodes.at(2).trans.x, 10.0f);
    EXPECT_FLOAT_EQ(Graph().nodes.at(2).radius, 2.0f);
    std::vector<GraphNode> path;
    EXPECT_TRUE(Graph().FindPath(Graph().nodes.at(1), Graph().nodes.at(3), path));
    EXPECT_EQ(path.size(), 3u);
}

TEST_F(LevelFiles, BadGraphEntriesAreRefusedWithAMessage) {
    const std::string nav = R"(  <NavGraph>
    <GraphNode ID="1" trans="0,0,0" radius="1"/>
    <GraphNode ID="two" trans="1,0,0" radius="1"/>
    <GraphNode ID="99999999999" trans="1,0,0" radius="1"/>
    <GraphNode ID="3" radius="1"/>
    <GraphNode ID="4" trans="5,0,0" radius="1"/>
    <BidirectionalEdge id1="1" id2="7"/>
    <BidirectionalEdge id1="1"/>
    <BidirectionalEdge id1="1" id2="4"/>
    <Waypoint ID="8"/>
  </NavGraph>
)";
    LogCapture log;
    ASSERT_TRUE(level.LoadFromXML(File(LevelText("", nav))));
    EXPECT_EQ(Graph().nodes.size(), 2u);
    EXPECT_EQ(Graph().edges.size(), 1u);
    EXPECT_EQ(log.Count("<GraphNode> needs a whole-number \"ID\""), 3);
    EXPECT_EQ(log.Count("<BidirectionalEdge> needs whole-number"), 1);
    EXPECT_TRUE(log.Has("names unknown node 7"));
}

TEST_F(LevelFiles, AFileWithoutANavGraphLoadsWithAnEmptyGraphAndAnError) {
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(""))));
    ASSERT_FALSE(Graph().nodes.empty());
    LogCapture log;
    EXPECT_TRUE(level.LoadFromXML(File(LevelText(Obj("x1", "LvCrate"), ""))));
    EXPECT_TRUE(log.Has("ERROR: "));
    EXPECT_TRUE(log.Has("NavGraph not found in level file!\n"));
    EXPECT_TRUE(Graph().nodes.empty());
    EXPECT_TRUE(Graph().edges.empty());
    EXPECT_EQ(level.GetLevelData()->objects.size(), 1u);
}

TEST_F(LevelFiles, AnUnparsableFileIsReportedAndLeavesTheCurrentLevelAlone) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("keep1", "LvCrate")))));
    LogCapture log;
    EXPECT_FALSE(level.LoadLevel(File("<Level><string name=\"x\"></Level", "broken.xml")));
    EXPECT_TRUE(log.Has("LoadFromXML: Error loading XML file\n"));
    EXPECT_TRUE(log.Has("doc.ErrorDesc() = "));
    EXPECT_TRUE(log.Has("Error Loading Level\n"));
    ASSERT_NE(level.GetLevelData(), nullptr);
    EXPECT_EQ(level.GetLevelData()->name, "testland");
    ObjectLock lock;
    EXPECT_TRUE(Objects().HasGameObject("keep1"));
}

TEST_F(LevelFiles, AMissingFileOrPathIsRefused) {
    LogCapture log;
    EXPECT_FALSE(level.LoadLevel(""));
    EXPECT_TRUE(log.Has("No filepath given\n"));
    EXPECT_FALSE(log.Has("Error Loading Level"));  // refused before reading
    EXPECT_FALSE(level.LoadLevel(files.Path() + "/nowhere.xml"));
    EXPECT_TRUE(log.Has("LoadFromXML: Error loading XML file"));
}

TEST_F(LevelFiles, AnotherRootReleasesTheLevelAndEveryObject) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("gone1", "LvCrate")))));
    LogCapture log;
    EXPECT_FALSE(level.LoadFromXML(File("<Levels><string name=\"x\"/></Levels>", "levels.xml")));
    EXPECT_TRUE(log.Has("LOADFROMXML: XML File is not a level file\n"));
    EXPECT_EQ(level.GetLevelData(), nullptr);
    ObjectLock lock;
    EXPECT_TRUE(Objects().gameObjectList.empty());
}

TEST_F(LevelFiles, MissingRootOrGroundIsAnInvalidFile) {
    LogCapture log;
    EXPECT_FALSE(level.LoadFromXML(File("<?xml version=\"1.0\" ?>\n<!-- nothing -->\n", "empty.xml")));
    EXPECT_TRUE(log.Has("LoadFromXML: Error loading XML file") ||
                log.Has("Invalid XML file, expected Level tag.\n"));

    const std::string groundless = "<Level><string name=\"flat\"/>" + Obj("a", "LvCrate") + "</Level>";
    EXPECT_FALSE(level.LoadFromXML(File(groundless, "groundless.xml")));
    EXPECT_TRUE(log.Has("Invalid XML file, expected GroundPlaneObject tag.\n"));
    EXPECT_EQ(level.GetLevelData(), nullptr);
}

TEST_F(LevelFiles, AGroundWithoutItsPartsIsReportedAndReadsAsEmpty) {
    const std::string text = "<Level><string name=\"bare\"/><GroundPlaneObject><string meshHandle=\"m\"/>"
                             "</GroundPlaneObject></Level>";
    LogCapture log;
    ASSERT_TRUE(level.LoadFromXML(File(text)));
    const GroundPlaneObject& ground = level.GetLevelData()->groundPlane;
    EXPECT_EQ(ground.meshHandle.GetID(), "m");
    EXPECT_TRUE(ground.heightMapHandle.GetID().empty());
    EXPECT_FLOAT_EQ(ground.scale.x, 0.0f);
    EXPECT_TRUE(log.Has("lacks the string \"colorMapHandle\""));
    EXPECT_TRUE(log.Has("lacks <scale"));
}

}  // namespace
}  // namespace level_test
