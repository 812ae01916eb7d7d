// The records of the navigation graph: GraphNode (one node, also the element
// of every planned path), GraphEdge (one edge leaving a node) and
// SearchRecord (a node as the route search holds it). Plain values; the graph
// that holds them and searches them is NavGraph.
#pragma once

#include <vector>

#include "geom/geom.h"

struct GraphEdge {
    GraphEdge() = default;
    GraphEdge(int from, int to, bool flag, bool bidirectional, float weight, float cost)
        : from(from), to(to), flag(flag), bidirectional(bidirectional), weight(weight), cost(cost) {}

    int from = 0;
    int to = 0;
    bool flag = false;
    bool bidirectional = false;  // set only in the graph-wide list of edges
    float weight = 1.0f;         // the search multiplies cost by it
    float cost = 0.0f;           // distance between the two nodes
};

struct GraphNode {
    int id = 0;  // 0 stands for no node
    bool active = true;
    Vector trans;
    float radius = 0.0f;  // arrival distance
    float f = 0.0f;       // search total, g + h
    float g = 0.0f;       // search cost from the start
    float h = 0.0f;       // heuristic estimate to the goal
    int parent = 0;       // id of the node the search came from; 0 for the start
    std::vector<GraphEdge> edges;
};

// A node during a search: its id and search values only, so that the open
// list costs the same whatever the node's edge list holds.
struct SearchRecord {
    int id = 0;
    float f = 0.0f;
    float g = 0.0f;
    float h = 0.0f;
    int parent = 0;  // 0 for the start
};
