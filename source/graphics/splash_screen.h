// SplashScreen: a timed slide show of full-screen pictures. The ObjectManager
// holds two, splashScreen (played once at start-up) and credits (repeating);
// the game flow fills both at start-up and the frame draws the one shown.
// A value type: scripts copy a whole show in and out.
//
// This header holds the records only; adding slides and effects, advancing a
// show and drawing it come with the renderer. Main thread.
#pragma once

#include <vector>

#include "geom/geom.h"
#include "resource_manager/handle.h"

// One timed effect on a slide's picture.
struct SplashImage {
    enum Kind { kPan = 0, kZoom = 1, kFade = 2 };  // any other value does nothing

    int kind = kPan;
    float startTime = 0.0f;     // seconds after the slide began; negative: never
    float pendingStart = 0.0f;  // start still to come; -1 once the effect has run
    float time = 0.0f;          // seconds run, held at duration once reached
    float duration = 1.0f;      // above 0
    Vector amount;              // x, y, z: the size of the effect
    bool isActive = false;
    bool isInstant = false;     // added with duration 0: full amount from its start
};

struct SplashSlide {
    Handle texture;
    float duration = 0.0f;  // seconds shown
    float time = 0.0f;      // seconds since the slide began
    std::vector<SplashImage> images;  // applied in order
};

class SplashScreen {
public:
    std::vector<SplashSlide> slides;
    int currentSlide = 0;
    bool looping = false;
};
