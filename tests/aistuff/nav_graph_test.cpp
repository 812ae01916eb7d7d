// NavGraph: building (repeated edges merged), clearing, and A* on small graphs and grids.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "aistuff/nav_graph.h"
#include "support/log_capture.h"

namespace {

GraphNode Node(int id, float x, float y, float z) {
    GraphNode node;
    node.id = id;
    node.trans = Vector(x, y, z, 0.0f);
    return node;
}

// A side x side grid in the x-z plane, id = 1 + row * side + column. When
// `walled`, columns 1 and 2 join their right neighbour only on the last row.
void BuildGrid(NavGraph& graph, int side, bool walled = false) {
    for (int id = 1; id <= side * side; ++id) graph.AddNode(Node(id, (id - 1) % side, 0, (id - 1) / side));
    for (int id = 1; id <= side * side; ++id) {
        const int col = (id - 1) % side, row = (id - 1) / side;
        const bool wall = walled && (col == 1 || col == 2) && row < side - 1;
        if (col + 1 < side && !wall) graph.AddBidirectionalEdge(id, id + 1);
        if (row + 1 < side) graph.AddBidirectionalEdge(id, id + side);
    }
}

// The ids along the path; every step must follow an edge and name its predecessor.
std::vector<int> Search(NavGraph& graph, int from, int to, bool expectFound = true) {
    std::vector<GraphNode> path = {Node(99, 0, 0, 0)};  // stale content must go
    EXPECT_EQ(expectFound, graph.FindPath(graph.nodes.at(from), graph.nodes.at(to), path));
    std::vector<int> ids;
    for (size_t i = 0; i < path.size(); ++i) {
        ids.push_back(path[i].id);
        if (i == 0) continue;
        bool joined = false;
        for (const GraphEdge& edge : graph.nodes.at(path[i - 1].id).edges) joined |= edge.to == path[i].id;
        EXPECT_TRUE(joined) << "step " << i;
        EXPECT_EQ(path[i].parent, path[i - 1].id) << "step " << i;
    }
    return ids;
}

TEST(NavGraphBuild, EdgesJoinBothWaysBadNodesOrEdgesAreRefusedAndClearStartsAfresh) {
    NavGraph graph;
    test_support::LogCapture log;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 3, 0, 4));
    graph.AddNode(Node(2, 9, 9, 9));  // a second node 2 leaves the first
    graph.AddNode(Node(0, 0, 0, 0));
    graph.AddBidirectionalEdge(1, 2);
    graph.AddBidirectionalEdge(2, 1);  // the same pair again, either way round: merged
    graph.AddBidirectionalEdge(1, 2);
    graph.AddBidirectionalEdge(1, 42);
    graph.AddBidirectionalEdge(42, 1);
    ASSERT_EQ(graph.nodes.size(), 2u);
    EXPECT_FLOAT_EQ(graph.nodes.at(2).trans.x, 3.0f);
    EXPECT_TRUE(log.Has("node ID 0"));
    EXPECT_EQ(log.Count("names unknown node 42"), 2);
    ASSERT_EQ(graph.nodes.at(2).edges.size(), 1u);
    const GraphEdge& back = graph.nodes.at(2).edges[0];
    EXPECT_FLOAT_EQ(back.cost, 5.0f);
    EXPECT_FALSE(back.bidirectional) << "only the recorded pair is bidirectional";
    ASSERT_EQ(graph.edges.size(), 1u) << "recorded once";
    EXPECT_TRUE(graph.edges[0].bidirectional);
    Search(graph, 1, 2);
    graph.Clear();
    EXPECT_TRUE(graph.nodes.empty() && graph.edges.empty() && graph.openList.empty() && graph.visited.empty());
    EXPECT_EQ(graph.GetNearestNode(Vector(0, 0, 0)), 0);
    graph.AddNode(Node(1, 50, 0, 50));
    graph.AddNode(Node(2, 0, 0, 0));
    EXPECT_TRUE(graph.nodes.at(1).edges.empty());
    graph.AddBidirectionalEdge(1, 2);  // the pairs are forgotten too
    EXPECT_EQ(graph.edges.size(), 1u);
}

TEST(NavGraphSearch, StartEqualsGoalUnreachableAndTheNoNodeId) {
    NavGraph graph;
    BuildGrid(graph, 2);
    graph.AddNode(Node(5, 9, 0, 9));  // an island
    EXPECT_EQ(Search(graph, 3, 3), (std::vector<int>{3}));
    EXPECT_TRUE(Search(graph, 1, 5, false).empty());
    EXPECT_TRUE(Search(graph, 5, 1, false).empty());
    std::vector<GraphNode> path;
    EXPECT_FALSE(graph.FindPath(GraphNode(), graph.nodes.at(1), path)) << "the no-node id is never searched";
    EXPECT_FALSE(graph.FindPath(graph.nodes.at(1), GraphNode(), path));
}

TEST(NavGraphSearch, GridPathsAreShortestRepeatableAndGoRoundAWall) {
    NavGraph graph;
    BuildGrid(graph, 6);
    const std::vector<int> path = Search(graph, 1, 36);
    EXPECT_EQ(path.size(), 11u) << "shortest";
    EXPECT_EQ(path, Search(graph, 1, 36)) << "working storage must not leak between searches";
    NavGraph walled;
    BuildGrid(walled, 5, true);
    const std::vector<int> around = Search(walled, 11, 15);  // (0, 2) to (4, 2)
    EXPECT_EQ(around.back(), 15);
    EXPECT_NE(std::find(around.begin(), around.end(), 23), around.end()) << "through the only gap (2, 4)";
    for (const auto& entry : walled.nodes)  // the stored nodes keep their values
        EXPECT_TRUE(entry.second.f == 0.0f && entry.second.g == 0.0f && entry.second.parent == 0) << entry.first;
}

TEST(NavGraphSearch, WeightsCountAndForeignEdgesOnTheStartAreSafe) {
    NavGraph graph;
    graph.AddNode(Node(1, 0, 0, 0));
    graph.AddNode(Node(2, 1.5f, 0, 1.0f));
    graph.AddNode(Node(3, 3, 0, 0));
    graph.AddBidirectionalEdge(1, 2);
    graph.AddBidirectionalEdge(2, 3);
    graph.nodes.at(1).edges.emplace_back(1, 3, false, false, 10.0f, 3.0f);  // direct but weight 10
    EXPECT_EQ(Search(graph, 1, 3), (std::vector<int>{1, 2, 3}));
    GraphNode start = graph.nodes.at(1);
    start.edges.emplace_back(1, 77, false, false, 1.0f, 0.1f);
    std::vector<GraphNode> path;
    ASSERT_TRUE(graph.FindPath(start, graph.nodes.at(2), path));
    EXPECT_EQ(path.size(), 2u);
    EXPECT_TRUE(graph.nodes.find(77) == graph.nodes.end());
}

}  // namespace
