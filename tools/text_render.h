// Draws text onto generated pictures with FreeType and the DejaVu faces of
// the palette (tools/palette.h), anti-aliased, at build time only.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "mask.h"
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

enum class Align { Left, Centre, Right };

// One line's look: the face file, its pixel size and extra pixels between
// letters (tracking; titles are spaced out).
struct TextStyle {
    const char* face;
    int pixelSize;
    int tracking = 0;
};

// The line's width in pixels; 0 (with a message) when the face cannot load.
int TextWidth(const std::string& text, const TextStyle& style);

// Draws the line's coverage into the mask with its baseline at baselineY,
// x being its left end, centre or right end as `align` says; false (with a
// message) when the face cannot be loaded.
bool DrawText(Mask& mask, const std::string& text, int x, int baselineY, const TextStyle& style, Align align);

// Draws text in one colour centred on centreX (the bold title face).
bool DrawCentredText(RgbaImage& image, const std::string& text, int centreX, int baselineY, int pixelSize,
                     Rgb colour);
