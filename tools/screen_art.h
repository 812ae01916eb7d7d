// The marks shared by the full-screen pictures: the game's wordmark, the
// studio emblem, lettering with a soft shadow, and the dark ground of the
// slides. Sizes scale with the picture: a mark drawn on a 1024-wide picture
// is 1.28 times the one on an 800-wide picture, so both read the same when
// stretched over the window.
#pragma once

#include <string>

#include "rgba_image.h"
#include "text_render.h"

// The picture's width over 800: multiply pixel sizes by it.
float ScreenScale(const RgbaImage& image);

// One line of lettering in a flat colour over a soft dark shadow; false when
// the face cannot be loaded.
bool DrawLabel(RgbaImage& image, const std::string& text, int x, int baseline, const TextStyle& style,
               Align align, Rgb colour, float shadow = 0.6f);

// The wordmark: a small tracked "THE" between two ember rules above a large
// "QUELLBRAND" in pale metal warming to ember at its foot, with an ember
// glow and a drop shadow. `top` is the top of "THE"; returns the baseline of
// "QUELLBRAND" (0 when a face cannot be loaded).
int DrawWordmark(RgbaImage& image, float centreX, float top, float size);

// The studio emblem: a hexagonal metal ring around an ember flame.
void DrawEmblem(RgbaImage& image, float cx, float cy, float radius);

// The dark ground of the slides and the credits roll: night, warming
// downwards, with (`glow`) a faint warm glow low in the middle. Smooth, so
// that the pictures stay quick to load.
RgbaImage NightGround(int width, int height, bool glow = true);
