// The rim every level shares (see level_layout.h): the four cliffs along the
// map's border, placed for a level file.
#pragma once

#include <vector>

#include "level_file.h"

// The scenery patterns of the cliffs along x and along z.
constexpr const char* kRimWallX = "RimWallX";
constexpr const char* kRimWallZ = "RimWallZ";

// Adds the four to a level's objects; they stand at height 0, under the
// rim's ground.
void AddRimWalls(std::vector<PlacedObject>& objects);
