// The music stream of the SDL_mixer sound layer, heard through the disk
// audio driver: looping (also when switched on mid-play), stopping, closing,
// its channel handle and volume.
#include <gtest/gtest.h>

#include "platform/channel_handle.h"
#include "platform/disk_audio.h"  // tests/platform
#include "platform/fsound.h"

using sound_test::DiskAudio;
using sound_test::kAudible;
using sound_test::kBytesPerSecond;
using sound_test::kFlushMargin;

namespace {

class MusicStream : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FSOUND_Init(44100, 32, 0)); }
    void TearDown() override { FSOUND_Close(); }

    FSOUND_STREAM* Open(double seconds, unsigned int mode) {
        std::string file = disk.ToneFile("music" + std::to_string(files++) + ".wav", seconds);
        return FSOUND_Stream_Open(file.c_str(), mode, 0, 0);
    }

    sound_test::Peak LoudnessAfter(long from, double seconds = 0.5) {
        long start = from + kFlushMargin;
        long end = disk.WaitPast(start, seconds);
        return disk.PeakBetween(start, end);
    }

    DiskAudio disk;
    int files = 0;
};

TEST_F(MusicStream, ALoopingStreamKeepsPlayingPastItsLength) {
    FSOUND_STREAM* stream = Open(0.25, FSOUND_LOOP_NORMAL);
    ASSERT_NE(stream, nullptr);
    long start = disk.Bytes();
    int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(platform::ChannelIndexOf(channel), platform::kMusicChannelIndex);
    // Eight times its length later it still sounds.
    EXPECT_GT(LoudnessAfter(start + 2 * kBytesPerSecond).Max(), kAudible);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
}

TEST_F(MusicStream, AStreamWithoutLoopEndsAfterItsLength) {
    FSOUND_STREAM* stream = Open(0.25, 0);
    ASSERT_NE(stream, nullptr);
    long start = disk.Bytes();
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    long end = disk.WaitPast(start, 0.25);
    EXPECT_GT(disk.PeakBetween(start, end).Max(), kAudible);
    EXPECT_EQ(LoudnessAfter(start + kBytesPerSecond / 4).Max(), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
}

TEST_F(MusicStream, LoopingSwitchedOnWhilePlayingTakesEffect) {
    FSOUND_STREAM* stream = Open(4.0, 0);
    ASSERT_NE(stream, nullptr);
    long start = disk.Bytes();
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    disk.WaitPast(start, 0.1);  // it has begun
    ASSERT_TRUE(FSOUND_Stream_SetMode(stream, FSOUND_LOOP_NORMAL));
    // Still playing after the switch means the switch came before its end.
    ASSERT_EQ(FSOUND_GetChannelsPlaying(), 1) << "the stream ended before the test could switch";
    EXPECT_GT(LoudnessAfter(start + 6 * kBytesPerSecond).Max(), kAudible);

    // And off again: it ends at the close of the pass under way.
    ASSERT_TRUE(FSOUND_Stream_SetMode(stream, FSOUND_LOOP_OFF));
    EXPECT_EQ(LoudnessAfter(disk.Bytes() + 4 * kBytesPerSecond).Max(), 0);
}

TEST_F(MusicStream, PlayingAgainOnItsHandleKeepsTheHandle) {
    FSOUND_STREAM* stream = Open(0.5, FSOUND_LOOP_NORMAL);
    int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(FSOUND_Stream_Play(channel, stream), channel);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);

    // A fresh start on any free channel retires the old handle.
    int fresh = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(fresh, 0);
    EXPECT_NE(fresh, channel);
    EXPECT_FALSE(FSOUND_SetVolume(channel, 0));
    EXPECT_FALSE(FSOUND_StopSound(channel));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    EXPECT_GT(LoudnessAfter(disk.Bytes()).Max(), kAudible);
}

TEST_F(MusicStream, TheMusicChannelsVolumeReachesTheMusic) {
    FSOUND_STREAM* stream = Open(0.5, FSOUND_LOOP_NORMAL);
    int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    int full = LoudnessAfter(disk.Bytes()).Max();

    EXPECT_TRUE(FSOUND_SetVolume(channel, 127));
    EXPECT_EQ(FSOUND_GetVolume(channel), 127);
    int half = LoudnessAfter(disk.Bytes()).Max();
    EXPECT_NEAR(static_cast<double>(half) / full, 0.5, 0.03);

    FSOUND_SetVolume(channel, 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    // A 3D position means nothing to the music.
    const float pos[3] = {1.0f, 0.0f, 0.0f};
    EXPECT_FALSE(FSOUND_3D_SetAttributes(channel, pos, nullptr));
}

TEST_F(MusicStream, StoppingByStreamOrByChannelSilencesIt) {
    FSOUND_STREAM* stream = Open(0.5, FSOUND_LOOP_NORMAL);
    int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_TRUE(FSOUND_Stream_Stop(stream));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);

    channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    EXPECT_GT(LoudnessAfter(disk.Bytes()).Max(), kAudible);
    ASSERT_TRUE(FSOUND_StopSound(channel));
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
}

TEST_F(MusicStream, OneStreamPlaysAtATime) {
    FSOUND_STREAM* first = Open(0.5, FSOUND_LOOP_NORMAL);
    FSOUND_STREAM* second = Open(0.5, FSOUND_LOOP_NORMAL);
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, first), 0);
    ASSERT_GE(FSOUND_Stream_Play(FSOUND_FREE, second), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    // Stopping the one that no longer plays leaves the other playing.
    EXPECT_TRUE(FSOUND_Stream_Stop(first));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    EXPECT_TRUE(FSOUND_Stream_Stop(second));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
}

TEST_F(MusicStream, ClosingAPlayingStreamSilencesItAndKillsTheHandle) {
    FSOUND_STREAM* stream = Open(0.5, FSOUND_LOOP_NORMAL);
    int channel = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    disk.WaitPast(disk.Bytes(), 0.1);
    ASSERT_TRUE(FSOUND_Stream_Close(stream));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
    EXPECT_FALSE(FSOUND_Stream_SetMode(stream, FSOUND_LOOP_OFF));
    EXPECT_FALSE(FSOUND_Stream_Stop(stream));
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
}

TEST_F(MusicStream, MusicAndEffectsMix) {
    FSOUND_STREAM* stream = Open(0.5, FSOUND_LOOP_NORMAL);
    FSOUND_SAMPLE* hum = FSOUND_Sample_Load(
        FSOUND_FREE, disk.ToneFile("hum.wav", 0.5, 660.0).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    int music = FSOUND_Stream_Play(FSOUND_FREE, stream);
    int effect = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(music, 0);
    ASSERT_GE(effect, 0);
    EXPECT_NE(music, effect);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 2);
    // Silencing one leaves the other heard.
    FSOUND_SetVolume(music, 0);
    EXPECT_GT(LoudnessAfter(disk.Bytes()).Max(), kAudible);
    FSOUND_SetVolume(music, 255);
    FSOUND_SetVolume(effect, 0);
    EXPECT_GT(LoudnessAfter(disk.Bytes()).Max(), kAudible);
}

}  // namespace
