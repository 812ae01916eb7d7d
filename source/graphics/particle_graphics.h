// ParticleGraphics: draws the particle store as camera-facing quads cut from
// the atlas "tex_particle". Owns the two particle programs and the atlas
// table; owned by Graphics, whose Init calls LoadShaders. Main thread only.
//
// The frame's particle pass makes deferredParticleProgram current (samplers
// "tex" on unit 0, "depthTex" on unit 1) before RenderDeferred; the drawing
// itself comes with the particle system.
#pragma once

#include "module.h"

class Graphics;

class ParticleGraphics : public Extension<Graphics> {
public:
    static constexpr int kCells = 24;          // atlas cells; the last one is unused
    static constexpr int kCornersPerCell = 4;  // bottom right, top right, top left, bottom left
    static constexpr int kTexCoordCount = kCells * kCornersPerCell;

    // Builds "particle" and "deferred_particle", fills texCoords and hands it
    // to both programs as "texCoord"; leaves program 0 current.
    void LoadShaders();
    // Draws every live particle (particle pass of the frame).
    void RenderDeferred();

    unsigned particleProgram = 0;
    unsigned deferredParticleProgram = 0;
    float texCoords[kTexCoordCount][2] = {};  // (s, t) per corner, cell k at 4k..4k+3
};
