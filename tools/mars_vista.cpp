#include "mars_vista.h"

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

// One band of land between the sky and the viewer.
struct Layer {
    float base;       // foot of the ridge line, fraction of the height
    float amplitude;  // how high its ridges rise, fraction of the height
    int cell;         // width of its hills in pixels
    float mesa;       // 0 rolling, 1 flat-topped with steep sides
    Rgb colour;
    float haze;       // how far it has faded into the air
    float ripples;    // dune ripples on its face (0 none)
};

std::vector<Layer> Layers(float horizon) {
    using namespace palette;
    return {{horizon, 0.15f, 170, 1.0f, Mix(kRock, kDustDeep, 0.3f), 0.55f, 0.0f},
            {horizon + 0.07f, 0.09f, 110, 0.0f, Mix(kRockDark, kDustDeep, 0.5f), 0.32f, 0.0f},
            {horizon + 0.19f, 0.05f, 260, 0.0f, kDust, 0.14f, 1.0f},
            {horizon + 0.31f, 0.035f, 340, 0.0f, Mix(kDust, kDustDeep, 0.6f), 0.0f, 1.6f}};
}

// The ridge's top row at column x (fractional rows). Mesas are two tiers
// of flat tops with steep sides, worn a little; other ridges are ridged noise.
float Ridge(const Layer& layer, int height, float x, unsigned seed) {
    float n = FractalNoise(x, 0.0f, layer.cell, 64, seed);
    float tiers = 0.6f * Smoothstep(0.46f, 0.5f, n) + 0.4f * Smoothstep(0.5f, 0.53f, FractalNoise(x, 7.0f, layer.cell / 2, 64, seed + 1));
    float wear = 0.08f * FractalNoise(x, 3.0f, 12, 64, seed + 2);
    float ridged = 1.0f - std::fabs(2.0f * n - 1.0f);
    float profile = layer.mesa * (tiers * (0.92f + wear) + 0.05f * n) + (1.0f - layer.mesa) * (0.5f * n + 0.5f * ridged * ridged);
    return (layer.base - layer.amplitude * profile) * float(height);
}

Rgb SkyAt(int x, int y, int width, float horizonRow, const VistaLook& look) {
    using namespace palette;
    float t = std::clamp(float(y) / horizonRow, 0.0f, 1.0f);
    Rgb sky = t < 0.55f ? Mix(kSkyZenith, kSkyHigh, t / 0.55f) : Mix(kSkyHigh, kSkyHorizon, (t - 0.55f) / 0.45f);
    // Night falls from the top: the horizon keeps a thin warm glow longest.
    sky = Mix(sky, Mix(kNight, kSkyZenith, t * 0.8f), look.night * (1.0f - 0.5f * std::pow(t, 6.0f)));
    float dx = (float(x) - look.sunX * float(width)) / float(width);
    float dy = (float(y) - look.sunY * horizonRow / look.horizon) / float(width);
    float d = std::hypot(dx, dy * 1.6f);
    float day = 1.0f - look.night;
    sky = Mix(sky, kSunGlow, day * 0.55f * std::exp(-d * 5.0f));
    sky = Mix(sky, kSunDisc, day * 0.5f * std::exp(-d * 22.0f));
    float disc = std::hypot(dx, dy);
    sky = Mix(sky, kSunDisc, day * std::clamp((0.02f - disc) * float(width) + 0.5f, 0.0f, 1.0f));
    // Thin high clouds, stretched along the horizon, lit from the sun's side.
    float n = FractalNoise(float(x), float(y) * 5.0f, 160, 64, look.seed + 31);
    float cloud = Smoothstep(0.56f, 0.78f, n) * Smoothstep(0.05f, 0.35f, t) * (1.0f - Smoothstep(0.8f, 1.0f, t));
    Rgb lit = Mix(Scale(kCloud, 0.55f), kCloud, std::exp(-std::fabs(dx) * 3.0f));
    sky = Mix(sky, Mix(lit, kSkyHigh, look.night * 0.85f), cloud * 0.55f);
    // Stars, only where the sky has gone dark.
    if (look.night > 0.0f && ValueNoise(float(x), float(y), 1, 4096, look.seed + 77) > 0.9975f) {
        float twinkle = 0.5f + 0.5f * ValueNoise(float(x), float(y), 1, 4096, look.seed + 78);
        sky = Mix(sky, kText, look.night * twinkle * (1.0f - t));
    }
    return sky;
}

