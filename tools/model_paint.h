// Paints a finished ModelSketch's texture atlas: every texel knows the point
// and face of the model it covers, so panel lines, rivets, stripes and
// windows are laid out in world units, edges wear, the lower parts gather
// dust, and ambient occlusion (rays cast from the texel against the model's
// own parts and, for a standing model, the ground) darkens creases towards
// the palette's shadow colour. The occlusion depends on the shape only and
// is baked once per sketch; each livery then paints over it.
#pragma once

#include <vector>

#include "model_sketch.h"
#include "rgba_image.h"

// The colours a model is painted in (from palette.h).
struct Livery {
    Rgb hull;
    Rgb mark;      // stripes and marking plates
    Rgb dark;      // bare metal
    Rgb glow;      // lamps and sensors
    float panel = 3.0f;  // plate size in world units
    float dust = 0.0f;   // how much ground dust the lower parts gather (0..1)
    float dustHeight = 6.0f;
    unsigned seed = 1;
};

// Ambient light reaching each texel of the atlas, 0..1 (1: fully open).
struct Occlusion {
    int size = 0;
    std::vector<float> open;
    float At(int x, int y) const { return open[size_t(y) * size_t(size) + size_t(x)]; }
};

// `reach`: how far (world units) a part still shades another; `ground`:
// whether the model stands on y = 0, which shades its feet.
Occlusion BakeOcclusion(const ModelSketch& sketch, float reach, bool ground);

RgbaImage PaintAtlas(const ModelSketch& sketch, const Occlusion& occlusion, const Livery& livery);
