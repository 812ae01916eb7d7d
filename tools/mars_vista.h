// The landscape behind the game's full-screen pictures: Mars at dusk or
// after sunset, in layers that fade into the dust of the air with distance
// (far mesas, rock ridges, near dunes), under a sky that runs from the
// palette's zenith to its horizon, with the one low sun, thin clouds and,
// as night falls, stars. Every picture that shows the planet (title, logo,
// end-of-game, loading) is one of these with its own composition on top.
#pragma once

#include "rgba_image.h"

struct VistaLook {
    unsigned seed = 1;
    float horizon = 0.6f;  // the far mesas' foot, as a fraction of the height
    float sunX = 0.75f;    // the sun's centre, fractions of width and height
    float sunY = 0.55f;
    float night = 0.0f;    // 0 dusk, 1 after sunset (the sun is gone, stars show)
    bool settlement = false;  // a lit settlement on the middle ridge
};

RgbaImage MarsVista(int width, int height, const VistaLook& look);

// Darkens towards the picture's edges by up to `amount` (0..1), so the eye
// stays in the middle and lettering at the edges keeps its contrast.
void Vignette(RgbaImage& image, float amount);
// Darkens a soft ellipse (centre and radii as fractions of the width and
// height) by up to `amount`: evening shadow behind a menu's labels.
void ShadeEllipse(RgbaImage& image, float cx, float cy, float rx, float ry, float amount);
