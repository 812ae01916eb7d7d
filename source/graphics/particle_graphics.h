// ParticleGraphics: draws the particle store as camera-facing quads cut from
// the atlas "tex_particle". Owns the two particle programs and the atlas
// table; owned by Graphics, whose Init calls LoadShaders. Main thread only.
//
// The frame's particle pass makes deferredParticleProgram current (samplers
// "tex" on unit 0, "depthTex" on unit 1) before RenderDeferred, which is in
// particle_graphics/render_deferred.cpp.
#pragma once

#include "module.h"

class Graphics;

class ParticleGraphics : public Extension<Graphics> {
public:
    static constexpr int kCells = 24;          // atlas cells; the last one is unused
    static constexpr int kCornersPerCell = 4;  // bottom right, top right, top left, bottom left
    static constexpr int kTexCoordCount = kCells * kCornersPerCell;

    // The atlas "tex_particle": a square of kAtlasSide pixels; a cell is a
    // pixel rectangle, corners inclusive. Shared with the content generator,
    // which paints the atlas.
    static constexpr int kAtlasSide = 480;
    struct AtlasCell {
        int x0, y0, x1, y1;
    };
    static constexpr int kDefinedCells = kCells - 1;  // cell 23 has no rectangle
    // In cell order. Cell 19 is the square at (320, 320): the one at
    // (280, 320) is in no cell.
    static constexpr AtlasCell kAtlasCells[kDefinedCells] = {
        {0, 0, 119, 119},     {120, 0, 239, 119},   {0, 120, 119, 239},   {120, 120, 239, 239},
        {240, 0, 359, 119},   {360, 0, 479, 119},   {240, 120, 359, 239}, {360, 120, 479, 239},
        {0, 240, 239, 299},   {0, 300, 239, 359},   {0, 360, 239, 419},   {0, 420, 239, 479},
        {240, 240, 279, 279}, {280, 240, 319, 279}, {320, 240, 359, 279}, {240, 280, 279, 319},
        {280, 280, 319, 319}, {320, 280, 359, 319}, {240, 320, 279, 359}, {320, 320, 359, 359},
        {360, 240, 479, 359}, {240, 360, 359, 479}, {360, 360, 479, 479},
    };

    // Builds "particle" and "deferred_particle", fills texCoords and hands it
    // to both programs as "texCoord"; leaves program 0 current.
    void LoadShaders();
    // Draws every live particle of the ObjectManager's controller, in slot
    // order, as one batch (particle pass of the frame, object lock held).
    // Leaves blending on with source alpha over one minus source alpha, depth
    // writes on and the program current. A missing "tex_particle" is warned
    // once and nothing is drawn; a cell outside the atlas is clamped into it.
    void RenderDeferred();

    unsigned particleProgram = 0;
    unsigned deferredParticleProgram = 0;
    float texCoords[kTexCoordCount][2] = {};  // (s, t) per corner, cell k at 4k..4k+3
};
