// Small painting helpers shared by the game-art generator steps: colour
// mixing, deterministic value noise, soft-edged discs and rings with alpha,
// and writing a finished picture into the run folder.
//
// Build time only. Everything is deterministic (no clock, no random seed), so
// two builds write the same bytes.
#pragma once

#include <string>

#include "rgba_image.h"

struct Rgba {
    unsigned char r, g, b, a;
};

// Linear mix from a (t = 0) to b (t = 1), t clamped to 0..1.
inline Rgb Mix(Rgb a, Rgb b, float t) {
    t = t < 0.0f ? 0.0f : t > 1.0f ? 1.0f : t;
    auto lerp = [t](unsigned char x, unsigned char y) {
        return (unsigned char)(float(x) + (float(y) - float(x)) * t + 0.5f);
    };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}
// Each channel times k, clamped to 0..255.
inline Rgb Scale(Rgb c, float k) {
    auto scale = [k](unsigned char v) {
        const float s = float(v) * k;
        return (unsigned char)(s < 0.0f ? 0.0f : s > 255.0f ? 255.0f : s);
    };
    return {scale(c.r), scale(c.g), scale(c.b)};
}

// Smooth value noise in 0..1 over a lattice of `cell` pixels, repeating every
// `period` cells so that a texture built from it tiles.
float ValueNoise(float x, float y, int cell, int period, unsigned seed);
// Four octaves of ValueNoise, still in 0..1.
float FractalNoise(float x, float y, int cell, int period, unsigned seed);

// Writes all four channels of one pixel; outside the image nothing happens.
void PutRgba(RgbaImage& image, int x, int y, Rgba c);
// Fills the whole picture, alpha included.
void Clear(RgbaImage& image, Rgba c);
// The soft shapes below are laid over what is there ("over" compositing):
// on a transparent picture they set colour and alpha, on an opaque one they
// blend into it.
// A filled disc whose alpha falls from `c.a` at `softFrom` (a fraction of the
// radius) to 0 at the rim.
void SoftDisc(RgbaImage& image, float cx, float cy, float radius, float softFrom, Rgba c);
// A ring of the given width around `radius`, alpha falling off to both sides.
void SoftRing(RgbaImage& image, float cx, float cy, float radius, float width, Rgba c);
// A straight line of the given width with soft edges (alpha only).
void SoftLine(RgbaImage& image, float x0, float y0, float x1, float y1, float width, Rgba c);
// A rectangle of flat colour with full alpha, corners inclusive-exclusive.
void FillRgba(RgbaImage& image, int x0, int y0, int x1, int y1, Rgba c);
// A rectangle outline `thickness` pixels wide.
void FrameRect(RgbaImage& image, int x0, int y0, int x1, int y1, int thickness, Rgb c);

// Copies all of `source` (alpha included) into `target` at (x, y).
void Blit(RgbaImage& target, const RgbaImage& source, int x, int y);

// Writes the picture as "<runDir>/<relative>"; false (with a message) when
// the folder or the file cannot be written.
bool WriteImage(const std::string& runDir, const std::string& relative, const RgbaImage& image);
