// NavGraph: building the graph (edges both ways, refused nodes and edges,
// Clear), the nearest-node query and the heuristic, and A* paths on small
// graphs and a grid.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "aistuff/nav_graph.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

GraphNode Node(int id, float x, float y, float z, float radius = 1.0f) {
    GraphNode node;
    node.id = id;
    node.trans = Vector(x, y, z, 0.0f);
    node.radius = radius;
    return node;
}

std::vector<int> Ids(const std::vector<GraphNode>& path) {
    std::vector<int> ids;
    for (const GraphNode& node : path) ids.push_back(node.id);
    return ids;
}

// Path cost summed over its steps.
float Length(const std::vector<GraphNode>& path) {
    float total = 0.0f;
    for (size_t i = 1; i < path.size(); ++i) total += (path[i].trans - path[i - 1].trans).Mag();
    return total;
}

// A side x side grid in the x-z plane, one unit apart, joined to its four
// neighbours; node id = 1 + row * side + column.
void BuildGrid(NavGraph& graph, int side) {
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col)
            graph.AddNode(Node(1 + row * side + col, float(col), 0.0f, float(row)));
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            int id = 1 + row * side + col;
            if (col + 1 < side) graph.AddBidirectionalEdge(id, id + 1);
            if (row + 1 < side) graph.AddBidirectionalEdge(id, id + side);
        }
}

// True when the graph holds an edge from a to b.
bool Joined(const NavGraph& graph, int a, int b) {
    for (const GraphEdge& edge : graph.nodes.at(a).edges)
        if (edge.to == b) return true;
    return false;
}

// Every step of the path follows an edge and names its predecessor.
void ExpectWalkable(const NavGraph& graph, const std::vector<GraphNode>& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        EXPECT_TRUE(Joined(graph, path[i - 1].id, path[i].id)) << "step " << i;
        EXPECT_EQ(path[i].parent, path[i - 1].id) << "step " << i;
    }
}

bool Search(NavGraph& graph, int from, int to, std::vector<GraphNode>& path) {
    return graph.FindPath(graph.nodes.at(from), graph.nodes.at(to), path);
}

TEST(NavGraphBuild, AnEdgeJoinsBothNodesAndIsRecordedOnce) {
    NavGraph graph;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 3, 0, 4));
    graph.AddBidirectionalEdge(1, 2);

    ASSERT_EQ(graph.nodes.at(1).edges.size(), 1u);
    ASSERT_EQ(graph.nodes.at(2).edges.size(), 1u);
    const GraphEdge& forward = graph.nodes.at(1).edges[0];
    const GraphEdge& back = graph.nodes.at(2).edges[0];
    EXPECT_EQ(forward.from, 1);
    EXPECT_EQ(forward.to, 2);
    EXPECT_EQ(back.from, 2);
    EXPECT_EQ(back.to, 1);
    EXPECT_FLOAT_EQ(forward.cost, 5.0f);
    EXPECT_FLOAT_EQ(back.cost, 5.0f);
    EXPECT_FALSE(forward.bidirectional);
    EXPECT_FALSE(back.bidirectional);
    EXPECT_FLOAT_EQ(forward.weight, 1.0f);

    ASSERT_EQ(graph.edges.size(), 1u);
    EXPECT_TRUE(graph.edges[0].bidirectional);
    EXPECT_EQ(graph.edges[0].from, 1);
    EXPECT_EQ(graph.edges[0].to, 2);

    std::vector<GraphNode> path;
    ASSERT_TRUE(Search(graph, 1, 2, path));
    EXPECT_EQ(Ids(path), (std::vector<int>{1, 2}));
    ASSERT_TRUE(Search(graph, 2, 1, path));
    EXPECT_EQ(Ids(path), (std::vector<int>{2, 1}));
}

TEST(NavGraphBuild, EdgeCostCountsAllFourComponents) {
    NavGraph graph;
    GraphNode a = Node(1, 0, 0, 0);
    GraphNode b = Node(2, 0, 0, 0);
    b.trans.w = 2.0f;
    graph.AddNode(a);
    graph.AddNode(b);
    graph.AddBidirectionalEdge(1, 2);
    EXPECT_FLOAT_EQ(graph.edges[0].cost, 2.0f);
}

