// Generator step: the pictures of effects: the particle atlas "tex_particle"
// (a 480 x 480 sheet whose cells are the rectangles the particle drawing
// cuts out: smoke, flashes, debris, shock-wave ring, dust and sparks) and the
// two shot billboards "tex_shot_red" (the player's) and "tex_shot_blue"
// (the enemies'), bolts lying along the billboard's x axis.
#pragma once

#include <string>

#include "graphics/particle_graphics.h"

// The cells of the particle atlas, as the particle drawing cuts them out.
using AtlasCell = ParticleGraphics::AtlasCell;
constexpr const AtlasCell* kParticleCells = ParticleGraphics::kAtlasCells;
constexpr int kParticleCellCount = ParticleGraphics::kDefinedCells;
constexpr int kParticleAtlasSize = ParticleGraphics::kAtlasSide;

bool GenerateEffectImages(const std::string& runDir);
