// Generator step: the bitmap font "tex_font", a 16 x 16 grid of character
// cells in which cell n holds the character with code n + 31 (cell 1 the
// blank, cell 34 the letter A), rendered with FreeType from a DejaVu font so
// that each glyph stays inside the part of its cell that the text printer
// advances over (seven tenths of the cell width).
#pragma once

#include <string>

// Geometry of the atlas, shared with nothing else: the printer only knows
// "16 x 16 cells".
constexpr int kFontCell = 32;
constexpr int kFontGrid = 16;
// The text printer moves the pen 0.7 cells per character.
constexpr float kFontAdvance = 0.7f;

bool GenerateFont(const std::string& runDir);
