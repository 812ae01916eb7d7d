// Test helpers for the sound layer: small WAV files of our own making, and
// SDL's disk audio driver, which writes the mixed output (44100 Hz, 16-bit,
// stereo) to a file faster than real time, so a test can check what was
// really heard. Waits are bounded polls on the output's growth, never sleeps
// of a guessed length.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
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
// Our test tones peak at half scale; anything above this is clearly heard.
constexpr int kAudible = 2000;

inline void PutLE(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Writes a mono 16-bit PCM WAV of the given samples.
inline void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples,
                     int rate = 22050) {
    std::ofstream out(path, std::ios::binary);
    std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);
    PutLE(out, 1, 2);
    PutLE(out, rate, 4);
    PutLE(out, rate * 2, 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (std::int16_t s : samples) PutLE(out, static_cast<std::uint16_t>(s), 2);
}

inline std::vector<std::int16_t> Tone(double seconds, double hz = 440.0, int rate = 22050) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(16000.0 * std::sin(2.0 * M_PI * hz * i / rate));
    }
    return samples;
}

struct Peak {
    int left = 0;
    int right = 0;
    int Max() const { return std::max(left, right); }
};

// A private folder with the disk driver pointed into it.
class DiskAudio {
public:
    DiskAudio() {
        output = Path("out.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        // One millisecond per mixed buffer: about twenty times real time,
        // fast for tests yet slow enough that output files stay small.
        setenv("SDL_DISKAUDIODELAY", "1", 1);
    }
    std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }

    std::string ToneFile(const std::string& name, double seconds, double hz = 440.0) const {
        std::string path = Path(name);
        WriteWav(path, Tone(seconds, hz));
        return path;
    }

    long Bytes() const {
        struct stat info;
        return stat(output.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
    }

    // Waits until the output holds at least bytes; false after a generous
    // bound (the driver is far faster than needed).
    bool WaitForBytes(long bytes) const {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Bytes() < bytes) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Waits for `seconds` of output past `from` and returns the new end.
    long WaitPast(long from, double seconds) const {
        long target = from + static_cast<long>(seconds * kBytesPerSecond);
        EXPECT_TRUE(WaitForBytes(target)) << "disk audio output stopped growing";
        return target;
    }

    // Loudest sample of each side in [from, to) of the output.
    Peak PeakBetween(long from, long to) const {
        from &= ~3L;
        Peak peak;
        std::ifstream in(output, std::ios::binary);
        in.seekg(from);
        std::vector<char> bytes(static_cast<std::size_t>(std::max(0L, to - from)));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::size_t got = static_cast<std::size_t>(in.gcount()) & ~std::size_t(3);
        for (std::size_t i = 0; i < got; i += 4) {
            auto sample = [&](std::size_t at) {
                return std::abs(static_cast<int>(static_cast<std::int16_t>(
                    static_cast<std::uint8_t>(bytes[at]) |
                    static_cast<std::uint8_t>(bytes[at + 1]) << 8)));
            };
            peak.left = std::max(peak.left, sample(i));
            peak.right = std::max(peak.right, sample(i + 2));
        }
        return peak;
    }

private:
    test_support::TempFolder folder;
    std::string output;
};

}  // namespace sound_test
