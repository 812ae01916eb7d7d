// A navigation graph laid as a square lattice over a level: nodes at the
// hover height over the ground wherever the lattice point is clear of the
// scenery, joined to their four neighbours where the segment between them
// is clear too, and only the part reachable from one anchor kept, so that
// every node kept can reach every other.
#pragma once

#include <vector>

#include "level_file.h"

// The ground rectangle a piece of scenery stands on.
struct Footprint {
    float minX, maxX, minZ, maxZ;
};

struct LatticeSpec {
    float first;       // world x and z of the first lattice line
    float step;        // between lines
    int count;         // lines per axis
    float clearance;   // kept between nodes or edges and any footprint
    float nodeLift;    // a node's height over the ground
    float nodeRadius;  // how near a machine must come to have reached it
};

// The lattice graph; ids are 1 + row * count + column. Empty when the
// anchor (the lattice point nearest to anchorX, anchorZ) is blocked.
NavGraphData BuildLatticeGraph(const GroundPlaneObject& ground, const LatticeSpec& spec,
                               const std::vector<Footprint>& scenery, float anchorX, float anchorZ);
