// Draws text onto generated pictures with FreeType and a DejaVu font from
// the system's font folder, anti-aliased, at build time only.
#pragma once

#include <string>

#include "rgba_image.h"

// The bold sans face used for titles.
extern const char* const TITLE_FONT_PATH;

// Draws text centred on centreX with its baseline at baselineY; false when
// the font cannot be loaded.
bool DrawCentredText(RgbaImage& image, const std::string& text, int centreX, int baselineY,
                     int pixelSize, Rgb colour);
