// Reading level files: the level name and ground plane, the "t" flag, the run
// rule for GameObject elements, vector and quaternion texts, the navigation
// graph (and its absence), and broken files, which must leave a clear message
// and a sound state behind.
#include "world/level_fixture.h"

namespace level_test {
namespace {

using test_support::LogCapture;

TEST_F(LevelFiles, ReadsTheGroundAndRecordsWithTheirFlagsVectorsAndQuaternions) {
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(Obj("a", "LvCrate", "t", "1,2,3", "1,0,0,0") +
                                                 Obj("b", "LvGate", "true", "4,5,6,7", "0.5,0.1,0.2,0.3") +
                                                 Obj("c", "LvCrate", "T") + Obj("d", "LvCrate", "1")))));
    const LevelData& data = *level.GetLevelData();
    const GroundPlaneObject& ground = data.groundPlane;
    EXPECT_TRUE(data.name == "testland" && ground.colorMapHandle.GetID() == "tex_level_color");
    EXPECT_TRUE(ground.pos.y == 0.5f && ground.pos.w == 0.0f && ground.scale.z == 40.0f);  // three numbers: w stays 0
    ASSERT_EQ(data.objects.size(), 4u);
    EXPECT_TRUE(data.objects[0].patternName == "LvCrate" && data.objects[0].trans.z == 3.0f);
    const LevelObjectRecord& b = data.objects[1];  // s first, then x, y, z of the vector part
    EXPECT_TRUE(b.trans.w == 7.0f && b.rot.s == 0.5f && b.rot.v.x == 0.1f && b.rot.v.z == 0.3f && b.rot.v.w == 0.0f);
    // Only a lower-case "t" marks a level object.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(data.objects[i].isLevelObject, i == 0) << i;
}

TEST_F(LevelFiles, TheObjectRunEndsAtTheFirstOtherElementAndBadRecordsAreSkipped) {
    const std::string nameless = "<GameObject><string/><string patternName=\"LvCrate\"/><trans v=\"1,1,1\"/></GameObject>";
    const std::string unplaced = "<GameObject><string name=\"floaty\"/><string patternName=\"LvCrate\"/></GameObject>";
    const std::string minimal = "<GameObject><string name=\"bare\"/><string patternName=\"LvCrate\"/>"
                                "<trans v=\"9\"/></GameObject>";
    LogCapture log;
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(nameless + unplaced + minimal + kSquareGraph + Obj("late", "LvCrate"), ""))));
    const auto& records = level.GetLevelData()->objects;
    ASSERT_EQ(records.size(), 1u);
    // No third string, numbers not there are 0, no Quaternion element.
    EXPECT_TRUE(records[0].name == "bare" && !records[0].isLevelObject && records[0].trans.y == 0.0f &&
                records[0].rot.s == 0.0f);
    EXPECT_TRUE(log.Has("lacks its name or pattern name; skipped") && log.Has("(floaty) lacks <trans"));
}

TEST_F(LevelFiles, TheNavGraphIsRebuiltFromTheFileAndBadEntriesAreRefused) {
    GraphNode stale;
    stale.id = 99;
    Graph().AddNode(stale);
    ASSERT_TRUE(level.LoadFromXML(File(LevelText(""))));
    EXPECT_TRUE(Graph().nodes.size() == 3u && Graph().nodes.count(99) == 0u && Graph().nodes.at(2).trans.x == 10.0f);
    EXPECT_EQ(Graph().edges.size(), 2u);  // the one-way Edge joins nothing
    std::vector<GraphNode> path;
    EXPECT_TRUE(Graph().FindPath(Graph().nodes.at(1), Graph().nodes.at(3), path) && path.size() == 3u);

    const std::string nav =
        "<NavGraph><GraphNode ID=\"1\" trans=\"0,0,0\" radius=\"1\"/><GraphNode ID=\"two\" trans=\"1,0,0\" radius=\"1\"/>"
        "<GraphNode ID=\"99999999999\" trans=\"1,0,0\" radius=\"1\"/><GraphNode ID=\"3\" radius=\"1\"/>"
        "<GraphNode ID=\"4\" trans=\"5,0,0\" radius=\"1\"/><BidirectionalEdge id1=\"1\" id2=\"7\"/>"
        "<BidirectionalEdge id1=\"1\"/><BidirectionalEdge id1=\"1\" id2=\"4\"/><Waypoint ID=\"8\"/></NavGraph>";
    LogCapture log;
    ASSERT_TRUE(level.LoadFromXML(File(LevelText("", nav))));
    EXPECT_TRUE(Graph().nodes.size() == 2u && Graph().edges.size() == 1u && log.Has("names unknown node 7"));
    EXPECT_EQ(log.Count("<GraphNode> needs a whole-number \"ID\""), 3);
    EXPECT_EQ(log.Count("<BidirectionalEdge> needs whole-number"), 1);

    // No graph at all: an error, an empty graph, and the objects still load.
    log.Restart();
    EXPECT_TRUE(level.LoadFromXML(File(LevelText(Obj("x1", "LvCrate"), ""))));
    EXPECT_TRUE(log.Has("ERROR: ") && log.Has("NavGraph not found in level file!\n"));
    EXPECT_TRUE(Graph().nodes.empty() && Graph().edges.empty() && level.GetLevelData()->objects.size() == 1u);
}

