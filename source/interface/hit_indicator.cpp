#include "interface/hit_indicator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "interface/hud_drawing.h"
#include "system.h"

namespace {

// One edge of a wedge: its two ends, x0, y0, x1, y1 in window pixels.
using Edge = std::array<float, 4>;

// The wedge of a side: its outer edge, then its inner edge in the order that
// closes the quad. False for a position that is none of the four sides.
bool WedgeEdges(const Vector& side, float w, float h, Edge& outer, Edge& inner) {
    if (side.x == -1.0f) {
        outer = {0.18f * w, 0.26f * h, 0.18f * w, 0.74f * h};
        inner = {0.22f * w, 0.6f * h, 0.22f * w, 0.4f * h};
    } else if (side.x == 1.0f) {
        outer = {0.82f * w, 0.26f * h, 0.82f * w, 0.74f * h};
        inner = {0.78f * w, 0.6f * h, 0.78f * w, 0.4f * h};
    } else if (side.y == 1.0f) {
        const float y = 0.82f * h, innerY = 0.82f * h - 0.04f * w;
        outer = {0.25f * w, y, 0.75f * w, y};
        inner = {0.65f * w, innerY, 0.35f * w, innerY};
    } else if (side.y == -1.0f) {
        const float y = 0.15f * h, innerY = 0.15f * h + 0.04f * w;
        outer = {0.25f * w, y, 0.75f * w, y};
        inner = {0.65f * w, innerY, 0.35f * w, innerY};
    } else {
        return false;
    }
    return true;
}

}  // namespace

PlayerTookDamageIndicator::PlayerTookDamageIndicator(int id, const Vector& position)
    : InterfaceObject(WidgetType::PlayerDamageIndicator, id, position) {}

void PlayerTookDamageIndicator::Activate() {
    if (!(elapsed < duration)) return;
    elapsed = std::min(elapsed + float(Module<System>::Instance()->frameTime.load()), duration);
    color.a = 1.0f - elapsed / duration;
}

void PlayerTookDamageIndicator::Draw() {
    // Idle wedges are fully transparent: nothing to blend, every frame.
    if (!(color.a > 0.0f)) return;
    const System& system = *Module<System>::Instance();
    Edge outer, inner;
    if (!WedgeEdges(position, float(system.width), float(system.height), outer, inner)) return;
    hud_drawing::BindTexture(texture.id);
    Color4 outerColor = color, innerColor = color;
    innerColor.a = std::max(0.0f, color.a - 0.5f);
    const hud_drawing::Corner wedge[] = {{outer[0], outer[1], outerColor}, {outer[2], outer[3], outerColor},
                                         {inner[0], inner[1], innerColor}, {inner[2], inner[3], innerColor}};
    hud_drawing::Draw(hud_drawing::Shape::Quads, wedge);
}

HitSides ChooseHitSides(const Matrix& view, const Vector& direction) {
    // Rows 0 and 2 of the view: the camera's right and backward axes.
    const Vector right = view.VecFromRow(0), back = view.VecFromRow(2);
    float x = -(right * direction), z = back * direction;
    const float length = std::sqrt(x * x + z * z);
    // Straight from above or below: no side to show, and normalising would
    // give NaN, whose comparisons pick wedges at random.
    if (!(length >= 1e-6f) || !std::isfinite(length)) return HitSides{};
    x /= length;
    z /= length;
    const char* across = x > 0.0f ? PlayerTookDamageIndicator::kRight : PlayerTookDamageIndicator::kLeft;
    const char* along = z > 0.0f ? PlayerTookDamageIndicator::kTop : PlayerTookDamageIndicator::kBottom;
    if (std::fabs(z) < std::fabs(x)) return HitSides{across, std::fabs(z) > 0.5f * std::fabs(x) ? along : nullptr};
    return HitSides{along, std::fabs(x) > 0.5f * std::fabs(z) ? across : nullptr};
}
