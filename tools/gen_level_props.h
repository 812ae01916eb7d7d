// Generator step: the scenery of levels 2 and 3 and the rim of all three,
// built from boxes in world units (patterns use scale 1), each standing on
// y = 0 with its footprint centred on the origin; sizes from level_layout.h:
//   "shaft_wall_x"  a wall of the shaft running along x, 500 x 140 x 100;
//   "shaft_wall_z"  one running along z, 100 x 140 x 300 (it fits between
//                   the two along x);
//   "rim_wall_x"    a cliff of the rim running along x, 2120 x 500 x 100;
//   "rim_wall_z"    one running along z, 100 x 500 x 1920 (it fits between
//                   the two along x);
//   "city_block"    a block of flats 160 x 128 x 160 with roof plant;
//   "tower"         a tower 80 x 256 x 80 with a roof cap and a mast.
// Faces are tiled rather than stretched: each face repeats its texture every
// tile (the walls' rock every 50 x 70, the cliffs' every 400 x 140, the
// city's windows every 40 x 64 as on level 1's building), and
// "tex_shaft_wall", the rock of the walls, and "tex_rim_cliff", the same
// rock without the seams of built courses, are drawn here in the ground's
// palette.
#pragma once

#include <string>

bool GenerateLevelProps(const std::string& runDir);
