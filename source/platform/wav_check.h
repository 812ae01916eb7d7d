// Reading sound files for the sound layer: the whole file, bounded in size,
// checked as a RIFF WAVE of 8- or 16-bit PCM before SDL_mixer decodes it.
// SDL walks a file's chunks by its own rules (odd-sized chunks unpadded), so
// the decoder is never handed the file itself: it gets a canonical copy built
// from the chunks the check read, and decodes exactly what was checked.
// Pure functions, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Larger than any sound the game ships (the music is a few megabytes).
constexpr std::uint64_t kMaxSoundFileBytes = 64u * 1024u * 1024u;

// Reads the file into bytes; false with problem set when it cannot be read
// or is larger than kMaxSoundFileBytes.
bool ReadSoundFile(const std::string& file, std::vector<std::uint8_t>& bytes,
                   std::string& problem);

// What the check found: the format and where the samples lie in the file.
struct WavLayout {
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
    std::size_t dataOffset = 0;
    std::size_t dataBytes = 0;  // whole sample frames only
};

// True when bytes hold a RIFF WAVE whose chunks (padded to even sizes) all
// lie inside the data, with one "fmt " chunk of PCM (format 1), 1 or 2
// channels, 8 or 16 bits and a standard rate of 8000..48000 Hz, followed by
// a "data" chunk holding at least one sample frame. Otherwise false with
// problem set.
bool ReadWavLayout(const std::vector<std::uint8_t>& bytes, WavLayout& layout,
                   std::string& problem);
bool CheckWavImage(const std::vector<std::uint8_t>& bytes, std::string& problem);

// A minimal RIFF WAVE (a 16-byte "fmt " chunk, then "data") holding the
// samples that layout names in bytes; layout must come from ReadWavLayout on
// the same bytes.
std::vector<std::uint8_t> CanonicalWav(const std::vector<std::uint8_t>& bytes,
                                       const WavLayout& layout);

}  // namespace platform
