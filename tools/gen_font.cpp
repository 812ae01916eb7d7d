#include "gen_font.h"

#include <algorithm>
#include <iostream>

#include "game_paths.h"
#include "paint.h"
#include "text_render.h"

namespace {

// A monospaced face: every glyph has the same advance, like the printer.
const char* const FONT_FACE_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
const int GLYPH_PIXELS = 29;
const int BASELINE = 24;  // from the top of a cell
const int FIRST_CODE = 31;  // the code shown by cell 0

// Codes that print something: ASCII and the Latin-1 letters; control codes
// and DEL stay blank cells.
bool Printable(int code) { return (code > 32 && code < 127) || (code > 160 && code < 256); }

// White ink whose alpha is the glyph's coverage, clipped to the cell.
void DrawGlyph(RgbaImage& atlas, FT_GlyphSlot glyph, int cellX, int cellY) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    int advance = int(glyph->advance.x >> 6);
    int penX = cellX + std::max(0, (int(FONT_CELL * FONT_ADVANCE) - advance) / 2);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            int x = penX + glyph->bitmap_left + int(col);
            int y = cellY + BASELINE - glyph->bitmap_top + int(row);
            if (x < cellX || y < cellY || x >= cellX + FONT_CELL || y >= cellY + FONT_CELL) continue;
            unsigned char coverage = bitmap.buffer[row * unsigned(bitmap.pitch) + col];
            PutRgba(atlas, x, y, {255, 255, 255, coverage});
        }
}

}  // namespace

bool GenerateFont(const std::string& runDir) {
    FontFace font(FONT_FACE_PATH, GLYPH_PIXELS);
    if (!font.face) {
        std::cerr << "content_gen: cannot load font " << FONT_FACE_PATH << std::endl;
        return false;
    }
    RgbaImage atlas(FONT_CELL * FONT_GRID, FONT_CELL * FONT_GRID);
    // Transparent white, so that filtering at glyph edges never darkens them.
    Clear(atlas, {255, 255, 255, 0});
    for (int cell = 0; cell < FONT_GRID * FONT_GRID; ++cell) {
        int code = cell + FIRST_CODE;
        if (!Printable(code)) continue;
        if (FT_Load_Char(font.face, FT_ULong(code), FT_LOAD_RENDER) != 0) continue;
        DrawGlyph(atlas, font.face->glyph, (cell % FONT_GRID) * FONT_CELL, (cell / FONT_GRID) * FONT_CELL);
    }
    return WriteImage(runDir, std::string(paths::INTERFACE) + "font.png", atlas);
}
