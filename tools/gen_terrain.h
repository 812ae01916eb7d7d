// Generator step: the ground of each level: a grey height map
// ("tex_heightmap_levelN"), a colour map ("tex_ground_levelN") and a ground
// mesh ("mesh_ground_levelN") built from the same heights, so that what is
// drawn matches the height the game reads from the map.
//
// Map space: the mesh covers x and z from 0 to 1 with heights 0..1; the level
// file's ground plane scales and places it. Image rows run against z (row 0
// is the far edge, z = 1), as the ground plane reads them; texture
// coordinates follow the same rule, so the colour map lies where the game
// samples it.
//
// The three landscapes (u, v are the map fractions along x and z):
//   level1: rolling hills around a flat basin at (0.5, 0.5), walled by a
//           rising rim at the map's edges;
//   level2: a shaft (floor 0, ringed by a wall of height 1) around
//           (0.5, 0.15), on a plateau of height 0.6 that stays flat towards
//           high z (the city side);
//   level3: a flat city floor (about 0.1) with a raised rim at the edges and
//           a lower plaza for v below 0.5.
#pragma once

#include <string>

constexpr int kHeightmapSize = 128;
constexpr int kColourmapSize = 256;
constexpr int kGroundCells = 40;  // per side; 2 triangles per cell

bool GenerateTerrain(const std::string& runDir);
