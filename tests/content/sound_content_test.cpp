// The generated sounds in the run folder: every sample and the music stream
// the game names is a 16-bit PCM WAV that SDL_mixer loads, is heard without
// clipping, starts and ends without a click, and the two loops run
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

std::uint32_t LE(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

TEST(GeneratedSounds, AreCleanSixteenBitPcmThatTheMixerLoads) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    const char* const sounds[] = {"shot_laser1", "shot_laser2", "missile_fire", "explosion_short", "explosion_long",
                                  "shield_hit1", "shield_hit2", "shield_hit3", "hull_hit", "step", "landing",
                                  "health_pickup", "recharge_shield", "boost", "bg_music"};
    for (const std::string sound : sounds) {
        const bool loops = sound == "boost" || sound == "bg_music";
        const std::string path = std::string(QUELL_RUN_DIR) + "/resource/sounds/" + (sound == "bg_music" ? "stream_" : "sample_") + sound + ".wav";
        std::ifstream in(path, std::ios::binary);
        const std::string b((std::istreambuf_iterator<char>(in)), {});
        // The plain 44-byte header our writer produces, with sizes that match the file.
        ASSERT_TRUE(b.size() > 2044 && b.compare(0, 4, "RIFF") == 0 && b.compare(8, 8, "WAVEfmt ") == 0 &&
                    b.compare(36, 4, "data") == 0 && LE(b, 4, 4) == b.size() - 8 && LE(b, 40, 4) == b.size() - 44) << path;
        const int channels = LE(b, 22, 2), rate = LE(b, 24, 4);
        EXPECT_TRUE(LE(b, 20, 2) == 1 && LE(b, 34, 2) == 16 && (channels == 1 || channels == 2)) << path;
        EXPECT_TRUE((rate == 22050 || rate == 44100) && LE(b, 28, 4) == std::uint32_t(rate * channels * 2)) << path;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        if (chunk) Mix_FreeChunk(chunk);

        for (int side = 0; side < channels; ++side) {
            std::vector<int> s, steps;
            for (std::size_t i = 44 + 2 * side; i + 1 < b.size(); i += 2 * channels) s.push_back(std::int16_t(LE(b, i, 2)));
            int peak = 0;
            for (std::size_t i = 0; i < s.size(); ++i) {
                peak = std::max(peak, std::abs(s[i]));
                if (i) steps.push_back(std::abs(s[i] - s[i - 1]));
            }
            EXPECT_TRUE(peak > 8000 && peak < 32000) << path << ": too quiet or clipping at " << peak;
            if (!loops) {
                EXPECT_TRUE(std::abs(s.front()) < 300 && std::abs(s.back()) < 300) << path << " starts or ends with a click";
                continue;
            }
            // The jump across the seam is like the signal's own steps.
            std::sort(steps.begin(), steps.end());
            EXPECT_LE(std::abs(s.front() - s.back()), 2 * steps[steps.size() / 2]) << path;
        }
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
