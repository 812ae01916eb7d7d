#include "gen_interface.h"

#include <cmath>
#include <vector>

#include "game_paths.h"
#include "mask.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kPi = 3.14159265f;
const Rgba kInk = {palette::kInk.r, palette::kInk.g, palette::kInk.b, 255};
const Rgba kClear = {palette::kInk.r, palette::kInk.g, palette::kInk.b, 0};

Rgba WithAlpha(Rgb c, unsigned char a) { return {c.r, c.g, c.b, a}; }

// A filled polygon in ink (anti-aliased): a pixel takes the ink where the
// polygon covers more of it than is inked already.
void FillPolygon(RgbaImage& image, const std::vector<Point>& polygon, Rgba c) {
    Mask mask(image.width, image.height);
    ::FillPolygon(mask, polygon);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            unsigned char* p = image.At(x, y);
            const auto a = (unsigned char)(float(c.a) * mask.At(x, y) + 0.5f);
            if (a > p[3]) p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = a;
        }
}

std::vector<Point> RegularPolygon(float cx, float cy, float radius, int corners, float turn) {
    std::vector<Point> points;
    for (int i = 0; i < corners; ++i) {
        float angle = turn + 2.0f * kPi * float(i) / float(corners);
        points.push_back({cx + radius * std::sin(angle), cy - radius * std::cos(angle)});
    }
    return points;
}

std::vector<Point> Star(float cx, float cy, float outer, float inner) {
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i) {
        float radius = i % 2 ? inner : outer;
        float angle = kPi * float(i) / 5.0f;
        points.push_back({cx + radius * std::sin(angle), cy - radius * std::cos(angle)});
    }
    return points;
}

// One 64-pixel symbol cell, drawn around its centre.
void DrawSymbol(RgbaImage& cell, int index) {
    const float c = 32.0f, r = 24.0f;
    switch (index) {
        case 0: SoftDisc(cell, c, c, r, 0.9f, kInk); break;
        case 1: SoftRing(cell, c, c, r - 3.0f, 4.0f, kInk); break;
        case 2: FillPolygon(cell, {{c - r, c - r}, {c + r, c - r}, {c + r, c + r}, {c - r, c + r}}, kInk); break;
        case 3:
            for (float d : {-r, r}) {
                SoftLine(cell, c - r, c + d, c + r, c + d, 5.0f, kInk);
                SoftLine(cell, c + d, c - r, c + d, c + r, 5.0f, kInk);
            }
            break;
        case 4: FillPolygon(cell, RegularPolygon(c, c + 4.0f, r + 4.0f, 3, 0.0f), kInk); break;
        case 5: FillPolygon(cell, RegularPolygon(c, c - 4.0f, r + 4.0f, 3, kPi), kInk); break;
        case 6: FillPolygon(cell, RegularPolygon(c + 4.0f, c, r + 4.0f, 3, -kPi / 2.0f), kInk); break;
        case 7: FillPolygon(cell, RegularPolygon(c - 4.0f, c, r + 4.0f, 3, kPi / 2.0f), kInk); break;
        case 8:
            SoftLine(cell, c - r, c, c + r, c, 10.0f, kInk);
            SoftLine(cell, c, c - r, c, c + r, 10.0f, kInk);
            break;
        case 9:
            SoftLine(cell, c - r, c - r, c + r, c + r, 9.0f, kInk);
            SoftLine(cell, c - r, c + r, c + r, c - r, 9.0f, kInk);
            break;
        case 10: FillPolygon(cell, RegularPolygon(c, c, r + 2.0f, 4, 0.0f), kInk); break;
        case 11: FillPolygon(cell, Star(c, c + 2.0f, r + 4.0f, r * 0.45f), kInk); break;
        case 12: SoftLine(cell, c - r, c, c + r, c, 10.0f, kInk); break;
        case 13:
            SoftLine(cell, c - r, c, c - 6.0f, c + r - 6.0f, 8.0f, kInk);
            SoftLine(cell, c - 6.0f, c + r - 6.0f, c + r, c - r + 4.0f, 8.0f, kInk);
            break;
        case 14:
            FillPolygon(cell, {{c, c - r - 4.0f}, {c + r, c}, {c - r, c}}, kInk);
            SoftLine(cell, c, c, c, c + r + 2.0f, 12.0f, kInk);
            break;
        default: SoftDisc(cell, c, c, r * 0.35f, 0.8f, kInk); break;
    }
}

RgbaImage Symbols() {
    const int cellSize = 64;
    RgbaImage sheet(cellSize * 4, cellSize * 4);
    Clear(sheet, kClear);
    for (int index = 0; index < 16; ++index) {
        RgbaImage cell(cellSize, cellSize);
        Clear(cell, kClear);
        DrawSymbol(cell, index);
        Blit(sheet, cell, (index % 4) * cellSize, (index / 4) * cellSize);
    }
    return sheet;
}

