// Generator step: the start-up pictures (splash and loading screen, each with
// the game's title) and the mesh textures, as 8-bit RGBA PNG files.
#pragma once

#include <string>

#include "rgba_image.h"

// The flat colour that fills the centre area of each start-up picture, so
// that a screenshot can tell which one is on screen.
extern const Rgb SPLASH_CENTRE_COLOUR;
extern const Rgb LOADING_CENTRE_COLOUR;

bool GenerateImages(const std::string& runDir);
