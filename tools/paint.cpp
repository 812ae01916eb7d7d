#include "paint.h"

#include <algorithm>
#include <cmath>

#include "gen_common.h"
#include "png_writer.h"

namespace {

// A 0..1 value per lattice point, from an integer hash (no global state).
float Hash(int x, int y, unsigned seed) {
    unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFu) / 65535.0f;
}

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

int Wrap(int i, int period) { return ((i % period) + period) % period; }

// Coverage 0..1 of a soft edge: 1 inside `inner`, 0 beyond `outer`.
float Falloff(float d, float inner, float outer) {
    if (d <= inner) return 1.0f;
    if (d >= outer) return 0.0f;
    return 1.0f - Smooth((d - inner) / (outer - inner));
}

// Lays colour c with the given coverage over the pixel ("over" compositing):
// on a transparent pixel the colour is taken as it is, on an opaque one it is
// blended, so soft edges look right on both kinds of picture.
void Over(RgbaImage& image, int x, int y, Rgba c, float coverage) {
    if (!image.Contains(x, y) || coverage <= 0.0f) return;
    unsigned char* p = image.At(x, y);
    float a = float(c.a) / 255.0f * coverage, below = float(p[3]) / 255.0f * (1.0f - a);
    float out = a + below;
    if (out <= 0.0f) return;
    const unsigned char src[3] = {c.r, c.g, c.b};
    for (int i = 0; i < 3; ++i) p[i] = (unsigned char)((float(src[i]) * a + float(p[i]) * below) / out + 0.5f);
    p[3] = (unsigned char)(out * 255.0f + 0.5f);
}

}  // namespace

float ValueNoise(float x, float y, int cell, int period, unsigned seed) {
    float gx = x / float(cell), gy = y / float(cell);
    int x0 = int(std::floor(gx)), y0 = int(std::floor(gy));
    float tx = Smooth(gx - float(x0)), ty = Smooth(gy - float(y0));
    float a = Hash(Wrap(x0, period), Wrap(y0, period), seed);
    float b = Hash(Wrap(x0 + 1, period), Wrap(y0, period), seed);
    float c = Hash(Wrap(x0, period), Wrap(y0 + 1, period), seed);
    float d = Hash(Wrap(x0 + 1, period), Wrap(y0 + 1, period), seed);
    return (a + (b - a) * tx) * (1.0f - ty) + (c + (d - c) * tx) * ty;
}

float FractalNoise(float x, float y, int cell, int period, unsigned seed) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int octave = 0; octave < 4 && cell >= 1; ++octave) {
        sum += weight * ValueNoise(x, y, cell, period, seed + unsigned(octave));
        total += weight;
        weight *= 0.5f;
        cell /= 2;
        period *= 2;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

void PutRgba(RgbaImage& image, int x, int y, Rgba c) {
    if (!image.Contains(x, y)) return;
    unsigned char* p = image.At(x, y);
    p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
}

void Clear(RgbaImage& image, Rgba c) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) PutRgba(image, x, y, c);
}

void SoftDisc(RgbaImage& image, float cx, float cy, float radius, float softFrom, Rgba c) {
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
            float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
            Over(image, x, y, c, Falloff(d, radius * softFrom, radius));
        }
}

void SoftRing(RgbaImage& image, float cx, float cy, float radius, float width, Rgba c) {
    float reach = radius + width;
    for (int y = int(cy - reach) - 1; y <= int(cy + reach) + 1; ++y)
        for (int x = int(cx - reach) - 1; x <= int(cx + reach) + 1; ++x) {
            float d = std::fabs(std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) - radius);
            Over(image, x, y, c, Falloff(d, width * 0.3f, width));
        }
}

void SoftLine(RgbaImage& image, float x0, float y0, float x1, float y1, float width, Rgba c) {
    float dx = x1 - x0, dy = y1 - y0;
    float length2 = dx * dx + dy * dy;
    int left = int(std::min(x0, x1) - width) - 1, right = int(std::max(x0, x1) + width) + 1;
    int top = int(std::min(y0, y1) - width) - 1, bottom = int(std::max(y0, y1) + width) + 1;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            float px = float(x) + 0.5f - x0, py = float(y) + 0.5f - y0;
            float t = length2 > 0.0f ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0.0f;
            float d = std::hypot(px - t * dx, py - t * dy);
            Over(image, x, y, c, Falloff(d, width * 0.35f, width * 0.5f + 0.5f));
        }
}

void FillRgba(RgbaImage& image, int x0, int y0, int x1, int y1, Rgba c) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) PutRgba(image, x, y, c);
}

void FrameRect(RgbaImage& image, int x0, int y0, int x1, int y1, int thickness, Rgb c) {
    image.FillRect(x0, y0, x1, y0 + thickness, c);
    image.FillRect(x0, y1 - thickness, x1, y1, c);
    image.FillRect(x0, y0, x0 + thickness, y1, c);
    image.FillRect(x1 - thickness, y0, x1, y1, c);
}

void Blit(RgbaImage& target, const RgbaImage& source, int x, int y) {
    for (int row = 0; row < source.height; ++row)
        for (int col = 0; col < source.width; ++col) {
            const unsigned char* p = &source.pixels[(size_t(row) * source.width + col) * 4];
            PutRgba(target, x + col, y + row, {p[0], p[1], p[2], p[3]});
        }
}

bool WriteImage(const std::string& runDir, const std::string& relative, const RgbaImage& image) {
    std::string path = OutputPath(runDir, relative);
    return !path.empty() && WritePng(path, image);
}
