#include "gen_images.h"

#include "game_paths.h"
#include "paint.h"
#include "text_render.h"

const Rgb kSplashCentreColour = {40, 220, 90};
const Rgb kLoadingCentreColour = {250, 210, 40};

namespace {

const char* const kGameTitle = "The Quellbrand";
const int kScreenWidth = 1024;
const int kScreenHeight = 768;
const Rgb kWhite = {255, 255, 255};

// A gradient from `from` to `to`, diagonal or top to bottom, a flat centre
// area and the title above it.
RgbaImage StartupPicture(Rgb from, Rgb to, bool diagonal, Rgb centre) {
    RgbaImage image(kScreenWidth, kScreenHeight);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            float t = diagonal ? float(x + y) / float(image.width + image.height - 2)
                               : float(y) / float(image.height - 1);
            image.Put(x, y, Mix(from, to, t));
        }
    }
    image.FillRect(image.width * 3 / 10, image.height * 4 / 10, image.width * 7 / 10,
                   image.height * 6 / 10, centre);
    return image;
}

bool WriteStartupPicture(const std::string& runDir, const std::string& relative, RgbaImage image) {
    if (!DrawCentredText(image, kGameTitle, image.width / 2, image.height * 28 / 100, 88, kWhite))
        return false;
    return WriteImage(runDir, relative, image);
}

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
    const Rgb magenta = {230, 20, 170}, orange = {255, 140, 0};
    const Rgb deepBlue = {15, 35, 140}, teal = {0, 165, 150};
    const std::string textures = paths::kTextures;
    return WriteStartupPicture(runDir, std::string(paths::kSlides) + "studio_logo_loading.png",
                               StartupPicture(magenta, orange, true, kSplashCentreColour)) &&
           WriteStartupPicture(runDir, "resource/art assets/loading.png",
                               StartupPicture(deepBlue, teal, false, kLoadingCentreColour)) &&
           WriteImage(runDir, textures + "drone.png", DroneTexture()) &&
           WriteImage(runDir, textures + "box.png", BoxTexture());
}
