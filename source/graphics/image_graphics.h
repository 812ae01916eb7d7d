// ImageGraphics: the group of the renderer's two-dimensional drawing routines
// (text, symbols, overlays, billboards, slides), which are Graphics members in
// graphics/bitmap_text.cpp, graphics/screen_overlays.cpp and
// graphics/slide_show.cpp; the extension itself holds nothing. Owned by
// Graphics. Main thread only, with the OpenGL context current.
#pragma once

#include "module.h"

class Graphics;

class ImageGraphics : public Extension<Graphics> {};

namespace graphics {

// The four corners of the screen quad (normalised device coordinates, z 0)
// with their texture coordinates, texture row 0 at the top of the screen; to
// be sent inside glBegin(GL_QUADS) with identity matrices.
void SendScreenQuadCorners();

}  // namespace graphics
