// Crosshair (type 4, factory kind 4): the aiming sight in the middle of the
// head-up display. Green while idle; "Enemy Hit" (ShowHit) turns it red for
// `hitDuration` milliseconds of frame time, after which it is green again by
// itself. Over the sight it draws `hitTexture` in `hitColor`, whose alpha is
// only ever set to 0: the red is the sight's own tint.
//
// Threads: main thread only; reads nothing of the game objects.
#pragma once

#include "interface/interface_object.h"

class Crosshair : public InterfaceObject {
public:
    // The name the head-up display registers it under; "Enemy Hit" finds it by it.
    static constexpr const char* kDisplayName = "crosshair";
    static constexpr const char* kSightTexture = "tex_smaller_crosshair";
    static constexpr const char* kHitTexture = "tex_smaller_hit";
    // The red phase the head-up display gives it, in milliseconds.
    static constexpr float kHitDuration = 150.0f;

    // Cyan at alpha 0.7, 128 x 128, the two textures resolved by name (a
    // name not loaded is reported by the resource manager and left empty).
    // Idle from the start: hitElapsed = hitDuration, so the first Activate
    // shows it green.
    Crosshair(int id, const Vector& position);

    // The sight's quad in `color`; then, when it has a texture, the same
    // quad with hitTexture in hitColor.
    void Draw() override;
    // While red: the frame's time, in milliseconds, added to hitElapsed.
    // Once it reaches hitDuration: green (alpha kept), hitColor's alpha 0.
    void Activate() override;
    // The hit look: red (alpha kept), hitElapsed 0.
    void ShowHit();

    float hitDuration = kHitDuration;  // milliseconds
    float hitElapsed = kHitDuration;
    Color4 hitColor{1.0f, 0.0f, 0.0f, 0.0f};
    Handle hitTexture;
};
