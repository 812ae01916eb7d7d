// PlayerTookDamageIndicator (type 12, factory kind 12): one of the four red
// wedges at the window's left, right, top and bottom that flash when the
// player is hit from that side and fade out over `duration` seconds. The
// side is its position: x = -1 left, x = 1 right, y = 1 top, y = -1 bottom
// (exact values); any other position draws nothing.
//
// ChooseHitSides picks the wedges of one hit for
// InterfaceManager::ShowHitIndicator.
//
// Threads: main thread only; reads nothing of the game objects.
#pragma once

#include "geom/geom.h"
#include "interface/interface_object.h"

class PlayerTookDamageIndicator : public InterfaceObject {
public:
    // The names the head-up display gives the four wedges.
    static constexpr const char* kTop = "Top Indicator";
    static constexpr const char* kBottom = "Bottom Indicator";
    static constexpr const char* kLeft = "Left Indicator";
    static constexpr const char* kRight = "Right Indicator";

    // Idle: elapsed and duration both 250.
    PlayerTookDamageIndicator(int id, const Vector& position);

    // While fading: elapsed grows by the frame's time step up to duration,
    // and the alpha is 1 - elapsed / duration. Idle, the alpha stays put.
    void Activate() override;
    // The wedge of its side: outer edge at the alpha, inner edge at the
    // alpha less 0.5 (not below 0).
    void Draw() override;
    void DrawText() override {}
    // Starts the fade `elapsed` seconds in: 0 lights it fully.
    void Restart(float startAt) { elapsed = startAt; }

    float elapsed = 250.0f;   // seconds since the last restart
    float duration = 250.0f;  // seconds of fade
};

// The wedges one hit lights: `primary` fully, `secondary` (may be null) a
// quarter of the way into its fade. Both null when nothing is lit.
struct HitSides {
    const char* primary = nullptr;
    const char* secondary = nullptr;
};

// The hit's direction `direction` (where the damage travels) seen through
// the camera's view matrix: D = (-(r0 . direction), r2 . direction) from its
// first and third rows, normalised; the larger of |D.x| (right or left) and
// |D.z| (top or bottom) is the primary side, ties going to top or bottom;
// the other axis is the secondary when it is above half the larger. A
// direction with no part across the camera's horizontal plane (|D| below
// 1e-6, or not finite) lights nothing.
HitSides ChooseHitSides(const Matrix& view, const Vector& direction);
