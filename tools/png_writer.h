// Writes an RgbaImage as an 8-bit RGBA, non-interlaced PNG (the kind every
// texture of the game is) through libpng.
#pragma once

#include <string>

#include "rgba_image.h"

// False (with a message on standard error) when the file cannot be written.
bool WritePng(const std::string& path, const RgbaImage& image);
