// Generator step: the pictures of effects: the particle atlas "tex_particle"
// (a 480 x 480 sheet whose cells are the rectangles the particle drawing
// cuts out: smoke, flashes, debris, shock-wave ring, dust and sparks) and the
// two shot billboards "tex_shot_red" (the player's) and "tex_shot_blue"
// (the enemies'), bolts lying along the billboard's x axis.
#pragma once

#include <string>

// One cell of the particle atlas in pixels, corners inclusive as the
// particle drawing lists them.
struct AtlasCell {
    int x0, y0, x1, y1;
};

// The 23 defined cells, in atlas order.
extern const AtlasCell PARTICLE_CELLS[];
extern const int PARTICLE_CELL_COUNT;
constexpr int kParticleAtlasSize = 480;

bool GenerateEffectImages(const std::string& runDir);
