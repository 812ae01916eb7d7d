#include "interface/status_bar.h"

#include <algorithm>
#include <cmath>

#include "interface/button.h"
#include "interface/hud_drawing.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "system.h"

namespace {

using hud_drawing::Corner;
using hud_drawing::Shape;

constexpr Color4 kBackground{0.8f, 0.8f, 0.8f, 0.5f};
constexpr Color4 kOutline{0.3f, 0.3f, 0.3f, 0.75f};
constexpr float kLabelScale = 0.5f;

// A trapezoid gauge in fractions of the window: its two edges' heights and
// half-widths about the middle, its fill colour and where its label goes.
struct Trapezoid {
    float upperY, upperHalf;
    float lowerY, lowerHalf;
    Color4 fill;
    float labelX, labelY;
};

constexpr Trapezoid kHealthGauge{0.05f, 0.1f, 0.01f, 0.15f, {1.0f, 0.1f, 0.1f, 0.9f}, 0.49f, 0.02f};
constexpr Trapezoid kShieldGauge{0.08f, 0.08f, 0.06f, 0.09f, {0.1f, 0.8f, 0.9f, 0.9f}, 0.49f, 0.06f};

// The boost arc: squares of 30 pixels, 4.5 degrees apart, 115 pixels from
// the minimap's middle; 30 of them make a full gauge.
constexpr int kBoostSquares = 30;
// More than a full turn of squares would only draw over itself.
constexpr int kMostBoostSquares = 80;
constexpr float kArcRadius = 115.0f;
constexpr float kSquareHalf = 15.0f;
constexpr float kPi = 3.14159265f;

// value / maximum; nothing when it cannot be formed (a maximum of 0 or
// below, or values that are not finite).
std::optional<float> Ratio(double value, double maximum) {
    if (!(maximum > 0.0)) return std::nullopt;
    const double ratio = value / maximum;
    if (!std::isfinite(ratio)) return std::nullopt;
    return float(ratio);
}

// The quad of a trapezoid with upper and lower half-widths (in pixels) about
// x = middle, upper left first, clockwise.
void TrapezoidQuad(Corner (&quad)[4], float middle, float upper, float upperHalf, float lower, float lowerHalf,
                   const Color4& color) {
    quad[0] = Corner{middle - upperHalf, upper, color};
    quad[1] = Corner{middle + upperHalf, upper, color};
    quad[2] = Corner{middle + lowerHalf, lower, color};
    quad[3] = Corner{middle - lowerHalf, lower, color};
}

}  // namespace

StatusBar::StatusBar(int id, const Vector& position) : InterfaceObject(WidgetType::StatusBar, id, position) {
    label.owner = this;
    label.position = position;
    Borders* outline = AddChild(new Borders(NextChildId(), position));
    outline->SetSize(width, height);
}

void StatusBar::SetPosition(const Vector& newPosition) {
    position = newPosition;
    label.position = newPosition;
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box) child->SetPosition(newPosition);
}

void StatusBar::SetSize(float newWidth, float newHeight) {
    InterfaceObject::SetSize(newWidth, newHeight);
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box)
            vertical ? child->SetSize(newHeight, newWidth) : child->SetSize(newWidth, newHeight);
}

void StatusBar::Draw() {
    if (objectName.empty() || statName.empty()) return;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (!objects.HasGameObject(objectName)) return;
    const StatsComp* stats = objects.GetGameObject(objectName)->GetStatsComp();
    if (!stats) return;
    hud_drawing::BindTexture(texture.id);
    if (statName == kHealth) {
        DrawTrapezoid(true, Ratio(stats->hp, stats->healthMax));
    } else if (statName == kShield) {
        DrawTrapezoid(false, Ratio(stats->sp, stats->shield));
    } else if (statName == kBoost) {
        const std::optional<float> ratio = Ratio(stats->bp, stats->boost);
        if (ratio) DrawBoostArc(*ratio);
    }
}

void StatusBar::DrawTrapezoid(bool health, std::optional<float> ratio) const {
    const Trapezoid& gauge = health ? kHealthGauge : kShieldGauge;
    const System& system = *Module<System>::Instance();
    const float w = float(system.width), h = float(system.height), middle = w * 0.5f;
    const float upper = gauge.upperY * h, lower = gauge.lowerY * h;
    Corner quad[4];
    TrapezoidQuad(quad, middle, upper, gauge.upperHalf * w, lower, gauge.lowerHalf * w, kBackground);
    hud_drawing::Draw(Shape::Quads, quad);
    // A hull below 0 (the killing hit went deeper) would fill mirrored.
    if (ratio && *ratio > 0.0f) {
        const float r = *ratio;
        TrapezoidQuad(quad, middle, upper, gauge.upperHalf * r * w, lower, gauge.lowerHalf * r * w, gauge.fill);
        hud_drawing::Draw(Shape::Quads, quad);
    }
    TrapezoidQuad(quad, middle, upper, gauge.upperHalf * w, lower, gauge.lowerHalf * w, kOutline);
    hud_drawing::Draw(Shape::LineLoop, quad);
    hud_drawing::Print(label.text, label.color, int(gauge.labelX * w), int(gauge.labelY * h), kLabelScale);
}

void StatusBar::DrawBoostArc(float ratio) const {
    const System& system = *Module<System>::Instance();
    const int w = system.width, h = system.height;
    const float k = h > 0 ? float(w / h) : 0.0f;
    // Cut to a whole number of squares: 0.034 of a full gauge is one square,
    // 0.033 none.
    const int squares = int(std::min(ratio * float(kBoostSquares), float(kMostBoostSquares)));
    if (squares < 1) return;
    // Flat squares: the arc lies inside the minimap's disc, and the radar's
    // picture on each square drew a chain of small radars over it.
    hud_drawing::BindTexture("");
    const float middleX = float(w - 100), middleY = float(h - 100);
    for (int i = 0; i < squares; ++i) {
        const float theta = float(i) * 1.5f * kPi / 60.0f;
        const float px = middleX - kArcRadius * k * std::sin(theta), py = middleY - kArcRadius * std::cos(theta);
        const float c = 0.2f + 0.5f * float(i) / float(kBoostSquares);
        const Color4 shade{c, c, 1.0f, 0.5f};
        const float s = kSquareHalf;
        const Corner square[] = {{px + s, py + s, shade, 1.0f, 1.0f}, {px + s, py - s, shade, 1.0f, 0.0f},
                                 {px - s, py - s, shade, 0.0f, 0.0f}, {px - s, py + s, shade, 0.0f, 1.0f}};
        hud_drawing::Draw(Shape::Quads, square);
    }
    hud_drawing::BindTexture("");
}
