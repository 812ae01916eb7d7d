#include "screen_art.h"

#include <algorithm>
#include <cmath>

#include "mars_vista.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kPi = 3.14159265f;

// Shadow under, glow around and a vertical gradient in the shape of `mask`.
void LayLettering(RgbaImage& image, const Mask& mask, float size, Rgb top, Rgb bottom, int y0, int y1, float glow) {
    Mask shadow = mask;
    Blur(shadow, std::max(1, int(size * 0.05f)));
    Lay(image, shadow, palette::kNight, 0.8f, int(size * 0.03f), int(size * 0.05f));
    if (glow > 0.0f) {
        Mask halo = mask;
        Blur(halo, std::max(1, int(size * 0.16f)));
        Boost(halo, 1.8f);
        Lay(image, halo, palette::kHighlight, glow);
    }
    LayGradient(image, mask, top, bottom, y0, y1);
}

// Distance-like measure of a point from the centre of a hexagon with a
// vertex at the top: 1 on the rim of the unit hexagon.
float HexRadius(float dx, float dy) {
    float r = 0.0f;
    for (int i = 0; i < 3; ++i) {
        float angle = float(i) * kPi / 3.0f;
        r = std::max(r, std::fabs(dx * std::cos(angle) + dy * std::sin(angle)));
    }
    return r / std::cos(kPi / 6.0f);
}

// A flame: a teardrop with its point up, `h` tall and `w` wide.
std::vector<Point> Flame(float cx, float base, float w, float h) {
    std::vector<Point> points;
    for (int i = 0; i < 64; ++i) {
        float t = 2.0f * kPi * float(i) / 64.0f;
        float x = std::sin(t) * std::pow(std::sin(t / 2.0f), 1.6f);
        float y = (1.0f - std::cos(t)) / 2.0f;  // 0 at the tip, 1 at the foot
        points.push_back({cx + x * w * 0.62f, base - h + y * h});
    }
    return points;
}

}  // namespace

float ScreenScale(const RgbaImage& image) { return float(image.width) / 800.0f; }

bool DrawLabel(RgbaImage& image, const std::string& text, int x, int baseline, const TextStyle& style, Align align,
               Rgb colour, float shadow) {
    Mask mask(image.width, image.height);
    if (!DrawText(mask, text, x, baseline, style, align)) return false;
    if (shadow > 0.0f) {
        Mask soft = mask;
        Blur(soft, std::max(1, style.pixelSize / 12));
        Lay(image, soft, palette::kNight, shadow, std::max(1, style.pixelSize / 24), std::max(1, style.pixelSize / 16));
    }
    Lay(image, mask, colour);
    return true;
}

int DrawWordmark(RgbaImage& image, float centreX, float top, float size) {
    using namespace palette;
    const TextStyle small{kTitleFace, int(size * 0.3f), int(size * 0.22f)};
    const TextStyle large{kTitleFace, int(size), int(size * 0.05f)};
    const int theBaseline = int(top + size * 0.3f);
    const int baseline = int(top + size * 0.3f + size * 0.2f + size * 0.74f);
    Mask mask(image.width, image.height);
    if (!DrawText(mask, "THE", int(centreX), theBaseline, small, Align::Centre) ||
        !DrawText(mask, "QUELLBRAND", int(centreX), baseline, large, Align::Centre))
        return 0;
    // Ember rules either side of "THE".
    const float half = float(TextWidth("THE", small)) / 2.0f + size * 0.22f, length = size * 1.6f;
    const float ruleY = top + size * 0.3f * 0.62f, thick = std::max(1.5f, size * 0.025f);
    Mask rules(image.width, image.height);
    FillRect(rules, centreX - half - length, ruleY - thick, centreX - half, ruleY + thick, 1.0f);
    FillRect(rules, centreX + half, ruleY - thick, centreX + half + length, ruleY + thick, 1.0f);
    Lay(image, rules, kHighlight);
    LayLettering(image, mask, size, kText, Mix(kText, kHighlight, 0.75f), int(top), baseline, 0.3f);
    return baseline;
}

void DrawEmblem(RgbaImage& image, float cx, float cy, float radius) {
    using namespace palette;
    Mask ring(image.width, image.height), flame(image.width, image.height), core(image.width, image.height);
    for (int y = int(cy - radius) - 2; y <= int(cy + radius) + 2; ++y)
        for (int x = int(cx - radius) - 2; x <= int(cx + radius) + 2; ++x) {
            float r = HexRadius(float(x) + 0.5f - cx, float(y) + 0.5f - cy) * 1.0f;
            float outer = std::clamp(radius - r, 0.0f, 1.0f), inner = std::clamp(r - radius * 0.8f, 0.0f, 1.0f);
            ring.Raise(x, y, std::min(outer, inner));
        }
    FillPolygon(flame, Flame(cx, cy + radius * 0.5f, radius * 0.95f, radius * 1.15f));
    FillPolygon(core, Flame(cx, cy + radius * 0.5f, radius * 0.5f, radius * 0.62f));
    Mask halo = flame;
    Blur(halo, std::max(2, int(radius * 0.22f)));
    Boost(halo, 1.6f);
    Lay(image, halo, kHighlight, 0.45f);
    Mask shadow = ring;
    Blur(shadow, std::max(1, int(radius * 0.05f)));
    Lay(image, shadow, kNight, 0.8f, int(radius * 0.03f) + 1, int(radius * 0.05f) + 1);
    LayGradient(image, ring, kMetalPale, kMetalDark, int(cy - radius), int(cy + radius));
    LayGradient(image, flame, Mix(kHighlight, kFire, 0.3f), Mix(kHighlight, kRust, 0.5f), int(cy - radius * 0.65f),
                int(cy + radius * 0.5f));
    LayGradient(image, core, kSunDisc, kFire, int(cy - radius * 0.1f), int(cy + radius * 0.5f));
}

RgbaImage NightGround(int width, int height, bool glow) {
    using namespace palette;
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float v = float(y) / float(height);
            Rgb colour = Mix(kNight, Mix(kNight, kShadow, 0.8f), v);
            if (glow) {
                const float dx = (float(x) / float(width) - 0.5f) * 1.4f, dy = (float(y) - 0.55f * float(height)) / float(width);
                colour = Mix(colour, kDustDeep, 0.22f * std::exp(-std::hypot(dx, dy) * 3.0f));
            }
            image.Put(x, y, colour);
        }
    return image;
}
