#include "text_render.h"

#include <iostream>

#include "palette.h"

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

bool Loaded(const FontFace& font, const char* path) {
    if (!font.face) std::cerr << "content_gen: cannot load font " << path << std::endl;
    return font.face != nullptr;
}

int Width(FT_Face face, const std::string& text, int tracking) {
    int width = 0;
    for (unsigned char ch : text)
        if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT) == 0) width += int(face->glyph->advance.x >> 6) + tracking;
    return text.empty() ? 0 : width - tracking;
}

void DrawGlyph(Mask& mask, const FT_GlyphSlot glyph, int penX, int baselineY) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const unsigned coverage = bitmap.buffer[row * unsigned(bitmap.pitch) + col];
            if (coverage)
                mask.Raise(penX + glyph->bitmap_left + int(col), baselineY - glyph->bitmap_top + int(row),
                           float(coverage) / 255.0f);
        }
}

}  // namespace

int TextWidth(const std::string& text, const TextStyle& style) {
    FontFace font(style.face, style.pixelSize);
    return Loaded(font, style.face) ? Width(font.face, text, style.tracking) : 0;
}

bool DrawText(Mask& mask, const std::string& text, int x, int baselineY, const TextStyle& style, Align align) {
    FontFace font(style.face, style.pixelSize);
    if (!Loaded(font, style.face)) return false;
    const int width = Width(font.face, text, style.tracking);
    int penX = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
    for (unsigned char ch : text) {
        if (FT_Load_Char(font.face, ch, FT_LOAD_RENDER) != 0) continue;
        DrawGlyph(mask, font.face->glyph, penX, baselineY);
        penX += int(font.face->glyph->advance.x >> 6) + style.tracking;
    }
    return true;
}

bool DrawCentredText(RgbaImage& image, const std::string& text, int centreX, int baselineY, int pixelSize,
                     Rgb colour) {
    Mask mask(image.width, image.height);
    if (!DrawText(mask, text, centreX, baselineY, {palette::kTitleFace, pixelSize}, Align::Centre)) return false;
    Lay(image, mask, colour);
    return true;
}
