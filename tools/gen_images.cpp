#include "gen_images.h"

#include "game_paths.h"
#include "paint.h"

namespace {

// Hull plates for the skinned drone: teal panels with orange seams.
RgbaImage DroneTexture() {
    RgbaImage image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool seam = x % 16 == 0 || y % 16 == 0;
            bool rivet = x % 16 == 3 && y % 16 == 3;
            image.Put(x, y, seam ? Rgb{240, 120, 20} : rivet ? Rgb{30, 30, 30}
                                                            : Mix({0, 120, 130}, {0, 170, 160}, y / 63.0f));
        }
    return image;
}

// A plain crate: wooden boards with a dark frame and a cross brace.
RgbaImage BoxTexture() {
    RgbaImage image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool frame = x < 5 || y < 5 || x > 58 || y > 58;
            bool brace = (x - y >= -3 && x - y <= 3);
            bool grain = y % 8 == 0;
            image.Put(x, y, frame || brace ? Rgb{90, 55, 25} : grain ? Rgb{150, 100, 50} : Rgb{180, 125, 65});
        }
    return image;
}

}  // namespace

bool GenerateImages(const std::string& runDir) {
    const std::string textures = paths::kTextures;
    return WriteImage(runDir, textures + "drone.png", DroneTexture()) && WriteImage(runDir, textures + "box.png", BoxTexture());
}
