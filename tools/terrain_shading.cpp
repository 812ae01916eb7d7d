#include "terrain_shading.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "paint.h"
#include "palette.h"

namespace {

float Smoothstep(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// World heights on the colour map's grid: column i at x = (i + 0.5) * cell,
// line j at z = (j + 0.5) * cell, read with bilinear filtering.
class HeightGrid {
public:
    HeightGrid(const GroundHeight& height, int size, float mapSize, float heightRange)
        : n(size), cell(mapSize / float(size)), heights(size_t(size) * size_t(size)) {
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                heights[size_t(j) * size_t(n) + size_t(i)] =
                    heightRange * height((float(i) + 0.5f) / float(n), (float(j) + 0.5f) / float(n));
    }
    float At(int i, int j) const {
        return heights[size_t(std::clamp(j, 0, n - 1)) * size_t(n) + size_t(std::clamp(i, 0, n - 1))];
    }
    // At world (x, z).
    float Sample(float x, float z) const {
        const float fx = x / cell - 0.5f, fz = z / cell - 0.5f;
        const int i = int(std::floor(fx)), j = int(std::floor(fz));
        const float tx = fx - float(i), tz = fz - float(j);
        return (At(i, j) * (1.0f - tx) + At(i + 1, j) * tx) * (1.0f - tz) + (At(i, j + 1) * (1.0f - tx) + At(i + 1, j + 1) * tx) * tz;
    }
    // The unit normal from the slope across `reach` cells each way.
    void Normal(int i, int j, int reach, float& nx, float& ny, float& nz) const {
        const float span = 2.0f * float(reach) * cell;
        const float dx = (At(i + reach, j) - At(i - reach, j)) / span, dz = (At(i, j + reach) - At(i, j - reach)) / span;
        const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
        nx = -dx / length, ny = 1.0f / length, nz = -dz / length;
    }
    // How far the ground here lies below its surroundings (world units):
    // positive in gullies and hollows.
    float Hollow(int i, int j, int reach) const {
        float around = 0.0f;
        for (int k = 0; k < 8; ++k) {
            const float a = float(k) * 0.7853982f;
            around += At(i + int(std::lround(std::cos(a) * float(reach))), j + int(std::lround(std::sin(a) * float(reach))));
        }
        return around / 8.0f - At(i, j);
    }
    int n;
    float cell;

private:
    std::vector<float> heights;
};

struct Sun {
    float x, y, z;  // unit, towards the sun
    float rise;     // height gained per unit walked towards it
    float dx, dz;   // unit, along the ground towards it
};

Sun TheSun(const palette::Direction& d) {
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), flat = std::hypot(d.x, d.z);
    return {d.x / length, d.y / length, d.z / length, d.y / flat, d.x / flat, d.z / flat};
}

// 0 in full sun, up to 1 where higher ground stands between the point and
// the sun; soft at the shadow's edge.
float CastShadow(const HeightGrid& grid, float x, float z, float h, const Sun& sun) {
    float shadow = 0.0f;
    for (float t = grid.cell; t < 80.0f * grid.cell; t += grid.cell) {
        const float above = grid.Sample(x + sun.dx * t, z + sun.dz * t) - (h + sun.rise * t);
        shadow = std::max(shadow, Smoothstep(-2.0f, 6.0f, above));
        if (shadow >= 1.0f) break;
    }
    return shadow;
}

float Lambert(const HeightGrid& grid, int i, int j, int reach, const Sun& sun) {
    float nx, ny, nz;
    grid.Normal(i, j, reach, nx, ny, nz);
    return std::max(0.0f, nx * sun.x + ny * sun.y + nz * sun.z);
}

// The ground's own colour: by height, paler on crests, patches of redder
// dust, rock on steep faces (faintly banded), mottled.
Rgb Ground(const GroundLook& look, float h, float slope, float top, float crest, int i, int j) {
    const float t = std::clamp(h / std::max(top, 1.0f), 0.0f, 1.0f);
    Rgb colour = t < 0.5f ? Mix(look.low, look.mid, t * 2.0f) : Mix(look.mid, look.high, (t - 0.5f) * 2.0f);
    colour = Mix(colour, Mix(colour, palette::kRust, 0.5f), 0.6f * Smoothstep(0.45f, 0.7f, FractalNoise(float(i), float(j), 64, 4, look.seed + 9)));
    colour = Mix(colour, look.high, 0.45f * Smoothstep(0.5f, 8.0f, crest));
    const float mottle = FractalNoise(float(i), float(j), 24, 16, look.seed);
    colour = Scale(colour, 0.84f + 0.26f * mottle);
    const float rockiness = Smoothstep(0.22f, 0.6f, slope + 0.2f * (mottle - 0.5f));
    const float bands = 0.5f + 0.5f * std::sin(h * 0.3f + mottle * 5.0f);
    const Rgb rock = Scale(Mix(look.rock, palette::kRockDark, 0.25f * bands), 0.9f + 0.2f * mottle);
    return Mix(colour, rock, rockiness);
}

}  // namespace

RgbaImage ShadeGround(const GroundHeight& height, const GroundMarks& marks, const GroundLook& look,
                      const palette::Direction& towardsSun, int size, float mapSize, float heightRange) {
    const HeightGrid grid(height, size, mapSize, heightRange);
    const Sun sun = TheSun(towardsSun);
    float top = 0.0f;
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) top = std::max(top, grid.At(i, j));
    // The ground mesh's cells are about this many colour-map pixels wide:
    // the relief finer than them is baked here, the rest is lit in play.
    const int meshCell = std::max(1, size / 40);
    RgbaImage image(size, size);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const float x = (float(i) + 0.5f) * grid.cell, z = (float(j) + 0.5f) * grid.cell, h = grid.At(i, j);
            float nx, ny, nz;
            grid.Normal(i, j, 1, nx, ny, nz);
            const float slope = std::sqrt(std::max(0.0f, 1.0f - ny * ny)) / std::max(ny, 0.05f);
            const float around = grid.Hollow(i, j, 3);
            Rgb colour = Ground(look, h, slope, top, -around, i, j);
            if (marks) marks(x, z, colour);
            const float relief = Lambert(grid, i, j, 1, sun) - Lambert(grid, i, j, meshCell, sun);
            const float hollow = Smoothstep(0.5f, 12.0f, around);
            const float shadow = CastShadow(grid, x, z, h, sun);
            colour = Scale(colour, std::clamp(1.0f + 0.6f * relief, 0.6f, 1.3f));
            colour = Mix(colour, palette::kShadow, 0.5f * hollow + 0.35f * shadow);
            image.Put(i, size - 1 - j, colour);
        }
    return image;
}
