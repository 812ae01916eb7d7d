// A* on the navigation graph: one corner-to-corner search over a square grid
// of nodes joined to their four neighbours, the most a level's enemy asks for
// in one frame. Reports searches per second for several grid sizes.
#include <benchmark/benchmark.h>

#include <vector>

#include "aistuff/nav_graph.h"

namespace {

void BuildGrid(NavGraph& graph, int side) {
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            GraphNode node;
            node.id = 1 + row * side + col;
            node.trans = Vector(float(col) * 10.0f, 0.0f, float(row) * 10.0f);
            graph.AddNode(node);
        }
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            int id = 1 + row * side + col;
            if (col + 1 < side) graph.AddBidirectionalEdge(id, id + 1);
            if (row + 1 < side) graph.AddBidirectionalEdge(id, id + side);
        }
}

void BM_FindPathAcrossGrid(benchmark::State& state) {
    const int side = int(state.range(0));
    NavGraph graph;
    BuildGrid(graph, side);
    const GraphNode start = graph.nodes.at(1);
    const GraphNode goal = graph.nodes.at(side * side);
    std::vector<GraphNode> path;
    for (auto _ : state) {
        bool found = graph.FindPath(start, goal, path);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["path_nodes"] = double(path.size());
}

}  // namespace

BENCHMARK(BM_FindPathAcrossGrid)->Arg(8)->Arg(16)->Arg(32);
BENCHMARK_MAIN();
