// The sound-file check that guards SDL_mixer's decoder against truncated and
// hostile WAV headers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wav_check.h"

using platform::CheckWavImage;

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void PutFormat(std::vector<std::uint8_t>& out, int tag, int channels, int rate, int bits) {
    PutTag(out, "fmt ");
    Put(out, 16, 4);
    Put(out, tag, 2);
    Put(out, channels, 2);
    Put(out, rate, 4);
    Put(out, rate * channels * bits / 8, 4);
    Put(out, channels * bits / 8, 2);
    Put(out, bits, 2);
}

void PutData(std::vector<std::uint8_t>& out, std::uint32_t declared, std::size_t actual) {
    PutTag(out, "data");
    Put(out, declared, 4);
    out.resize(out.size() + actual, 0);
}

std::vector<std::uint8_t> Riff(const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put(out, static_cast<std::uint32_t>(body.size() + 4), 4);
    PutTag(out, "WAVE");
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::string Problem(const std::vector<std::uint8_t>& bytes) {
    std::string problem;
    return CheckWavImage(bytes, problem) ? "" : problem;
}

TEST(WavCheck, AcceptsPlainPcmWithOtherChunksBetween) {
    std::vector<std::uint8_t> body;
    PutFormat(body, 1, 1, 22050, 16);
    PutTag(body, "LIST");
    Put(body, 3, 4);  // odd size: one pad byte follows
    body.insert(body.end(), {'a', 'b', 'c', 0});
    PutData(body, 8, 8);
    EXPECT_EQ(Problem(Riff(body)), "");

    std::vector<std::uint8_t> stereo8;
    PutFormat(stereo8, 1, 2, 44100, 8);
    PutData(stereo8, 0, 0);
    EXPECT_EQ(Problem(Riff(stereo8)), "");
}

TEST(WavCheck, RejectsChunksThatRunPastTheFile) {
    std::vector<std::uint8_t> body;
    PutFormat(body, 1, 1, 22050, 16);
    PutData(body, 0xFFFFFFFFu, 8);
    EXPECT_EQ(Problem(Riff(body)), "chunk runs past the end of the file");

    std::vector<std::uint8_t> cutFormat;
    PutTag(cutFormat, "fmt ");
    Put(cutFormat, 16, 4);
    cutFormat.resize(cutFormat.size() + 6);
    EXPECT_EQ(Problem(Riff(cutFormat)), "chunk runs past the end of the file");
}

TEST(WavCheck, RejectsWhatTheDecoderCannotTake) {
    std::vector<std::uint8_t> floats;
    PutFormat(floats, 3, 1, 44100, 32);
    PutData(floats, 4, 4);
    EXPECT_NE(Problem(Riff(floats)).find("unsupported WAV format"), std::string::npos);

    std::vector<std::uint8_t> noChannels;
    PutFormat(noChannels, 1, 0, 44100, 16);
    PutData(noChannels, 4, 4);
    EXPECT_EQ(Problem(Riff(noChannels)), "unsupported channel count or rate");

    std::vector<std::uint8_t> zeroRate;
    PutFormat(zeroRate, 1, 1, 0, 16);
    PutData(zeroRate, 4, 4);
    EXPECT_EQ(Problem(Riff(zeroRate)), "unsupported channel count or rate");

    std::vector<std::uint8_t> shortFormat;
    PutTag(shortFormat, "fmt ");
    Put(shortFormat, 8, 4);
    shortFormat.resize(shortFormat.size() + 8);
    PutData(shortFormat, 0, 0);
    EXPECT_EQ(Problem(Riff(shortFormat)), "format chunk too short");
}

TEST(WavCheck, RejectsFilesMissingTheirParts) {
    EXPECT_EQ(Problem({}), "not a RIFF WAVE file");
    EXPECT_EQ(Problem({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}), "not a RIFF WAVE file");
    EXPECT_EQ(Problem(Riff({})), "no format chunk");

    std::vector<std::uint8_t> formatOnly;
    PutFormat(formatOnly, 1, 1, 22050, 16);
    EXPECT_EQ(Problem(Riff(formatOnly)), "no data chunk");

    std::vector<std::uint8_t> dataFirst;
    PutData(dataFirst, 2, 2);
    PutFormat(dataFirst, 1, 1, 22050, 16);
    EXPECT_EQ(Problem(Riff(dataFirst)), "data chunk before format chunk");

    // A trailing partial chunk header is not a chunk.
    std::vector<std::uint8_t> trailing = Riff(formatOnly);
    trailing.insert(trailing.end(), {'d', 'a', 't'});
    EXPECT_EQ(Problem(trailing), "no data chunk");
}

TEST(WavCheck, ReadingRefusesMissingFiles) {
    std::vector<std::uint8_t> bytes;
    std::string problem;
    EXPECT_FALSE(platform::ReadSoundFile("/nonexistent/quell/sound.wav", bytes, problem));
    EXPECT_EQ(problem, "cannot open file");
}

}  // namespace
