// Reading sound files for the sound layer: the whole file, bounded in size,
// checked as a RIFF WAVE of 8- or 16-bit PCM before SDL_mixer decodes it, so
// a truncated or hostile header can never make the decoder read past the
// file or allocate more than the file holds. Pure functions, any thread.
#pragma once

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

// True when bytes hold a RIFF WAVE whose chunks all lie inside the data,
// with a "fmt " chunk of PCM (format 1), 1 or 2 channels, 8 or 16 bits and
// a rate of 1000..192000 Hz, and a "data" chunk. Otherwise sets problem.
bool CheckWavImage(const std::vector<std::uint8_t>& bytes, std::string& problem);

}  // namespace platform
