// Coverage masks for composing pictures: shapes and lettering are drawn into
// a Mask (coverage 0..1 per pixel, the size of the picture), which can be
// blurred into a glow or a shadow and then laid over the picture in a flat
// colour or a vertical gradient. Build time only; deterministic.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "rgba_image.h"

struct Mask {
    Mask(int w, int h) : width(w), height(h), cover(size_t(w) * h, 0.0f) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    float At(int x, int y) const { return Contains(x, y) ? cover[size_t(y) * width + x] : 0.0f; }
    // Raises the pixel's coverage to c (shapes drawn into one mask unite).
    void Raise(int x, int y, float c) {
        if (!Contains(x, y)) return;
        float& at = cover[size_t(y) * width + x];
        if (c > at) at = c;
        left = std::min(left, x), right = std::max(right, x + 1);
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
    }

    int width;
    int height;
    std::vector<float> cover;
    // The rows and columns that may hold coverage: [left, right) x [top, bottom).
    int left = 1 << 30, right = 0, top = 1 << 30, bottom = 0;
};

struct Point {
    float x, y;
};

// A filled polygon (any winding, even-odd rule) with 4 x 4 supersampled edges.
void FillPolygon(Mask& mask, const std::vector<Point>& polygon);
// A rectangle with soft edges `soft` pixels wide (0: hard, pixel-exact).
void FillRect(Mask& mask, float x0, float y0, float x1, float y1, float soft = 0.0f);

// Three box blurs of the given radius: close to a Gaussian of that size.
void Blur(Mask& mask, int radius);
// Coverage scaled by k and clamped to 1 (to thicken a blurred glow).
void Boost(Mask& mask, float k);

// Lays colour over the picture where the mask covers it, shifted by
// (dx, dy) pixels, at `opacity` times the coverage. Alpha stays opaque.
void Lay(RgbaImage& image, const Mask& mask, Rgb colour, float opacity = 1.0f, int dx = 0, int dy = 0);
// As Lay, the colour running from `top` at row y0 to `bottom` at row y1.
void LayGradient(RgbaImage& image, const Mask& mask, Rgb top, Rgb bottom, int y0, int y1, float opacity = 1.0f);