TEST(NavGraphBuild, ASecondNodeWithTheSameIdLeavesTheFirst) {
    NavGraph graph;
    graph.AddNode(Node(7, 1, 2, 3, 0.5f));
    graph.AddNode(Node(7, 9, 9, 9, 4.0f));
    ASSERT_EQ(graph.nodes.size(), 1u);
    EXPECT_FLOAT_EQ(graph.nodes.at(7).trans.x, 1.0f);
    EXPECT_FLOAT_EQ(graph.nodes.at(7).radius, 0.5f);
}

TEST(NavGraphBuild, NodeZeroAndEdgesToUnknownNodesAreRefusedWithAMessage) {
    NavGraph graph;
    LogCapture log;
    graph.AddNode(Node(0, 0, 0, 0));
    EXPECT_TRUE(graph.nodes.empty());
    EXPECT_TRUE(log.Has("node ID 0"));

    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddBidirectionalEdge(1, 42);
    graph.AddBidirectionalEdge(42, 1);
    EXPECT_TRUE(graph.nodes.at(1).edges.empty());
    EXPECT_TRUE(graph.edges.empty());
    EXPECT_TRUE(graph.nodes.find(42) == graph.nodes.end()) << "no node may be made up for the edge";
    EXPECT_EQ(log.Count("names unknown node 42"), 2);
}

TEST(NavGraphBuild, ClearEmptiesTheGraphSoALevelStartsAfresh) {
    NavGraph graph;
    BuildGrid(graph, 3);
    std::vector<GraphNode> path;
    ASSERT_TRUE(Search(graph, 1, 9, path));

    graph.Clear();
    EXPECT_TRUE(graph.nodes.empty());
    EXPECT_TRUE(graph.edges.empty());
    EXPECT_TRUE(graph.openList.empty());
    EXPECT_TRUE(graph.visited.empty());
    EXPECT_EQ(graph.GetNearestNode(Vector(0, 0, 0)), 0);

    // The next level's node 1 is its own, with none of the old edges.
    graph.AddNode(Node(1, 50, 0, 50));
    EXPECT_FLOAT_EQ(graph.nodes.at(1).trans.x, 50.0f);
    EXPECT_TRUE(graph.nodes.at(1).edges.empty());
}

TEST(NavGraphQueries, NearestNodeUsesHeightAndAnEmptyGraphGivesZero) {
    NavGraph graph;
    EXPECT_EQ(graph.GetNearestNode(Vector(1, 2, 3)), 0);

    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 0, 10, 1));  // nearer in x-z, far in y
    graph.AddNode(Node(3, 5, 0, 5));
    EXPECT_EQ(graph.GetNearestNode(Vector(0, 0, 0.9f)), 1);
    EXPECT_EQ(graph.GetNearestNode(Vector(0, 9, 1)), 2);
    EXPECT_EQ(graph.GetNearestNode(Vector(4, 0, 4, 100.0f)), 3) << "w plays no part";
}

TEST(NavGraphQueries, HeuristicIsTheLargerGroundDistanceTimesRootTwo) {
    EXPECT_FLOAT_EQ(NavGraph::Heuristic(Vector(0, 0, 0), Vector(3, 100, 4)), 1.414213562f * 4.0f);
    EXPECT_FLOAT_EQ(NavGraph::Heuristic(Vector(-6, 0, 1), Vector(0, 0, 0)), 1.414213562f * 6.0f);
    EXPECT_FLOAT_EQ(NavGraph::Heuristic(Vector(2, 0, 2), Vector(2, -5, 2)), 0.0f);
}

TEST(NavGraphSearch, StartEqualToGoalIsAOneNodePath) {
    NavGraph graph;
    BuildGrid(graph, 2);
    std::vector<GraphNode> path;
    ASSERT_TRUE(Search(graph, 3, 3, path));
    ASSERT_EQ(Ids(path), (std::vector<int>{3}));
    EXPECT_EQ(path[0].parent, 0);
}

TEST(NavGraphSearch, AnUnreachableGoalGivesFalseAndAnEmptyPath) {
    NavGraph graph;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 1, 0, 0));
    graph.AddNode(Node(3, 5, 0, 0));  // an island
    graph.AddBidirectionalEdge(1, 2);

    std::vector<GraphNode> path = {Node(99, 0, 0, 0)};  // stale content must go
    EXPECT_FALSE(Search(graph, 1, 3, path));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(Search(graph, 3, 1, path));
    EXPECT_TRUE(path.empty());
}

TEST(NavGraphSearch, TheNoNodeIdIsNeverSearched) {
    NavGraph graph;
    BuildGrid(graph, 2);
    std::vector<GraphNode> path;
    EXPECT_FALSE(graph.FindPath(GraphNode(), graph.nodes.at(1), path));
    EXPECT_FALSE(graph.FindPath(graph.nodes.at(1), GraphNode(), path));
    EXPECT_TRUE(path.empty());
}

