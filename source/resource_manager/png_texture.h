// Decoding the game's texture files: PNG only (told by its signature, never
// by the file name), through libpng, into an 8-bit RGBA Texture whose row 0
// is the image's top row. Every file is untrusted: its size, the image's
// width and height and each chunk are bounded before anything is allocated
// for them, and a corrupt stream ends the decoding with a reason.
// Any thread; no shared state; never logs (the caller names the file).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "resource_manager/texture.h"

// Larger than any picture the game ships (the largest is 512 x 2560).
constexpr std::size_t kMaxTextureFileBytes = std::size_t(32) << 20;
constexpr unsigned kMaxTextureSide = 4096;

// The decoded image; null with problem set when bytes are not a PNG, are
// corrupt or exceed the limits above.
std::unique_ptr<Texture> DecodePngTexture(const std::string& bytes, std::string& problem);

// Reads the file (at most kMaxTextureFileBytes) and decodes it; null with
// problem set on failure.
std::unique_ptr<Texture> LoadPngTexture(const std::string& path, std::string& problem);
