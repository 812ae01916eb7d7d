// The map widgets' drawing: the disc, then the blips over it at depth 0.5,
// in the frame of the player's heading.
#include <algorithm>
#include <cmath>

#include "interface/hud_drawing.h"
#include "interface/minimap.h"

namespace {

using hud_drawing::Corner;
using hud_drawing::Shape;

constexpr float kBlipDepth = 0.5f;
constexpr float kDegreesPerRadian = 57.2957795f;
constexpr float kFadeRadius = 95.0f;   // blocks beyond it are left out; fades reach 0 there
constexpr float kSquareRadius = 85.0f; // actors beyond it are arrows on the rim
constexpr float kRimRadius = 90.0f;
constexpr Color4 kRimArrowColor{1.0f, 0.0f, 0.0f, 1.0f};

// A blip's offset from the player in pixels, as the frame takes it (x right,
// y up before the heading's turn), and its distance from the middle.
struct Offset {
    float x;
    float y;
    float distance;
};

Offset OffsetOf(const MapBlip& blip, const Vector& center, float scale) {
    const float dx = (center.x - blip.position.x) * scale;
    const float dz = (center.z - blip.position.z) * scale;
    return Offset{-dx, dz, std::sqrt(dx * dx + dz * dz)};
}

// 1 at the middle of the widget, falling to 0 at the fade radius.
float Fade(float distance) { return distance > kFadeRadius ? 0.0f : (kFadeRadius - distance) / kFadeRadius; }

Color4 WithAlpha(Color4 color, float alpha) {
    color.a = alpha;
    return color;
}

// The arrowhead, 10 pixels wide and 15 high with its tip 10 above the frame's origin.
void DrawArrow(const Color4& color) {
    const Corner arrow[] = {{0.0f, 0.0f, color}, {5.0f, -5.0f, color}, {0.0f, 10.0f, color},
                            {-5.0f, -5.0f, color}, {0.0f, 0.0f, color}};
    hud_drawing::Draw(Shape::TriangleFan, arrow, kBlipDepth);
}

}  // namespace

void MiniMap::Draw() { DrawMap(true); }

void FullMap::Draw() { DrawMap(false); }

void MiniMap::DrawMap(bool radar) const {
    hud_drawing::BeginDepthTest(position.x, position.y, width, height);
    hud_drawing::BindTexture(texture.id);
    const float x = position.x, y = position.y, right = x + width, top = y + height;
    const Corner disc[] = {{right, top, color, 1.0f, 1.0f}, {x, top, color, 0.0f, 1.0f},
                           {x, y, color, 0.0f, 0.0f}, {right, y, color, 1.0f, 0.0f}};
    hud_drawing::Draw(Shape::Quads, disc);
    hud_drawing::BindTexture("");
    float yawDegrees = 0.0f;
    for (const MapBlip& blip : blips)
        if (blip.kind == MapBlip::Player) yawDegrees = blip.angle * kDegreesPerRadian;
    DrawBlocks(radar, yawDegrees);
    DrawPlayers();
    DrawActors(radar, yawDegrees);
    hud_drawing::ResetFrame();
    hud_drawing::EndDepthTest();
}

void MiniMap::DrawBlocks(bool radar, float yawDegrees) const {
    hud_drawing::SetLineWidth(1.0f);
    for (const MapBlip& blip : blips) {
        if (blip.kind != MapBlip::Block) continue;
        const Offset at = OffsetOf(blip, center, mapScale);
        const float hx = blip.halfSize.x * mapScale, hz = blip.halfSize.z * mapScale;
        // Not finite: nowhere to draw it, and NaN would pass every range test.
        if (!std::isfinite(at.distance) || !std::isfinite(hx) || !std::isfinite(hz)) continue;
        if (radar && at.distance > kFadeRadius) continue;
        hud_drawing::PlaceFrame(CentreX(), CentreY(), -yawDegrees, at.x, at.y);
        const float cornerX[4] = {hx, hx, -hx, -hx}, cornerY[4] = {-hz, hz, hz, -hz};
        Corner fill[4], outline[5];
        for (int i = 0; i < 4; ++i) {
            // The frame only turns, so a corner's distance from the middle is
            // that of its offset before the turn.
            const float f = Fade(std::hypot(at.x + cornerX[i], at.y + cornerY[i]));
            fill[i] = Corner{cornerX[i], cornerY[i], WithAlpha(blip.color, blip.color.a * f)};
            outline[i] = Corner{cornerX[i], cornerY[i], Color4{0.0f, 0.0f, 0.0f, f}};
        }
        outline[4] = outline[0];
        hud_drawing::Draw(Shape::Quads, fill, kBlipDepth);
        hud_drawing::Draw(Shape::LineStrip, outline, kBlipDepth);
    }
}

void MiniMap::DrawPlayers() const {
    for (const MapBlip& blip : blips) {
        if (blip.kind != MapBlip::Player) continue;
        hud_drawing::PlaceFrame(CentreX(), CentreY());
        DrawArrow(blip.color);
    }
}

void MiniMap::DrawActors(bool radar, float yawDegrees) const {
    const float half = 24.0f * mapScale;
    for (const MapBlip& blip : blips) {
        if (blip.kind != MapBlip::Actor) continue;
        const Offset at = OffsetOf(blip, center, mapScale);
        if (!std::isfinite(at.distance)) continue;
        if (!radar || at.distance <= kSquareRadius) {
            hud_drawing::PlaceFrame(CentreX(), CentreY(), -yawDegrees, at.x, at.y);
            const Color4 shade = WithAlpha(blip.color, (kFadeRadius - at.distance) / kFadeRadius);
            const Corner square[] = {{half, -half, shade}, {half, half, shade}, {-half, half, shade},
                                     {-half, -half, shade}, {half, -half, shade}};
            hud_drawing::Draw(Shape::TriangleFan, square, kBlipDepth);
            continue;
        }
        // Beyond the squares' reach: an arrow on the rim, pointing at the actor.
        const float nx = at.x / at.distance, ny = at.y / at.distance;
        // A normalised n can pass 1 by rounding, where acos gives NaN.
        const float a = std::acos(std::clamp(nx, -1.0f, 1.0f)) * kDegreesPerRadian;
        hud_drawing::PlaceFrame(CentreX(), CentreY(), -yawDegrees, kRimRadius * nx, kRimRadius * ny);
        hud_drawing::TurnFrame((ny > 0.0f ? a : 360.0f - a) - 90.0f);
        DrawArrow(kRimArrowColor);
    }
}
