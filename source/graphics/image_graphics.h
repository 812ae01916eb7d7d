// ImageGraphics: the group of the renderer's two-dimensional drawing routines
// (text, symbols, overlays, slides), which are Graphics members; the
// extension itself holds nothing. Owned by Graphics. Main thread only.
#pragma once

#include "module.h"

class Graphics;

class ImageGraphics : public Extension<Graphics> {};