// One edge listed 20,000 times (an 820 KB level) is joined once; the search
// used to copy a node with every copy of the edge once per copy.
TEST_F(LevelFiles, AnEdgeListedManyTimesJoinsItsNodesOnce) {
    std::string nav = "<NavGraph><GraphNode ID=\"1\" trans=\"0,0,0\" radius=\"5\"/>"
                      "<GraphNode ID=\"2\" trans=\"10,0,0\" radius=\"5\"/><GraphNode ID=\"3\" trans=\"20,0,0\" radius=\"5\"/>";
    for (int i = 0; i < 20000; ++i) nav += "<BidirectionalEdge id1=\"1\" id2=\"2\"/>";
    ASSERT_TRUE(level.LoadFromXML(File(LevelText("", nav + "</NavGraph>"))));
    EXPECT_TRUE(Graph().nodes.at(1).edges.size() == 1u && Graph().nodes.at(2).edges.size() == 1u);
    EXPECT_EQ(Graph().edges.size(), 1u);
    std::vector<GraphNode> path;
    EXPECT_TRUE(Graph().FindPath(Graph().nodes.at(2), Graph().nodes.at(1), path) && path.size() == 2u);
    EXPECT_FALSE(Graph().FindPath(Graph().nodes.at(1), Graph().nodes.at(3), path));
}

TEST_F(LevelFiles, BrokenFilesAreReportedAndLeaveASoundState) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("keep1", "LvCrate")))));
    LogCapture log;
    EXPECT_FALSE(level.LoadLevel(File("<Level><string name=\"x\"></Level", "broken.xml")));
    EXPECT_TRUE(test_support::InOrder(log.Text(), {"LoadFromXML: Error loading XML file\n", "doc.ErrorDesc() = ",
                                                   "Error Loading Level\n"})) << log.Text();
    EXPECT_TRUE(level.GetLevelData() && Has("keep1")) << "the current level stays";

    // Nesting deep enough to exhaust the parser's stack is refused unparsed.
    log.Restart();
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    EXPECT_FALSE(level.LoadLevel(File("<Level>" + deep + "</Level>", "deep.xml")));
    EXPECT_TRUE(log.Has("deep.xml: line 1: elements nested deeper than") && Has("keep1"));

    log.Restart();
    EXPECT_FALSE(level.LoadLevel("") || level.LoadLevel(files.Path() + "/nowhere.xml"));
    EXPECT_TRUE(log.Has("No filepath given\n"));
    EXPECT_EQ(log.Count("Error Loading Level"), 1) << "an empty path is refused before reading";

    // Another root releases the level and every object.
    EXPECT_FALSE(level.LoadFromXML(File("<Levels><string name=\"x\"/></Levels>", "levels.xml")));
    EXPECT_TRUE(log.Has("LOADFROMXML: XML File is not a level file\n") && !level.GetLevelData() && Count() == 0u);
    EXPECT_FALSE(level.LoadFromXML(File("<Level><string name=\"flat\"/>" + Obj("a", "LvCrate") + "</Level>", "g.xml")));
    EXPECT_TRUE(log.Has("Invalid XML file, expected GroundPlaneObject tag.\n"));

    // A ground without its parts is reported and reads as empty.
    ASSERT_TRUE(level.LoadFromXML(File("<Level><string name=\"bare\"/><GroundPlaneObject><string meshHandle=\"m\"/>"
                                       "</GroundPlaneObject></Level>")));
    const GroundPlaneObject& ground = level.GetLevelData()->groundPlane;
    EXPECT_TRUE(ground.meshHandle.GetID() == "m" && ground.heightMapHandle.GetID().empty() && ground.scale.x == 0.0f);
    EXPECT_TRUE(log.Has("lacks the string \"colorMapHandle\"") && log.Has("lacks <scale"));
}

}  // namespace
}  // namespace level_test
