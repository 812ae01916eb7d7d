// Draws text onto generated pictures with FreeType and a DejaVu font from
// the system's font folder, anti-aliased, at build time only.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "rgba_image.h"

// Owns a FreeType library and one face at a pixel size; `face` stays null
// when either cannot be loaded.
struct FontFace {
    FontFace(const char* path, int pixelSize);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// The bold sans face used for titles.
extern const char* const TITLE_FONT_PATH;

// Draws text centred on centreX with its baseline at baselineY; false when
// the font cannot be loaded.
bool DrawCentredText(RgbaImage& image, const std::string& text, int centreX, int baselineY,
                     int pixelSize, Rgb colour);
