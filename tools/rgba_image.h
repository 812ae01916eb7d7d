// RgbaImage: an 8-bit RGBA canvas for generated pictures, row 0 at the top.
#pragma once

#include <cstddef>
#include <vector>

struct Rgb {
    unsigned char r, g, b;
};

struct RgbaImage {
    RgbaImage(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4, 255) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    unsigned char* At(int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; }
    void Put(int x, int y, Rgb c) {
        if (!Contains(x, y)) return;
        unsigned char* p = At(x, y);
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
    }
    // Mixes colour c over the pixel with coverage 0..255 (alpha stays opaque).
    void Blend(int x, int y, Rgb c, unsigned coverage) {
        if (!Contains(x, y)) return;
        unsigned char* p = At(x, y);
        const unsigned char src[3] = {c.r, c.g, c.b};
        for (int i = 0; i < 3; ++i) p[i] = (unsigned char)((src[i] * coverage + p[i] * (255 - coverage)) / 255);
    }
    void FillRect(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Put(x, y, c);
    }

    int width;
    int height;
    std::vector<unsigned char> pixels;
};