// A broken ring with four ticks and a centre dot; the widget tints it.
RgbaImage Crosshair() {
    RgbaImage image(128, 128);
    Clear(image, kClear);
    const float c = 64.0f;
    SoftRing(image, c, c, 30.0f, 3.0f, kInk);
    for (int side = 0; side < 4; ++side) {
        float dx = std::sin(float(side) * kPi / 2.0f), dy = std::cos(float(side) * kPi / 2.0f);
        SoftLine(image, c + dx * 12.0f, c + dy * 12.0f, c + dx * 46.0f, c + dy * 46.0f, 4.0f, kInk);
    }
    SoftDisc(image, c, c, 3.0f, 0.5f, kInk);
    return image;
}

// Drawn over the crosshair in the hit colour: four bold corner brackets.
RgbaImage HitMarker() {
    RgbaImage image(128, 128);
    Clear(image, kClear);
    const float c = 64.0f;
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            SoftLine(image, c + sx * 18.0f, c + sy * 18.0f, c + sx * 40.0f, c + sy * 40.0f, 7.0f, kInk);
    return image;
}

// The radar disc: a translucent dark face, range rings, a cross and a rim.
RgbaImage Minimap() {
    const int size = 256;
    const float c = size / 2.0f;
    RgbaImage image(size, size);
    Clear(image, WithAlpha(palette::kRadarFace, 0));
    SoftDisc(image, c, c, c - 2.0f, 0.97f, WithAlpha(palette::kRadarFace, 170));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            unsigned char* p = image.At(x, y);
            if (p[3] == 0) continue;
            float d = std::hypot(float(x) + 0.5f - c, float(y) + 0.5f - c) / c;
            Rgb face = Mix(Mix(palette::kRadarFace, palette::kRadar, 0.2f), Scale(palette::kRadarFace, 0.6f), d);
            p[0] = face.r, p[1] = face.g, p[2] = face.b;
        }
    for (float radius : {c * 0.33f, c * 0.66f}) SoftRing(image, c, c, radius, 1.5f, WithAlpha(palette::kRadar, 200));
    SoftLine(image, 8.0f, c, size - 8.0f, c, 1.5f, WithAlpha(palette::kRadar, 160));
    SoftLine(image, c, 8.0f, c, size - 8.0f, 1.5f, WithAlpha(palette::kRadar, 160));
    SoftRing(image, c, c, c - 4.0f, 3.0f, WithAlpha(Mix(palette::kRadar, palette::kInk, 0.4f), 255));
    return image;
}

RgbaImage RadioMark() {
    RgbaImage image(64, 64);
    Clear(image, kClear);
    SoftRing(image, 32.0f, 32.0f, 26.0f, 3.0f, kInk);
    SoftDisc(image, 32.0f, 32.0f, 16.0f, 0.85f, kInk);
    return image;
}

// A bevelled vertical knob: light top edge, darker bottom edge.
RgbaImage SliderKnob() {
    RgbaImage image(32, 64);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            bool edge = x < 3 || y < 3 || x >= image.width - 3 || y >= image.height - 3;
            Rgb body = Mix(Mix(palette::kMetalPale, palette::kInk, 0.4f), palette::kMetal, float(y) / float(image.height - 1));
            image.Put(x, y, edge ? palette::kMetalDark : body);
        }
    image.FillRect(8, 30, 24, 34, Mix(palette::kMetal, palette::kMetalDark, 0.5f));
    return image;
}

// A missile seen from the side, nose to the right, symmetric top to bottom.
RgbaImage MissileIcon() {
    RgbaImage image(64, 64);
    Clear(image, kClear);
    FillPolygon(image, {{10, 28}, {46, 28}, {58, 32}, {46, 36}, {10, 36}}, kInk);
    FillPolygon(image, {{8, 20}, {18, 28}, {18, 36}, {8, 44}}, kInk);
    SoftDisc(image, 6.0f, 32.0f, 5.0f, 0.3f, WithAlpha(palette::kFire, 255));
    return image;
}

}  // namespace

bool GenerateInterfaceImages(const std::string& runDir) {
    const std::string folder = paths::kInterface;
    return WriteImage(runDir, folder + "symbols.png", Symbols()) &&
           WriteImage(runDir, folder + "crosshair.png", Crosshair()) &&
           WriteImage(runDir, folder + "hit.png", HitMarker()) &&
           WriteImage(runDir, folder + "minimap.png", Minimap()) &&
           WriteImage(runDir, folder + "radio.png", RadioMark()) &&
           WriteImage(runDir, folder + "slider.png", SliderKnob()) &&
           WriteImage(runDir, folder + "missile_icon.png", MissileIcon());
}
