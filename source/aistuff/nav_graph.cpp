#include "aistuff/nav_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "system/source_position.h"
#include "system.h"

namespace {

// Distance over all four components, the cost of an edge.
float Distance4(const Vector& a, const Vector& b) {
    return (a - b).Mag();
}

void Warn(const std::string& message) {
    Module<System>::Instance()->Warning(message);
}

std::uint64_t PairKey(int a, int b) {
    const auto low = std::uint32_t(std::min(a, b)), high = std::uint32_t(std::max(a, b));
    return std::uint64_t(low) << 32 | high;
}

const std::vector<GraphEdge> kNoEdges;

// The search's first record: the caller's start node, which may differ from
// the stored node of its id.
bool IsStartRecord(const SearchRecord& record, const GraphNode& start) {
    return record.parent == 0 && record.id == start.id;
}

}  // namespace

void NavGraph::AddNode(const GraphNode& node) {
    if (node.id == 0) {
        // Id 0 marks the start of a path; a node carrying it would cut paths short.
        Warn(SOURCE_POS + "NavGraph: node ID 0 is reserved for \"no node\"; node refused");
        return;
    }
    nodes.emplace(node.id, node);
}

void NavGraph::AddBidirectionalEdge(int a, int b) {
    auto nodeA = nodes.find(a);
    auto nodeB = nodes.find(b);
    if (nodeA == nodes.end() || nodeB == nodes.end()) {
        int missing = nodeA == nodes.end() ? a : b;
        Warn(SOURCE_POS + "NavGraph: edge " + std::to_string(a) + "-" + std::to_string(b) +
             " names unknown node " + std::to_string(missing) + "; edge refused");
        return;
    }
    if (!joinedPairs.insert(PairKey(a, b)).second) return;
    float cost = Distance4(nodeA->second.trans, nodeB->second.trans);
    nodeA->second.edges.emplace_back(a, b, false, false, 1.0f, cost);
    nodeB->second.edges.emplace_back(b, a, false, false, 1.0f, cost);
    edges.emplace_back(a, b, false, true, 1.0f, cost);
}

void NavGraph::Clear() {
    nodes.clear();
    edges.clear();
    joinedPairs.clear();
    openList.clear();
    visited.clear();
}

int NavGraph::GetNearestNode(const Vector& p) const {
    float best = std::numeric_limits<float>::max();
    int bestId = 0;
    for (const auto& entry : nodes) {
        const Vector& t = entry.second.trans;
        float dx = t.x - p.x, dy = t.y - p.y, dz = t.z - p.z;
        float d2 = dx * dx + dy * dy + dz * dz;
        if (d2 < best) {
            best = d2;
            bestId = entry.first;
        }
    }
    return bestId;
}

float NavGraph::Heuristic(const Vector& a, const Vector& b) {
    float dx = std::fabs(a.x - b.x);
    float dz = std::fabs(a.z - b.z);
    return 1.414213562f * (dx + dz - std::min(dx, dz));
}

bool NavGraph::FindPath(GraphNode start, GraphNode goal, std::vector<GraphNode>& path) {
    path.clear();
    openList.clear();
    visited.clear();
    if (start.id == 0 || goal.id == 0) return false;

    SearchRecord first;
    first.id = start.id;
    first.h = Heuristic(start.trans, goal.trans);
    first.f = first.h;
    PushOpen(first);

    while (!openList.empty()) {
        const SearchRecord least = PopOpen();
        RecordVisit(least);
        if (least.id == goal.id) {
            BuildPath(start, goal.id, path);
            return true;
        }
        ExpandEdges(least, start, goal);
    }
    return false;
}

void NavGraph::PushOpen(const SearchRecord& record) {
    openList.push_back(record);
    std::push_heap(openList.begin(), openList.end(), GreaterF());
}

SearchRecord NavGraph::PopOpen() {
    std::pop_heap(openList.begin(), openList.end(), GreaterF());
    const SearchRecord least = openList.back();
    openList.pop_back();
    return least;
}

void NavGraph::RecordVisit(const SearchRecord& record) {
    auto found = visited.find(record.id);
    if (found == visited.end())
        visited.emplace(record.id, record);
    else if (record.f < found->second.f)
        found->second = record;
}

const std::vector<GraphEdge>& NavGraph::EdgesOf(const SearchRecord& record, const GraphNode& start) const {
    if (IsStartRecord(record, start)) return start.edges;
    auto node = nodes.find(record.id);
    return node == nodes.end() ? kNoEdges : node->second.edges;
}

void NavGraph::ExpandEdges(const SearchRecord& from, const GraphNode& start, const GraphNode& goal) {
    for (const GraphEdge& edge : EdgesOf(from, start)) {
        if (visited.count(edge.to)) continue;
        auto target = nodes.find(edge.to);
        // A start record handed in by a caller may carry edges the graph never saw.
        if (target == nodes.end()) continue;
        SearchRecord next;
        next.id = edge.to;
        next.g = from.g + edge.cost * edge.weight;
        next.parent = from.id;
        next.h = Heuristic(target->second.trans, goal.trans);
        next.f = next.g + next.h;
        PushOpen(next);
    }
}

void NavGraph::BuildPath(const GraphNode& start, int goalId, std::vector<GraphNode>& path) const {
    auto current = visited.find(goalId);
    // Each step moves to a distinct visited record, so the walk is bounded by
    // the visited count even if bad data ever formed a parent cycle.
    for (size_t steps = 0; current != visited.end() && steps <= visited.size(); ++steps) {
        const SearchRecord& record = current->second;
        GraphNode node = IsStartRecord(record, start) ? start : nodes.at(record.id);
        node.f = record.f;
        node.g = record.g;
        node.h = record.h;
        node.parent = record.parent;
        path.push_back(std::move(node));
        if (record.parent == 0) break;
        current = visited.find(record.parent);
    }
    std::reverse(path.begin(), path.end());
}
