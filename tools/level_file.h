// Writing a level file ("resource/levels/levelN.xml") from a level's
// ground, its placed objects and its navigation graph, in the format the
// game's level reader takes. Heights come from the generated height map,
// read the way the game reads it, so objects stand on the ground that is
// drawn; the terrain step must have run first.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "objects/ground_plane_object.h"

// One placed object: its pattern and where it stands. Names are made when
// the file is written: the pattern and a number that runs through the file,
// as the game names the objects it makes.
struct PlacedObject {
    std::string pattern;
    float x, y, z;
};

struct NavNode {
    int id;  // non-zero: 0 means "no node"
    float x, y, z;
};

struct NavGraphData {
    float nodeRadius = 30.0f;
    std::vector<NavNode> nodes;
    std::vector<std::pair<int, int>> edges;  // two-way
};

// The ground of level `level` as the game will read it: its generated height
// map stored under "tex_heightmap_levelN" and a ground plane of `size` x
// `size` with heights 0..`heightRange` at the origin. False (with a message)
// when the height map is missing.
bool LoadLevelGround(const std::string& runDir, int level, float size, float heightRange, GroundPlaneObject& ground);

inline float GroundAt(const GroundPlaneObject& ground, float x, float z) { return ground.GetHeight(Vector(x, 0, z)); }

// Writes the whole file; `about` is the one-line description in its
// heading comment. False (with a message) when it cannot be written.
bool WriteLevelFile(const std::string& runDir, int level, const std::string& about, const GroundPlaneObject& ground,
                    const std::vector<PlacedObject>& objects, const NavGraphData& graph);