Rgb LandAt(const Layer& layer, int x, int y, float ridge, const VistaLook& look, unsigned seed) {
    using namespace palette;
    float depth = float(y) - ridge;
    // Broad mottling rather than fine grain: the picture stays quick to load.
    float grain = FractalNoise(float(x), float(y) * 2.0f, 48, 64, seed + 5);
    float light = 0.84f + 0.2f * grain;
    if (layer.mesa > 0.0f) light *= 0.96f + 0.04f * std::sin(float(y) * 0.5f + grain * 4.0f);  // strata
    if (layer.ripples > 0.0f)
        light *= 1.0f + 0.05f * layer.ripples * std::sin(float(x) * 0.045f + float(y) * 0.7f + grain * 9.0f);
    float sunward = look.sunX > 0.5f ? float(x) / 800.0f : 1.0f - float(x) / 800.0f;
    light += (1.0f - look.night) * 0.35f * std::exp(-depth / 3.0f) * (0.4f + 0.6f * std::clamp(sunward, 0.0f, 1.0f));
    light *= 1.0f - 0.28f * Smoothstep(0.0f, 160.0f, depth);
    Rgb land = Scale(layer.colour, light);
    // Against the low sun the distance is a dusky silhouette, not bright air.
    land = Mix(land, Mix(kSkyHorizon, kRockDark, 0.4f), layer.haze * (1.0f - look.night));
    return Mix(land, Mix(kShadow, kNight, 0.5f), look.night * (0.75f - 0.35f * layer.haze));
}

// A settlement on the middle ridge: a cluster of towers and domes, dark
// against the haze, with a few lit windows.
void Settlement(RgbaImage& image, const std::vector<float>& ridge, const Layer& layer, unsigned seed) {
    const float s = float(image.width) / 800.0f;
    const int first = image.width * 14 / 100, last = image.width * 30 / 100;
    const Rgb body = Mix(Mix(layer.colour, palette::kMetalDark, 0.4f), Mix(palette::kSkyHorizon, palette::kRockDark, 0.4f), 0.4f);
    for (int x0 = first; x0 < last;) {
        const float centre = 1.0f - std::fabs(float(x0 - first) / float(last - first) * 2.0f - 1.0f);
        const int w = int((4.0f + ValueNoise(float(x0), 3.0f, 1, 4096, seed) * 6.0f) * s);
        const int h = int((8.0f + (10.0f + 34.0f * centre) * ValueNoise(float(x0), 9.0f, 1, 4096, seed + 1)) * s);
        const int foot = int(ridge[size_t(x0)] + 8.0f * s);
        if (ValueNoise(float(x0), 4.0f, 1, 4096, seed + 4) > 0.75f) {
            SoftDisc(image, float(x0) + float(w), float(foot - h / 3), float(w), 0.9f, {body.r, body.g, body.b, 255});
        } else {
            image.FillRect(x0, foot - h, x0 + w, foot, body);
            image.FillRect(x0, foot - h, x0 + w, foot - h + 1, Mix(body, palette::kSkyHorizon, 0.5f));
        }
        for (int wy = foot - h + 3; wy < foot - 4; wy += 4)
            for (int wx = x0 + 2; wx < x0 + w - 1; wx += 3)
                if (ValueNoise(float(wx), float(wy), 1, 4096, seed + 2) > 0.85f)
                    image.Put(wx, wy, Mix(palette::kWindowLit, body, 0.3f));
        x0 += w + int(ValueNoise(float(x0), 5.0f, 1, 4096, seed + 3) * 5.0f * s);
    }
}

