#include "gen_model_textures.h"

#include <cmath>

#include "game_paths.h"
#include "paint.h"

namespace {

const int kSize = 128;

struct Livery {
    Rgb plate;
    Rgb seam;
    Rgb trim;
    unsigned seed;
};

// Weathered plates split by seams, a trim band at the top, rivets in the
// corners of each plate.
RgbaImage ArmourPanel(const Livery& livery) {
    RgbaImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float wear = FractalNoise(float(x), float(y), 32, 4, livery.seed);
            Rgb colour = Scale(livery.plate, 0.8f + 0.4f * wear);
            if (y < 14) colour = (x / 8 + y / 8) % 2 ? livery.trim : Scale(livery.trim, 0.35f);
            if (x % 64 < 2 || y % 64 < 2) colour = livery.seam;
            bool rivet = (x % 64 == 6 || x % 64 == 57) && (y % 64 == 6 || y % 64 == 57) && y >= 14;
            image.Put(x, y, rivet ? Scale(livery.plate, 0.4f) : colour);
        }
    return image;
}

RgbaImage MissileSkin() {
    RgbaImage image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool band = (x / 8) % 4 == 1;
            image.Put(x, y, band ? Rgb{200, 30, 25} : Mix({235, 235, 230}, {190, 190, 185}, float(y) / 63.0f));
        }
    return image;
}

// An olive crate with hazard stripes: missile ammunition.
RgbaImage AmmoSkin() {
    RgbaImage image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool stripe = y > 44 && ((x + y) / 6) % 2 == 0;
            bool frame = x < 4 || y < 4 || x > 59 || y > 59;
            image.Put(x, y, frame ? Rgb{40, 45, 25} : stripe ? Rgb{240, 200, 30} : Rgb{95, 110, 50});
        }
    image.FillRect(14, 16, 50, 26, {240, 200, 30});
    image.FillRect(44, 12, 52, 30, {240, 200, 30});
    return image;
}

// White with a red cross: hull repair.
RgbaImage HealthSkin() {
    RgbaImage image(64, 64);
    image.FillRect(0, 0, 64, 64, {235, 235, 235});
    FrameRect(image, 0, 0, 64, 64, 4, {150, 150, 150});
    image.FillRect(26, 10, 38, 54, {210, 25, 25});
    image.FillRect(10, 26, 54, 38, {210, 25, 25});
    return image;
}

// Dark metal with glowing concentric rings: the pad enemies arrive on.
RgbaImage SpawnPadSkin() {
    RgbaImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            image.Put(x, y, Scale({70, 75, 85}, 0.8f + 0.3f * FractalNoise(float(x), float(y), 16, 8, 3)));
    for (float radius : {20.0f, 38.0f, 56.0f}) SoftRing(image, 64.0f, 64.0f, radius, 4.0f, {60, 230, 255, 255});
    return image;
}

// Concrete with a grid of lit and dark windows.
RgbaImage BuildingSkin() {
    RgbaImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            Rgb concrete = Scale({150, 140, 130}, 0.8f + 0.3f * FractalNoise(float(x), float(y), 16, 8, 17));
            bool window = x % 16 >= 4 && x % 16 < 12 && y % 16 >= 3 && y % 16 < 12;
            bool lit = ValueNoise(float(x / 16), float(y / 16), 1, 8, 23) > 0.6f;
            image.Put(x, y, window ? (lit ? Rgb{250, 220, 140} : Rgb{30, 35, 45}) : concrete);
        }
    return image;
}

RgbaImage GreyPanels() {
    return ArmourPanel({{128, 130, 135}, {60, 62, 66}, {90, 92, 96}, 41});
}

}  // namespace

bool GenerateModelTextures(const std::string& runDir) {
    const std::string folder = paths::kTextures;
    return WriteImage(runDir, folder + "medium_mech.png", ArmourPanel({{125, 120, 70}, {50, 48, 30}, {230, 180, 30}, 1})) &&
           WriteImage(runDir, folder + "medium_mech_super.png", ArmourPanel({{150, 30, 30}, {60, 10, 10}, {240, 200, 60}, 2})) &&
           WriteImage(runDir, folder + "heavy_mech.png", ArmourPanel({{85, 95, 110}, {35, 40, 48}, {230, 110, 20}, 3})) &&
           WriteImage(runDir, folder + "heavy_mech_super.png", ArmourPanel({{35, 30, 45}, {10, 8, 14}, {190, 60, 255}, 4})) &&
           WriteImage(runDir, folder + "missile.png", MissileSkin()) &&
           WriteImage(runDir, folder + "pickup_ammo.png", AmmoSkin()) &&
           WriteImage(runDir, folder + "pickup_health.png", HealthSkin()) &&
           WriteImage(runDir, folder + "spawn_point.png", SpawnPadSkin()) &&
           WriteImage(runDir, folder + "building.png", BuildingSkin()) &&
           WriteImage(runDir, folder + "grey.png", GreyPanels());
}
