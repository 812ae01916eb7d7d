// Test helpers for the sound layer: small WAV tones of our own making, and
// SDL's disk audio driver, which writes the mixed output (44100 Hz, 16-bit,
// stereo) to a file faster than real time, so a test can check what was
// really heard. Waits are bounded polls on the output's growth.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace sound_test {

constexpr long kBytesPerSecond = 44100 * 4;
// Output written before a call can still lie ahead of the file's visible
// size (stdio buffering, the buffer being mixed); skip this much after it.
constexpr long kFlushMargin = 64 * 1024;
// Our tones peak at half scale; anything above this is clearly heard.
constexpr int kAudible = 2000;

// `value` as `bytes` little-endian bytes.
inline std::string Le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

// A 16-byte "fmt " chunk of mono 16-bit PCM at `rate`, and a RIFF WAVE of chunks.
inline std::string MonoFormat(std::uint32_t rate) {
    return "fmt " + Le(16, 4) + Le(1, 2) + Le(1, 2) + Le(rate, 4) + Le(rate * 2, 4) + Le(2, 2) + Le(16, 2);
}
inline std::string Riff(const std::string& chunks) { return "RIFF" + Le(uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks; }

// A mono 16-bit PCM WAV at 22050 Hz holding a sine tone.
inline std::string ToneWav(double seconds, double hz) {
    std::string samples;
    for (int i = 0; i < int(seconds * 22050); ++i)
        samples += Le(std::uint16_t(std::int16_t(16000.0 * std::sin(2.0 * M_PI * hz * i / 22050))), 2);
    return Riff(MonoFormat(22050) + "data" + Le(std::uint32_t(samples.size()), 4) + samples);
}

struct Peak {
    int left = 0, right = 0;
    int Max() const { return std::max(left, right); }
};

// A private folder with the disk driver pointed into it.
class DiskAudio {
public:
    DiskAudio() : output(Path("out.raw")) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        // One millisecond per mixed buffer: about twenty times real time.
        setenv("SDL_DISKAUDIODELAY", "1", 1);
    }
    std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
    std::string File(const std::string& name, const std::string& bytes) const {
        folder.WriteFile(name, bytes);
        return Path(name);
    }
    std::string ToneFile(const std::string& name, double seconds, double hz = 440.0) const {
        return File(name, ToneWav(seconds, hz));
    }
    long Bytes() const {
        struct stat info;
        return stat(output.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
    }
    // Waits for `seconds` of output past `from` (bounded) and returns the new end.
    long WaitPast(long from, double seconds) const {
        const long target = from + static_cast<long>(seconds * kBytesPerSecond);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Bytes() < target && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_GE(Bytes(), target) << "disk audio output stopped growing";
        return target;
    }
    // Loudest sample of each side in [from, to) of the output.
    Peak PeakBetween(long from, long to) const {
        from &= ~3L;
        std::ifstream in(output, std::ios::binary);
        in.seekg(from);
        std::vector<std::int16_t> samples(static_cast<std::size_t>(std::max(0L, to - from)) / 2);  // little-endian host
        in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        Peak peak;
        for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(in.gcount()) / 2; i += 2) {
            peak.left = std::max(peak.left, std::abs(int(samples[i])));
            peak.right = std::max(peak.right, std::abs(int(samples[i + 1])));
        }
        return peak;
    }
    // Loudness from well past `from` on, once that much has been written.
    Peak LoudnessAfter(long from, double seconds = 0.5) const {
        const long start = from + kFlushMargin;
        return PeakBetween(start, WaitPast(start, seconds));
    }

private:
    test_support::TempFolder folder;
    std::string output;
};

}  // namespace sound_test
