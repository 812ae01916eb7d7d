#include "gen_font.h"

#include <algorithm>
#include <iostream>

#include "game_paths.h"
#include "paint.h"
#include "palette.h"
#include "text_render.h"

namespace {

// A monospaced face: every glyph has the same advance, like the printer.
const char* const kFontFacePath = palette::kMonoFace;
const int kGlyphPixels = 29;
const int kBaseline = 24;  // from the top of a cell
const int kFirstCode = 31;  // the code shown by cell 0

// Codes that print something: ASCII and the Latin-1 letters; control codes
// and DEL stay blank cells.
bool Printable(int code) { return (code > 32 && code < 127) || (code > 160 && code < 256); }

// White ink whose alpha is the glyph's coverage, clipped to the cell.
void DrawGlyph(RgbaImage& atlas, FT_GlyphSlot glyph, int cellX, int cellY) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    int advance = int(glyph->advance.x >> 6);
    int penX = cellX + std::max(0, (int(kFontCell * kFontAdvance) - advance) / 2);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            int x = penX + glyph->bitmap_left + int(col);
            int y = cellY + kBaseline - glyph->bitmap_top + int(row);
            if (x < cellX || y < cellY || x >= cellX + kFontCell || y >= cellY + kFontCell) continue;
            unsigned char coverage = bitmap.buffer[row * unsigned(bitmap.pitch) + col];
            PutRgba(atlas, x, y, {255, 255, 255, coverage});
        }
}

}  // namespace

bool GenerateFont(const std::string& runDir) {
    FontFace font(kFontFacePath, kGlyphPixels);
    if (!font.face) {
        std::cerr << "content_gen: cannot load font " << kFontFacePath << std::endl;
        return false;
    }
    RgbaImage atlas(kFontCell * kFontGrid, kFontCell * kFontGrid);
    // Transparent white, so that filtering at glyph edges never darkens them.
    Clear(atlas, {255, 255, 255, 0});
    for (int cell = 0; cell < kFontGrid * kFontGrid; ++cell) {
        int code = cell + kFirstCode;
        if (!Printable(code)) continue;
        if (FT_Load_Char(font.face, FT_ULong(code), FT_LOAD_RENDER) != 0) continue;
        DrawGlyph(atlas, font.face->glyph, (cell % kFontGrid) * kFontCell, (cell / kFontGrid) * kFontCell);
    }
    return WriteImage(runDir, std::string(paths::kInterface) + "font.png", atlas);
}
