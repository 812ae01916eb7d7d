// Shades a level's ground colour map from its height field: the colour by
// height (deep dust in the low ground, plains of dust, pale crests), rock
// where the slope is steep (banded with strata), the warm shadow colour in
// gullies and hollows, the soft shadow the low sun casts across the ground
// (its direction is the palette's), the fine relief the coarse ground mesh
// cannot show, and broad mottling. A level's painted marks (streets,
// paving) go on before the light, so that they lie in the same shadows.
#pragma once

#include <functional>

#include "palette.h"
#include "rgba_image.h"

// A level's ground colours, all from the palette.
struct GroundLook {
    Rgb low;    // basins and the low ground
    Rgb mid;    // the open plains
    Rgb high;   // crests and plateaus
    Rgb rock;   // steep faces
    unsigned seed;
};

// Height 0..1 at map fractions (u along x, v along z).
using GroundHeight = std::function<float(float u, float v)>;
// Paints over a pixel's ground colour at world (x, z); may be empty.
using GroundMarks = std::function<void(float x, float z, Rgb& colour)>;

// A `size` x `size` colour map over a `mapSize` square whose heights run
// 0..`heightRange`, lit from `towardsSun` (the level script's sun); row 0 is
// the far edge (z = mapSize), as the game reads it.
RgbaImage ShadeGround(const GroundHeight& height, const GroundMarks& marks, const GroundLook& look,
                      const palette::Direction& towardsSun, int size, float mapSize, float heightRange);
