// Generator step: the ground of each level: a grey height map
// ("tex_heightmap_levelN"), a colour map ("tex_ground_levelN", shaded from
// the heights: see terrain_shading.h) and a ground mesh
// ("mesh_ground_levelN") built from the same heights, so that what is drawn
// matches the height the game reads from the map.
//
// Map space: the mesh covers x and z from 0 to 1 with heights 0..1; the level
// file's ground plane scales and places it. Image rows run against z (row 0
// is the far edge, z = 1), as the ground plane reads them; texture
// coordinates follow the same rule, so the colour map lies where the game
// samples it.
//
// The three landscapes (u, v are the map fractions along x and z; the
// places of levels 2 and 3 are in level_layout.h):
//   level1: rolling hills around a flat basin at (0.5, 0.5), rising to a
//           rim at the map's edges (the rim's cliffs stand on it);
//   level2: a square shaft (floor 0) sunk into a plateau of height 0.55,
//           which falls towards the city floor (0.1) north of v = 0.5; the
//           city's streets are painted in the north-west, rough hills rise
//           east of it;
//   level3: a flat city floor (about 0.1) with its street grid painted, a
//           paved plaza a little lower south of the city, and a narrow rim
//           at the map's edges.
#pragma once

#include <string>

constexpr int kHeightmapSize = 128;
constexpr int kColourmapSize = 256;
constexpr int kGroundCells = 40;  // per side; 2 triangles per cell

bool GenerateTerrain(const std::string& runDir);
