#include "gen_images.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game_paths.h"
#include "paint.h"
#include "palette.h"

namespace {

// Hull plates for the skinned drone (a test model): enemy steel with cyan
// seams.
RgbaImage DroneTexture() {
    using namespace palette;
    RgbaImage image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool seam = x % 16 == 0 || y % 16 == 0;
            bool rivet = x % 16 == 3 && y % 16 == 3;
            image.Put(x, y, seam ? kEnemyMark : rivet ? kPanelLine : Mix(kEnemyHull, kMetalPale, y / 126.0f));
        }
    return image;
}

// One face of the supply crate "tex_crate" (every face of the unit cube
// shows the whole picture): a dark steel frame round rusty olive boards
// with a cross brace, shadowed inside the frame, worn at the corners.
RgbaImage CrateTexture() {
    using namespace palette;
    const int size = 64;
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float grime = FractalNoise(float(x), float(y), 16, 4, 61);
            const int edge = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            const bool brace = std::abs(x - y) < 4 || std::abs(x + y - (size - 1)) < 4;
            Rgb colour;
            if (edge < 5) {
                colour = Scale(kMetalDark, 0.85f + 0.3f * grime);
                if (edge < 1) colour = Scale(colour, 0.6f);
                if (edge == 4) colour = Mix(colour, kMetalPale, 0.25f);  // the frame's inner bevel
                if ((x - 2) % 20 == 0 && (y - 2) % 20 == 0) colour = kPanelLine;
            } else if (brace) {
                colour = Scale(Mix(kAmmoOlive, kRockDark, 0.35f), 0.9f + 0.25f * grime);
            } else {
                colour = Scale(kAmmoOlive, 0.8f + 0.3f * grime);
                if ((y - 5) % 9 < 1) colour = Scale(colour, 0.6f);  // gaps between boards
                colour = Mix(colour, kRust, 0.35f * std::max(0.0f, grime - 0.45f) * 2.0f);
                colour = Mix(kShadow, colour, 0.55f + 0.45f * std::min(1.0f, float(edge - 5) / 6.0f));
            }
            image.Put(x, y, colour);
        }
    return image;
}

}  // namespace

bool GenerateImages(const std::string& runDir) {
    const std::string textures = paths::kTextures;
    return WriteImage(runDir, textures + "drone.png", DroneTexture()) && WriteImage(runDir, textures + "box.png", CrateTexture());
}
