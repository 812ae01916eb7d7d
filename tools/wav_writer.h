// Writes 16-bit PCM WAV files (the format the game's sound layer reads),
// header written by hand, little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// samples are interleaved when channels is 2. False (with a message on
// standard error) when the file cannot be written.
bool WriteWav16(const std::string& path, const std::vector<std::int16_t>& samples, int channels,
                int rate);
