#include "text_render.h"

#include <iostream>

const char* const kTitleFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

FontFace::FontFace(const char* path, int pixelSize) {
    if (FT_Init_FreeType(&library) != 0) return;
    if (FT_New_Face(library, path, 0, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        if (face) FT_Done_Face(face);
        face = nullptr;
    }
}

FontFace::~FontFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

namespace {

int TextWidth(FT_Face face, const std::string& text) {
    int width = 0;
    for (unsigned char ch : text)
        if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT) == 0) width += int(face->glyph->advance.x >> 6);
    return width;
}

void DrawGlyph(RgbaImage& image, const FT_GlyphSlot glyph, int penX, int baselineY, Rgb colour) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            unsigned coverage = bitmap.buffer[row * bitmap.pitch + col];
            image.Blend(penX + glyph->bitmap_left + int(col), baselineY - glyph->bitmap_top + int(row),
                        colour, coverage);
        }
    }
}

}  // namespace

bool DrawCentredText(RgbaImage& image, const std::string& text, int centreX, int baselineY,
                     int pixelSize, Rgb colour) {
    FontFace font(kTitleFontPath, pixelSize);
    if (!font.face) {
        std::cerr << "content_gen: cannot load font " << kTitleFontPath << std::endl;
        return false;
    }
    int penX = centreX - TextWidth(font.face, text) / 2;
    for (unsigned char ch : text) {
        if (FT_Load_Char(font.face, ch, FT_LOAD_RENDER) != 0) continue;
        DrawGlyph(image, font.face->glyph, penX, baselineY, colour);
        penX += int(font.face->glyph->advance.x >> 6);
    }
    return true;
}
