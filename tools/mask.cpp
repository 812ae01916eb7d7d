#include "mask.h"

#include <algorithm>
#include <cmath>

#include "paint.h"

namespace {

bool Inside(const std::vector<Point>& polygon, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

// One box-blur pass over `count` values from `first`, `step` apart, with
// the ends held at their last value.
void BoxPass(std::vector<float>& values, size_t first, int count, int step, int radius, std::vector<float>& line) {
    line.resize(size_t(count));
    for (int i = 0; i < count; ++i) line[size_t(i)] = values[first + size_t(i) * size_t(step)];
    auto at = [&](int i) { return line[size_t(std::clamp(i, 0, count - 1))]; };
    const float scale = 1.0f / float(2 * radius + 1);
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) sum += at(i);
    for (int i = 0; i < count; ++i) {
        values[first + size_t(i) * size_t(step)] = sum * scale;
        sum += at(i + radius + 1) - at(i - radius);
    }
}

}  // namespace

void FillPolygon(Mask& mask, const std::vector<Point>& polygon) {
    if (polygon.size() < 3) return;
    float left = polygon[0].x, right = left, top = polygon[0].y, bottom = top;
    for (const Point& p : polygon) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    for (int y = std::max(0, int(top) - 1); y <= std::min(mask.height - 1, int(bottom) + 1); ++y)
        for (int x = std::max(0, int(left) - 1); x <= std::min(mask.width - 1, int(right) + 1); ++x) {
            int hits = 0;
            for (int s = 0; s < 16; ++s)
                hits += Inside(polygon, float(x) + (float(s % 4) + 0.5f) / 4.0f, float(y) + (float(s / 4) + 0.5f) / 4.0f);
            if (hits) mask.Raise(x, y, float(hits) / 16.0f);
        }
}

void FillRect(Mask& mask, float x0, float y0, float x1, float y1, float soft) {
    auto edge = [soft](float inside) { return soft > 0.0f ? std::clamp(inside / soft + 0.5f, 0.0f, 1.0f) : (inside > 0.0f ? 1.0f : 0.0f); };
    for (int y = std::max(0, int(y0 - soft) - 1); y <= std::min(mask.height - 1, int(y1 + soft) + 1); ++y)
        for (int x = std::max(0, int(x0 - soft) - 1); x <= std::min(mask.width - 1, int(x1 + soft) + 1); ++x) {
            float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float c = edge(std::min(px - x0, x1 - px)) * edge(std::min(py - y0, y1 - py));
            if (c > 0.0f) mask.Raise(x, y, c);
        }
}

void Blur(Mask& mask, int radius) {
    if (radius < 1 || mask.left >= mask.right) return;
    // Only the covered area and the reach of three passes around it change.
    const int reach = 3 * radius + 1;
    mask.left = std::max(0, mask.left - reach), mask.right = std::min(mask.width, mask.right + reach);
    mask.top = std::max(0, mask.top - reach), mask.bottom = std::min(mask.height, mask.bottom + reach);
    std::vector<float> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = mask.top; y < mask.bottom; ++y)
            BoxPass(mask.cover, size_t(y) * size_t(mask.width) + size_t(mask.left), mask.right - mask.left, 1, radius, line);
        for (int x = mask.left; x < mask.right; ++x)
            BoxPass(mask.cover, size_t(mask.top) * size_t(mask.width) + size_t(x), mask.bottom - mask.top, mask.width, radius, line);
    }
}

void Boost(Mask& mask, float k) {
    for (float& c : mask.cover) c = std::min(1.0f, c * k);
}

void Lay(RgbaImage& image, const Mask& mask, Rgb colour, float opacity, int dx, int dy) {
    for (int y = std::max(0, mask.top + dy); y < std::min(image.height, mask.bottom + dy); ++y)
        for (int x = std::max(0, mask.left + dx); x < std::min(image.width, mask.right + dx); ++x) {
            const float c = mask.At(x - dx, y - dy) * opacity;
            if (c > 0.0f) image.Blend(x, y, colour, unsigned(std::lround(std::min(c, 1.0f) * 255.0f)));
        }
}

void LayGradient(RgbaImage& image, const Mask& mask, Rgb top, Rgb bottom, int y0, int y1, float opacity) {
    for (int y = std::max(0, mask.top); y < std::min(image.height, mask.bottom); ++y) {
        const Rgb colour = Mix(top, bottom, y1 > y0 ? float(y - y0) / float(y1 - y0) : 0.0f);
        for (int x = std::max(0, mask.left); x < std::min(image.width, mask.right); ++x) {
            const float c = mask.At(x, y) * opacity;
            if (c > 0.0f) image.Blend(x, y, colour, unsigned(std::lround(std::min(c, 1.0f) * 255.0f)));
        }
    }
}
