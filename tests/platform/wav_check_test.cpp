// The sound-file check and the canonical copy SDL_mixer decodes: broken and
// hostile layouts, chunk layouts on which the check and SDL once disagreed,
// and the formats the game refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/disk_audio.h"  // tests/platform
#include "platform/fsound.h"
#include "platform/wav_check.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sound_test::Le;
using sound_test::MonoFormat;
using sound_test::Riff;

// The check pads the odd "LIST" chunk and SDL 1.2 does not, which leaves SDL
// inside the "junk" chunk the check skips: there SDL finds a format at
// sdlRate and 64 bytes of silence; the check reads `checked` (fmt and data).
std::string SkewedWav(std::uint32_t sdlRate, const std::string& checked) {
    return Riff("LIST" + Le(1, 4) + "x" + "L" + "IST\x09" + std::string(4, '\0') + "junk" + Le(96, 4) +
                MonoFormat(sdlRate) + "data" + Le(64, 4) + std::string(64, '\0') + checked);
}

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(WavCheck, BrokenLayoutsAndFormatsOutsideWhatTheGameUsesAreRefused) {
    const std::string samples = "data" + Le(8, 4) + std::string(8, '\x10'), format = MonoFormat(22050);
    const std::string whole = Riff(format + samples), past = "chunk runs past the end of the file";
    const std::string rate = "unsupported channel count or rate";
    const struct {
        std::string file;
        std::string problem;  // empty: accepted
    } cases[] = {
        {whole, ""},
        {Riff("odd " + Le(3, 4) + "abc" + std::string(1, '\0') + MonoFormat(44100) + samples), ""},
        {"", "not a RIFF WAVE file"},
        {"hello world", "not a RIFF WAVE file"},
        {whole.substr(0, whole.size() - 1), past},
        {whole.substr(0, 30), past},
        {Riff(format + "data" + Le(0xFFFFFFFFu, 4) + "xx"), past},  // claims four gigabytes
        {Riff(samples + format), "data chunk before format chunk"},
        {Riff(format + "dat"), "no data chunk"},
        {Riff(MonoFormat(0) + samples), rate},
        {Riff(MonoFormat(1) + samples), rate},
        {Riff(MonoFormat(22051) + samples), rate},
        {Riff(MonoFormat(96000) + samples), rate},
        {Riff(MonoFormat(22050).replace(10, 2, Le(0, 2)) + samples), rate},  // no channels
        {Riff(MonoFormat(22050).replace(10, 2, Le(3, 2)) + samples), rate},
        {Riff(format + format + samples), "two format chunks"},
        {Riff(format + "data" + Le(1, 4) + "x"), "no samples in the data chunk"},
        {Riff(MonoFormat(22050).replace(22, 2, Le(24, 2)) + samples), "unsupported WAV format"},
        {Riff(MonoFormat(22050).replace(8, 2, Le(3, 2)) + samples), "unsupported WAV format"},  // 32-bit float
    };
    for (const auto& test : cases) {
        std::string problem;
        EXPECT_EQ(platform::CheckWavImage(ToBytes(test.file), problem), test.problem.empty()) << problem;
        EXPECT_EQ(problem.rfind(test.problem, 0), 0u) << problem;
    }
}

TEST(WavCheck, TheCanonicalCopyHoldsExactlyTheCheckedChunks) {
    const std::string tone = sound_test::ToneWav(0.01, 440.0);
    const std::string checked = tone.substr(12, 24) + "data" + Le(41, 4) + tone.substr(44, 41);
    const Bytes file = ToBytes(SkewedWav(1, checked));
    platform::WavLayout layout;
    std::string problem;
    ASSERT_TRUE(platform::ReadWavLayout(file, layout, problem)) << problem;
    EXPECT_TRUE(layout.rate == 22050u && layout.channels == 1u && layout.bits == 16u);
    // A 41-byte data chunk holds 20 whole frames; the last odd byte is left out.
    const Bytes expected = ToBytes(Riff(tone.substr(12, 24) + "data" + Le(40, 4) + tone.substr(44, 40)));
    EXPECT_EQ(platform::CanonicalWav(file, layout), expected);
}

// Through the game's sound layer: the rates 0 and 1 that SDL would have read
// crashed its conversion; now each file plays what the check read (a tone),
// never SDL's own reading of it (silence).
TEST(WavCheck, SkewedFilesPlayTheCheckedSamples) {
    sound_test::DiskAudio disk;
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    const std::string fixture = std::string(QUELL_SOURCE_DIR) + "/tests/fixtures/hostile/wav/wav-check-skew-rate1.wav";
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, fixture.c_str(), 0, 0, 0), nullptr);
    for (std::uint32_t rate : {0u, 1u, 22050u}) {
        const std::string file = disk.File("skew.wav", SkewedWav(rate, sound_test::ToneWav(0.3, 440.0).substr(12)));
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, file.c_str(), 0, 0, 0);
        ASSERT_NE(sample, nullptr) << rate;
        const long before = disk.Bytes();
        ASSERT_GE(FSOUND_PlaySound(FSOUND_FREE, sample), 0);
        const long end = disk.WaitPast(before, 0.3);
        EXPECT_GT(disk.PeakBetween(before, end + sound_test::kFlushMargin).Max(), sound_test::kAudible) << rate;
        FSOUND_Sample_Free(sample);
    }
    FSOUND_Close();
}

}  // namespace
