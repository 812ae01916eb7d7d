// SplashScreen: a timed slide show of full-screen pictures. The ObjectManager
// holds two, splashScreen (played once at start-up) and credits (repeating);
// the game flow fills both at start-up and the frame draws the one shown
// (Graphics::RenderSplashScreen), which also advances it: a show's time runs
// only while it is drawn. A value type: scripts copy a whole show in and out.
//
// The end of a show that does not loop clears the System's splash flag, which
// the splash state waits for. Main thread only (AddSlide loads through the
// ResourceManager).
//
// Safe with anything a script may leave in it: no slides, a currentSlide out
// of range (taken back to the first slide), effects of any duration.
#pragma once

#include <string>
#include <vector>

#include "geom/geom.h"
#include "resource_manager/handle.h"

// One timed effect on a slide's picture.
struct SplashImage {
    enum Kind { kPan = 0, kZoom = 1, kFade = 2 };  // any other value does nothing

    // How far the effect has run, 0 to 1 (1 for a duration at or below 0).
    float Progress() const;
    // As added: not started, nothing run.
    void Reset();

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
    // Loads the registered texture (a name not registered is reported and
    // leaves the slide without a picture: it shows black) and appends a
    // slide showing it for `duration` seconds.
    void AddSlide(std::string textureName, float duration);
    // Appends an effect of `kind` and amount (x, y, z) to slide `slide`,
    // starting `startTime` seconds into it and running `duration` seconds; a
    // duration at or below 0 makes it instant (its full amount from its
    // start). A slide that does not exist is reported and nothing is added.
    void AddImage(int slide, int kind, float x, float y, float z, float startTime, float duration);
    // Advances the show by the System's frame time step: effects start, run
    // and stop; at the end of a slide every effect of the show is reset and
    // the next slide begins (after the last: the first again when looping,
    // else the splash flag is cleared and the last slide starts over).
    void Update();
    // Back to the first slide with every slide and effect as when added, so
    // that the show plays again as it did the first time.
    void Restart();
    // The slide shown; null when there are none. A currentSlide out of range
    // is warned about and set back to 0.
    SplashSlide* CurrentSlide();

    std::vector<SplashSlide> slides;
    int currentSlide = 0;
    bool looping = false;

private:
    void ResetEffects();
};
