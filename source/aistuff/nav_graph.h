// NavGraph: the navigation graph of the loaded level (nodes on the walkable
// ground joined by two-way edges) and the A* search that gives an enemy its
// route. Held by value by the BehaviorManager.
//
// Threads: the level loader fills it (Clear, AddNode, AddBidirectionalEdge)
// on the loader thread; the behaviour module searches it on the main thread.
// It has no lock of its own: the caller must keep filling and searching
// apart (a search must never overlap a load).
//
// Node ids are non-zero: 0 means "no node" (a path's start has parent 0, and
// GetNearestNode answers 0 for an empty graph). A node with id 0 and an edge
// naming an unknown node are refused with a warning. An edge between two
// nodes already joined is merged into the first (a level may list one many
// times), and the search holds node ids, never copies of nodes with their
// edge lists, so its memory grows with the edges, not their square.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "aistuff/graph_records.h"
#include "geom/geom.h"
#include "module.h"

class BehaviorManager;

class NavGraph : public Extension<BehaviorManager> {
public:
    // Heap order for openList: the record with the least f on top.
    struct GreaterF {
        bool operator()(const SearchRecord& a, const SearchRecord& b) const { return a.f > b.f; }
    };

    // Stores a copy under node.id. An id already present keeps its first node.
    void AddNode(const GraphNode& node);
    // Joins nodes a and b both ways with the distance between them as cost,
    // and keeps one graph-wide record of the pair; nothing when a and b are
    // already joined (either way round).
    void AddBidirectionalEdge(int a, int b);
    // Forgets every node and edge (each level load starts from an empty graph).
    void Clear();

    // Id of the node nearest to p over x, y and z; 0 when there are no nodes.
    int GetNearestNode(const Vector& p) const;
    // 1.414213562 times the larger of the x and z distances (y plays no part).
    static float Heuristic(const Vector& a, const Vector& b);
    // A* from start to goal. True with path holding start..goal (both
    // included); false with path empty when the goal cannot be reached or
    // either record is "no node" (id 0). The stored nodes are not changed.
    bool FindPath(GraphNode start, GraphNode goal, std::vector<GraphNode>& path);

    std::vector<SearchRecord> openList;             // heap on f; working storage of FindPath
    std::unordered_map<int, SearchRecord> visited;  // records taken off openList by FindPath
    std::unordered_map<int, GraphNode> nodes;       // the graph, by id
    std::vector<GraphEdge> edges;                   // one per pair of joined nodes

private:
    void PushOpen(const SearchRecord& record);
    SearchRecord PopOpen();
    void RecordVisit(const SearchRecord& record);
    // The edges leaving a record: the start's own (the caller's copy may
    // carry edges of its own), otherwise the stored node's.
    const std::vector<GraphEdge>& EdgesOf(const SearchRecord& record, const GraphNode& start) const;
    void ExpandEdges(const SearchRecord& from, const GraphNode& start, const GraphNode& goal);
    void BuildPath(const GraphNode& start, int goalId, std::vector<GraphNode>& path) const;

    std::unordered_set<std::uint64_t> joinedPairs;  // both ids of each edge, smaller first
};
