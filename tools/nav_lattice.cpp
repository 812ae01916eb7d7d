#include "nav_lattice.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

bool Inside(const Footprint& f, float x, float z, float margin) {
    return x > f.minX - margin && x < f.maxX + margin && z > f.minZ - margin && z < f.maxZ + margin;
}

// Whether the segment from (x0, z0) to (x1, z1) passes through the
// footprint grown by the margin (a slab test on each axis).
bool Crosses(const Footprint& f, float x0, float z0, float x1, float z1, float margin) {
    float enter = 0.0f, leave = 1.0f;
    const float from[2] = {x0, z0}, delta[2] = {x1 - x0, z1 - z0};
    const float low[2] = {f.minX - margin, f.minZ - margin}, high[2] = {f.maxX + margin, f.maxZ + margin};
    for (int axis = 0; axis < 2; ++axis) {
        if (std::fabs(delta[axis]) < 1e-6f) {
            if (from[axis] <= low[axis] || from[axis] >= high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - from[axis]) / delta[axis], t1 = (high[axis] - from[axis]) / delta[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter >= leave) return false;
    }
    return true;
}

class Lattice {
public:
    Lattice(const LatticeSpec& spec, const std::vector<Footprint>& scenery)
        : spec(spec), scenery(scenery), open(std::size_t(spec.count) * spec.count, false) {
        for (int row = 0; row < spec.count; ++row)
            for (int col = 0; col < spec.count; ++col) open[Index(col, row)] = IsClear(col, row);
    }

    float At(int line) const { return spec.first + spec.step * float(line); }
    int Index(int col, int row) const { return row * spec.count + col; }
    int NearestLine(float w) const {
        return std::clamp(int(std::lround((w - spec.first) / spec.step)), 0, spec.count - 1);
    }
    bool Open(int col, int row) const {
        return col >= 0 && row >= 0 && col < spec.count && row < spec.count && open[Index(col, row)];
    }
    // Both ends open and nothing between them.
    bool Joined(int col, int row, int col2, int row2) const {
        if (!Open(col, row) || !Open(col2, row2)) return false;
        for (const Footprint& f : scenery)
            if (Crosses(f, At(col), At(row), At(col2), At(row2), spec.clearance)) return false;
        return true;
    }

private:
    bool IsClear(int col, int row) const {
        for (const Footprint& f : scenery)
            if (Inside(f, At(col), At(row), spec.clearance)) return false;
        return true;
    }

    const LatticeSpec& spec;
    const std::vector<Footprint>& scenery;
    std::vector<bool> open;
};

const int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

// The lattice points reachable from the anchor, by a breadth-first walk.
std::vector<bool> Reachable(const Lattice& lattice, int count, int col, int row) {
    std::vector<bool> kept(std::size_t(count) * count, false);
    std::deque<std::pair<int, int>> queue{{col, row}};
    kept[lattice.Index(col, row)] = true;
    while (!queue.empty()) {
        const auto [c, r] = queue.front();
        queue.pop_front();
        for (const auto& step : kSteps) {
            const int c2 = c + step[0], r2 = r + step[1];
            if (!lattice.Joined(c, r, c2, r2) || kept[lattice.Index(c2, r2)]) continue;
            kept[lattice.Index(c2, r2)] = true;
            queue.push_back({c2, r2});
        }
    }
    return kept;
}

}  // namespace

NavGraphData BuildLatticeGraph(const GroundPlaneObject& ground, const LatticeSpec& spec,
                               const std::vector<Footprint>& scenery, float anchorX, float anchorZ) {
    NavGraphData graph;
    graph.nodeRadius = spec.nodeRadius;
    const Lattice lattice(spec, scenery);
    const int anchorCol = lattice.NearestLine(anchorX), anchorRow = lattice.NearestLine(anchorZ);
    if (!lattice.Open(anchorCol, anchorRow)) return graph;
    const std::vector<bool> kept = Reachable(lattice, spec.count, anchorCol, anchorRow);
    auto id = [&](int col, int row) { return 1 + lattice.Index(col, row); };
    for (int row = 0; row < spec.count; ++row)
        for (int col = 0; col < spec.count; ++col) {
            if (!kept[lattice.Index(col, row)]) continue;
            const float x = lattice.At(col), z = lattice.At(row);
            graph.nodes.push_back({id(col, row), x, GroundAt(ground, x, z) + spec.nodeLift, z});
        }
    for (int row = 0; row < spec.count; ++row)
        for (int col = 0; col < spec.count; ++col) {
            if (!kept[lattice.Index(col, row)]) continue;
            // Neighbours of a kept node that are joined to it were kept too.
            if (lattice.Joined(col, row, col + 1, row)) graph.edges.push_back({id(col, row), id(col + 1, row)});
            if (lattice.Joined(col, row, col, row + 1)) graph.edges.push_back({id(col, row), id(col, row + 1)});
        }
    return graph;
}
