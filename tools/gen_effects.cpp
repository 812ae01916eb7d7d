#include "gen_effects.h"

#include <algorithm>
#include <cmath>

#include "game_paths.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kPi = 3.14159265f;
const int kFirstFlash = 4, kFirstStreak = 8, kFirstDebris = 12;
const int kRingCell = 20, kDustCell = 21, kSparkCell = 22;

Rgba WithAlpha(Rgb c, unsigned char a) { return {c.r, c.g, c.b, a}; }

// A blank canvas the size of one cell; shapes keep a few pixels off its
// border so that neighbouring cells never bleed into each other.
RgbaImage CellCanvas(const AtlasCell& cell, Rgb colour) {
    RgbaImage canvas(cell.x1 - cell.x0 + 1, cell.y1 - cell.y0 + 1);
    Clear(canvas, {colour.r, colour.g, colour.b, 0});
    return canvas;
}

// A puff whose edge is broken up by noise; light grey so particles tint it.
void Puff(RgbaImage& canvas, unsigned seed, Rgb colour, float density) {
    float c = canvas.width / 2.0f, radius = c - 6.0f;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            float d = std::hypot(float(x) + 0.5f - c, float(y) + 0.5f - c) / radius;
            float n = FractalNoise(float(x), float(y), 32, 8, seed);
            float a = std::clamp((1.0f - d) * 1.6f, 0.0f, 1.0f) * (0.45f + 0.55f * n) * density;
            Rgb shade = Mix(colour, Scale(colour, 0.7f), n);
            PutRgba(canvas, x, y, {shade.r, shade.g, shade.b, (unsigned char)(255.0f * a)});
        }
}

// A hot core with a few rays; the variant turns the rays.
void Flash(RgbaImage& canvas, int variant) {
    float c = canvas.width / 2.0f;
    SoftDisc(canvas, c, c, c - 6.0f, 0.0f, WithAlpha(Mix(palette::kFire, palette::kSunGlow, 0.3f), 150));
    int rays = 5 + variant;
    for (int i = 0; i < rays; ++i) {
        float angle = float(i) * 2.0f * kPi / float(rays) + float(variant) * 0.4f;
        float length = (c - 8.0f) * (i % 2 ? 0.7f : 1.0f);
        SoftLine(canvas, c, c, c + std::cos(angle) * length, c + std::sin(angle) * length, 6.0f,
                 WithAlpha(Mix(palette::kFire, palette::kInk, 0.4f), 220));
    }
    SoftDisc(canvas, c, c, c * 0.35f, 0.3f, WithAlpha(Mix(palette::kSunDisc, palette::kInk, 0.7f), 255));
}

// A long soft streak along the cell (the strips are unused by the effects,
// but a defined cell should still show something sensible).
void Streak(RgbaImage& canvas) {
    float cy = canvas.height / 2.0f, width = canvas.height * 0.5f, inset = width * 0.5f + 6.0f;
    SoftLine(canvas, inset, cy, canvas.width - inset, cy, width, WithAlpha(palette::kSunDisc, 200));
}

// An irregular opaque chunk of rock or metal.
void Debris(RgbaImage& canvas, int variant) {
    float c = canvas.width / 2.0f;
    Rgb stone = Mix(palette::kRock, palette::kRockPale, float(variant) / 7.0f);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            float dx = float(x) + 0.5f - c, dy = float(y) + 0.5f - c;
            float angle = std::atan2(dy, dx);
            float edge = (c - 6.0f) * (0.65f + 0.35f * ValueNoise(angle * 3.0f + 10.0f, float(variant) * 5.0f, 1, 7, 7));
            float d = std::hypot(dx, dy);
            if (d > edge) continue;
            Rgb shade = Scale(stone, 0.75f + 0.5f * FractalNoise(float(x), float(y), 8, 8, unsigned(variant)));
            PutRgba(canvas, x, y, {shade.r, shade.g, shade.b, (unsigned char)(d > edge - 1.5f ? 128 : 255)});
        }
}

void Sparks(RgbaImage& canvas) {
    float c = canvas.width / 2.0f;
    for (int i = 0; i < 12; ++i) {
        float angle = float(i) * 2.0f * kPi / 12.0f + 0.2f;
        float inner = 10.0f + 6.0f * float(i % 3), outer = c - 8.0f - 10.0f * float(i % 2);
        SoftLine(canvas, c + std::cos(angle) * inner, c + std::sin(angle) * inner, c + std::cos(angle) * outer,
                 c + std::sin(angle) * outer, 3.0f, WithAlpha(palette::kFire, 255));
    }
    SoftDisc(canvas, c, c, 8.0f, 0.2f, WithAlpha(Mix(palette::kFire, palette::kInk, 0.6f), 255));
}

RgbaImage ParticleAtlas() {
    RgbaImage atlas(kParticleAtlasSize, kParticleAtlasSize);
    Clear(atlas, WithAlpha(palette::kInk, 0));
    for (int index = 0; index < kParticleCellCount; ++index) {
        const AtlasCell& cell = kParticleCells[index];
        RgbaImage canvas = CellCanvas(cell, palette::kInk);
        if (index < kFirstFlash) Puff(canvas, unsigned(index) + 1, Scale(palette::kInk, 0.88f), 0.9f);
        else if (index < kFirstStreak) Flash(canvas, index - kFirstFlash);
        else if (index < kFirstDebris) Streak(canvas);
        else if (index < kRingCell) Debris(canvas, index - kFirstDebris);
        else if (index == kRingCell) SoftRing(canvas, 60.0f, 60.0f, 46.0f, 8.0f, WithAlpha(Mix(palette::kSunDisc, palette::kInk, 0.5f), 230));
        else if (index == kDustCell) Puff(canvas, 40, Mix(palette::kDustPale, palette::kConcrete, 0.5f), 0.7f);
        else if (index == kSparkCell) Sparks(canvas);
        Blit(atlas, canvas, cell.x0, cell.y0);
    }
    return atlas;
}

// A bolt along x: a white-hot core inside a coloured glow.
RgbaImage ShotBolt(Rgb glow) {
    RgbaImage image(64, 32);
    Clear(image, {glow.r, glow.g, glow.b, 0});
    SoftLine(image, 10.0f, 16.0f, 54.0f, 16.0f, 24.0f, WithAlpha(glow, 180));
    SoftLine(image, 14.0f, 16.0f, 50.0f, 16.0f, 8.0f, WithAlpha(Mix(palette::kFire, palette::kInk, 0.7f), 255));
    return image;
}

}  // namespace

bool GenerateEffectImages(const std::string& runDir) {
    const std::string folder = paths::kTextures;
    return WriteImage(runDir, folder + "particles.png", ParticleAtlas()) &&
           WriteImage(runDir, folder + "shot_red.png", ShotBolt(palette::kPlayerShotGlow)) &&
           WriteImage(runDir, folder + "shot_blue.png", ShotBolt(palette::kEnemyShotGlow));
}
