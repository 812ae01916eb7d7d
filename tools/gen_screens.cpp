#include "gen_screens.h"

#include <algorithm>
#include <cmath>

#include "game_paths.h"
#include "mars_vista.h"
#include "paint.h"
#include "palette.h"
#include "screen_art.h"

namespace {

const int kScreenW = 800;
const int kScreenH = 600;

// The title's buttons stand in a centred column from 0.51 to 0.93 of the
// height (from the top), labels only: the panel behind them keeps the
// labels legible over the landscape.
bool TitleBackdrop(const std::string& runDir) {
    VistaLook look;
    look.seed = 5;
    look.horizon = 0.52f;
    look.sunX = 0.2f;
    look.sunY = 0.37f;
    look.settlement = true;
    RgbaImage image = MarsVista(kScreenW, kScreenH, look);
    ShadeEllipse(image, 0.5f, 0.74f, 0.3f, 0.32f, 0.62f);
    Vignette(image, 0.45f);
    return DrawWordmark(image, kScreenW / 2.0f, kScreenH * 0.08f, 84.0f) > 0 &&
           WriteImage(runDir, std::string(paths::kScreens) + "start.png", image);
}

// The win and score screens lay a heading at the top, a table across the
// middle and buttons at the lower right over this: the planet after sunset,
// the last glow on the horizon, nothing bright behind the text.
bool EndBackdrop(const std::string& runDir) {
    VistaLook look;
    look.seed = 29;
    look.horizon = 0.7f;
    look.sunX = 0.62f;
    look.sunY = 0.72f;
    look.night = 0.85f;
    RgbaImage image = MarsVista(kScreenW, kScreenH, look);
    Vignette(image, 0.5f);
    return WriteImage(runDir, std::string(paths::kScreens) + "mars.png", image);
}

// The sky sphere (its radius negative, turned a quarter about x) maps a view
// direction (dx, dy, dz) to the picture at column 0.5 - dx / 2 and row
// 0.5 - dy / 2, row 0 at the top: the middle row is the horizon all round,
// the top edge the zenith, the west (-x) on the right; the bottom half lies
// under the horizon (behind the ground; dark dust, not bright air, since the
// options and controls screens show the picture whole). The corners are
// never seen.
RgbaImage Sky() {
    using namespace palette;
    const int size = 512;
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float up = 1.0f - 2.0f * (float(y) + 0.5f) / float(size);  // sine of the elevation
            float side = 1.0f - 2.0f * (float(x) + 0.5f) / float(size);  // towards +x
            Rgb colour;
            if (up >= 0.0f) {
                float e = std::pow(up, 0.55f);
                colour = e < 0.5f ? Mix(kSkyHorizon, kSkyHigh, e * 2.0f) : Mix(kSkyHigh, kSkyZenith, (e - 0.5f) * 2.0f);
                // The sun stands towards +x: its side of the sky glows.
                colour = Mix(colour, kSunGlow, 0.35f * std::exp(-std::hypot(side - 0.75f, up - 0.55f) * 3.0f));
                float n = FractalNoise(float(x), float(y) * 2.5f, 96, 16, 21);
                float cloud = std::clamp((n - 0.5f) * 3.0f, 0.0f, 1.0f) * (1.0f - e);
                colour = Mix(colour, Mix(kCloud, kSkyHigh, 0.35f + 0.4f * e), cloud * 0.6f);
            } else {
                colour = Mix(Mix(kSkyHorizon, kHaze, 0.5f), Mix(kDustDeep, kShadow, 0.6f), std::pow(-up, 0.4f));
            }
            image.Put(x, y, colour);
        }
    return image;
}

// Shown over the whole window while the game changes its video mode.
bool LoadingPicture(const std::string& runDir) {
    VistaLook look;
    look.seed = 5;
    look.horizon = 0.52f;
    look.sunX = 0.2f;
    look.sunY = 0.37f;
    look.settlement = true;
    RgbaImage image = MarsVista(1024, 768, look);
    ShadeEllipse(image, 0.5f, 0.86f, 0.5f, 0.2f, 0.5f);
    Vignette(image, 0.45f);
    const float scale = ScreenScale(image);
    return DrawWordmark(image, 512.0f, 768.0f * 0.08f, 84.0f * scale) > 0 &&
           DrawLabel(image, "LOADING", 512, int(768 * 0.86f), {palette::kTitleFace, int(26 * scale), int(10 * scale)},
                     Align::Centre, palette::kText) &&
           WriteImage(runDir, "resource/art assets/loading.png", image);
}

}  // namespace

bool GenerateScreens(const std::string& runDir) {
    return TitleBackdrop(runDir) && EndBackdrop(runDir) &&
           WriteImage(runDir, std::string(paths::kScreens) + "sky.png", Sky()) && LoadingPicture(runDir);
}
