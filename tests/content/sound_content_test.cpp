// The generated sounds in the run folder: every sample and the music stream
// the game names exists as a 16-bit PCM WAV that SDL_mixer loads, is heard
// without clipping, starts and ends without a click, and the two loops run
// seamlessly from their end into their start.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* file;
    bool loops;
};

const Expected kSounds[] = {
    {"sample_shot_laser1.wav", false},     {"sample_shot_laser2.wav", false},
    {"sample_missile_fire.wav", false},    {"sample_explosion_short.wav", false},
    {"sample_explosion_long.wav", false},  {"sample_shield_hit1.wav", false},
    {"sample_shield_hit2.wav", false},     {"sample_shield_hit3.wav", false},
    {"sample_hull_hit.wav", false},        {"sample_step.wav", false},
    {"sample_landing.wav", false},         {"sample_boost.wav", true},
    {"sample_health_pickup.wav", false},   {"sample_recharge_shield.wav", false},
    {"stream_bg_music.wav", true},
};

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;  // interleaved
};

std::uint32_t LE(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

// Reads the plain 44-byte-header layout our writer produces.
bool ReadWav(const std::string& path, Wav& wav) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " ||
        std::string(b.begin() + 36, b.begin() + 40) != "data") {
        return false;
    }
    if (LE(b, 4, 4) != b.size() - 8 || LE(b, 40, 4) != b.size() - 44) return false;
    wav.format = LE(b, 20, 2);
    wav.channels = LE(b, 22, 2);
    wav.rate = LE(b, 24, 4);
    wav.bits = LE(b, 34, 2);
    for (std::size_t i = 44; i + 1 < b.size(); i += 2) {
        wav.samples.push_back(static_cast<std::int16_t>(LE(b, i, 2)));
    }
    return LE(b, 28, 4) == static_cast<std::uint32_t>(wav.rate * wav.channels * 2);
}

std::string SoundPath(const char* file) {
    return std::string(QUELL_RUN_DIR) + "/resource/sounds/" + file;
}

// The samples of one side.
std::vector<int> Side(const Wav& wav, int side) {
    std::vector<int> out;
    for (std::size_t i = side; i < wav.samples.size(); i += wav.channels) out.push_back(wav.samples[i]);
    return out;
}

TEST(GeneratedSounds, AreSixteenBitPcmThatTheMixerLoads) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    for (const Expected& sound : kSounds) {
        Wav wav;
        ASSERT_TRUE(ReadWav(SoundPath(sound.file), wav)) << sound.file;
        EXPECT_EQ(wav.format, 1) << sound.file;
        EXPECT_EQ(wav.bits, 16) << sound.file;
        EXPECT_TRUE(wav.channels == 1 || wav.channels == 2) << sound.file;
        EXPECT_TRUE(wav.rate == 22050 || wav.rate == 44100) << sound.file;
        Mix_Chunk* chunk = Mix_LoadWAV(SoundPath(sound.file).c_str());
        EXPECT_NE(chunk, nullptr) << sound.file << ": " << Mix_GetError();
        if (chunk) Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST(GeneratedSounds, AreHeardWithoutClippingOrClicks) {
    for (const Expected& sound : kSounds) {
        Wav wav;
        ASSERT_TRUE(ReadWav(SoundPath(sound.file), wav)) << sound.file;
        ASSERT_GT(wav.samples.size(), 1000u) << sound.file;
        for (int side = 0; side < wav.channels; ++side) {
            std::vector<int> s = Side(wav, side);
            int peak = 0;
            for (int v : s) peak = std::max(peak, std::abs(v));
            EXPECT_GT(peak, 8000) << sound.file << " is too quiet";
            EXPECT_LT(peak, 32000) << sound.file << " clips";
            if (!sound.loops) {
                EXPECT_LT(std::abs(s.front()), 300) << sound.file << " starts with a click";
                EXPECT_LT(std::abs(s.back()), 300) << sound.file << " ends with a click";
            }
        }
    }
}

TEST(GeneratedSounds, LoopsRunSeamlesslyFromEndToStart) {
    for (const Expected& sound : kSounds) {
        if (!sound.loops) continue;
        Wav wav;
        ASSERT_TRUE(ReadWav(SoundPath(sound.file), wav)) << sound.file;
        for (int side = 0; side < wav.channels; ++side) {
            std::vector<int> s = Side(wav, side);
            std::vector<int> steps;
            for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
            std::sort(steps.begin(), steps.end());
            int usual = 2 * steps[steps.size() / 2];
            // The jump across the seam is like the signal's own steps: no
            // click each time the loop comes round.
            EXPECT_LE(std::abs(s.front() - s.back()), usual) << sound.file;
        }
    }
}

TEST(GeneratedSounds, TheMusicIsAShortSmallLoop) {
    Wav wav;
    ASSERT_TRUE(ReadWav(SoundPath("stream_bg_music.wav"), wav));
    double seconds = static_cast<double>(wav.samples.size()) / wav.channels / wav.rate;
    EXPECT_GE(seconds, 8.0);
    EXPECT_LE(seconds, 16.0);
    EXPECT_LT(wav.samples.size() * 2, 3u * 1024u * 1024u);
}

}  // namespace