TEST(NavGraphSearch, AGridPathIsShortestAndStepsBetweenNeighbours) {
    NavGraph graph;
    const int side = 6;
    BuildGrid(graph, side);
    std::vector<GraphNode> path;
    const int corner = side * side;
    ASSERT_TRUE(Search(graph, 1, corner, path));
    EXPECT_EQ(path.front().id, 1);
    EXPECT_EQ(path.back().id, corner);
    EXPECT_EQ(path.size(), size_t(2 * (side - 1) + 1));
    EXPECT_FLOAT_EQ(Length(path), float(2 * (side - 1)));
    ExpectWalkable(graph, path);
    EXPECT_FLOAT_EQ(path.back().g, float(2 * (side - 1)));
}

TEST(NavGraphSearch, ARouteAroundAWallIsFoundAndTheStoredNodesKeepTheirValues) {
    // 5x5 grid with the middle column cut except at the top row: the path
    // from the left middle to the right middle must go round through row 4.
    NavGraph graph;
    const int side = 5;
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) graph.AddNode(Node(1 + row * side + col, float(col), 0, float(row)));
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            int id = 1 + row * side + col;
            bool wall = (col == 1 || col == 2) && row < side - 1;
            if (col + 1 < side && !wall) graph.AddBidirectionalEdge(id, id + 1);
            if (row + 1 < side) graph.AddBidirectionalEdge(id, id + side);
        }
    const int start = 1 + 2 * side;    // (0, 2)
    const int goal = 1 + 2 * side + 4;  // (4, 2)
    std::vector<GraphNode> path;
    ASSERT_TRUE(Search(graph, start, goal, path));
    ExpectWalkable(graph, path);
    EXPECT_EQ(path.front().id, start);
    EXPECT_EQ(path.back().id, goal);
    bool usesTopRow = false;
    for (const GraphNode& node : path) usesTopRow |= (node.trans.z == 4.0f && node.trans.x == 2.0f);
    EXPECT_TRUE(usesTopRow);

    for (const auto& entry : graph.nodes) {
        EXPECT_EQ(entry.second.f, 0.0f);
        EXPECT_EQ(entry.second.g, 0.0f);
        EXPECT_EQ(entry.second.parent, 0);
    }
}

TEST(NavGraphSearch, AShortCheapDetourBeatsADirectHeavyEdge) {
    // 1 -> 3 directly costs 10; 1 -> 2 -> 3 costs about 2 + 2.
    NavGraph graph;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 1.5f, 0, 1.0f));
    graph.AddNode(Node(3, 3, 0, 0));
    graph.AddBidirectionalEdge(1, 2);
    graph.AddBidirectionalEdge(2, 3);
    graph.nodes.at(1).edges.emplace_back(1, 3, false, false, 10.0f, 3.0f);  // weight 10
    std::vector<GraphNode> path;
    ASSERT_TRUE(Search(graph, 1, 3, path));
    EXPECT_EQ(Ids(path), (std::vector<int>{1, 2, 3}));
}

TEST(NavGraphSearch, AStartRecordWithEdgesTheGraphNeverSawIsSafe) {
    NavGraph graph;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 1, 0, 0));
    graph.AddBidirectionalEdge(1, 2);
    GraphNode start = graph.nodes.at(1);
    start.edges.emplace_back(1, 77, false, false, 1.0f, 0.1f);
    std::vector<GraphNode> path;
    ASSERT_TRUE(graph.FindPath(start, graph.nodes.at(2), path));
    EXPECT_EQ(Ids(path), (std::vector<int>{1, 2}));
    EXPECT_TRUE(graph.nodes.find(77) == graph.nodes.end());
}

TEST(NavGraphSearch, SearchesCanBeRepeatedOnTheSameGraph) {
    NavGraph graph;
    BuildGrid(graph, 4);
    std::vector<GraphNode> first, second;
    ASSERT_TRUE(Search(graph, 1, 16, first));
    ASSERT_TRUE(Search(graph, 16, 1, second));
    EXPECT_EQ(first.size(), second.size());
    EXPECT_EQ(second.front().id, 16);
    EXPECT_EQ(second.back().id, 1);
    ASSERT_TRUE(Search(graph, 1, 16, second));
    EXPECT_EQ(Ids(first), Ids(second)) << "working storage must not leak between searches";
}

}  // namespace