// Boulders on the nearest ground: lit on the sun's side, each with its
// shadow cast away from the sun.
void Boulders(RgbaImage& image, const std::vector<float>& ridge, const VistaLook& look) {
    using namespace palette;
    const float s = float(image.width) / 800.0f, away = look.sunX > 0.5f ? -1.0f : 1.0f;
    for (int i = 0; i < 14; ++i) {
        const float x = ValueNoise(float(i), 1.0f, 1, 4096, look.seed + 40) * float(image.width);
        const float top = ridge[size_t(std::clamp(int(x), 0, image.width - 1))];
        const float y = top + (10.0f + ValueNoise(float(i), 2.0f, 1, 4096, look.seed + 41) * (float(image.height) - top - 10.0f));
        const float r = (2.0f + 10.0f * std::pow((y - top) / (float(image.height) - top), 1.5f)) * s;
        SoftDisc(image, x + away * r * 1.4f, y + r * 0.35f, r * 1.5f, 0.2f, {kShadow.r, kShadow.g, kShadow.b, 110});
        for (int k = 0; k < 3; ++k) {
            const float shade = 0.55f + 0.25f * float(k);
            const Rgb stone = Mix(Mix(Scale(kRock, shade), kDust, 0.2f), kNight, look.night * 0.75f);
            SoftDisc(image, x - away * r * 0.15f * float(k), y - r * 0.2f * float(k), r * (1.0f - 0.22f * float(k)), 0.8f,
                     {stone.r, stone.g, stone.b, 255});
        }
    }
}

using Ridges = std::vector<std::vector<float>>;

// Lays the layers [first, last) over the picture; with `sky` the picture is
// first filled with the sky.
void DrawLand(RgbaImage& image, const std::vector<Layer>& layers, const Ridges& ridges, size_t first, size_t last,
              const VistaLook& look, bool sky) {
    const float horizonRow = look.horizon * float(image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            // Only the nearest layer that covers the pixel whole and those
            // in front of it show.
            size_t from = first;
            for (size_t k = first; k < last; ++k)
                if (float(y) - ridges[k][size_t(x)] >= 0.0f) from = k;
            const bool covered = float(y) - ridges[from][size_t(x)] >= 0.0f;
            const unsigned char* p = image.At(x, y);
            Rgb colour = sky && !covered ? SkyAt(x, y, image.width, horizonRow, look) : Rgb{p[0], p[1], p[2]};
            for (size_t k = from; k < last; ++k) {
                const float ridge = ridges[k][size_t(x)];
                const float cover = std::clamp(float(y) + 1.0f - ridge, 0.0f, 1.0f);
                if (cover > 0.0f) colour = Mix(colour, LandAt(layers[k], x, y, ridge, look, look.seed + unsigned(k)), cover);
            }
            image.Put(x, y, colour);
        }
}

}  // namespace

RgbaImage MarsVista(int width, int height, const VistaLook& look) {
    RgbaImage image(width, height);
    const std::vector<Layer> layers = Layers(look.horizon);
    Ridges ridges(layers.size(), std::vector<float>(size_t(width)));
    for (size_t k = 0; k < layers.size(); ++k)
        for (int x = 0; x < width; ++x)
            ridges[k][size_t(x)] = Ridge(layers[k], height, float(x), look.seed + unsigned(k) * 17);
    // The settlement stands on the middle ridge, behind the nearer dunes.
    DrawLand(image, layers, ridges, 0, 2, look, true);
    if (look.settlement) Settlement(image, ridges[1], layers[1], look.seed + 91);
    DrawLand(image, layers, ridges, 2, layers.size(), look, false);
    Boulders(image, ridges[3], look);
    return image;
}

void Vignette(RgbaImage& image, float amount) {
    const float cx = float(image.width) / 2.0f, cy = float(image.height) / 2.0f;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            float r = std::hypot((float(x) - cx) / cx, (float(y) - cy) / cy) / std::sqrt(2.0f);
            unsigned char* p = image.At(x, y);
            Rgb shaded = Scale({p[0], p[1], p[2]}, 1.0f - amount * Smoothstep(0.35f, 1.0f, r));
            p[0] = shaded.r, p[1] = shaded.g, p[2] = shaded.b;
        }
}

void ShadeEllipse(RgbaImage& image, float cx, float cy, float rx, float ry, float amount) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            float dx = (float(x) / float(image.width) - cx) / rx, dy = (float(y) / float(image.height) - cy) / ry;
            float cover = std::exp(-(dx * dx + dy * dy) * 1.5f);
            unsigned char* p = image.At(x, y);
            Rgb shaded = Mix({p[0], p[1], p[2]}, palette::kNight, amount * cover);
            p[0] = shaded.r, p[1] = shaded.g, p[2] = shaded.b;
        }
}

