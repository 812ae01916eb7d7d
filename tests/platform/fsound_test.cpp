// The SDL_mixer sound layer heard through the disk audio driver: samples,
// channels, volumes, stale handles and 3D placement.
#include <gtest/gtest.h>

#include "platform/channel_handle.h"
#include "platform/fsound.h"
#include "platform/disk_audio.h"  // tests/platform

using sound_test::DiskAudio;
using sound_test::kAudible;
using sound_test::kBytesPerSecond;
using sound_test::kFlushMargin;

namespace {

class SoundChannels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        tone = FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("tone.wav", 0.3).c_str(), 0, 0, 0);
        hum = FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("hum.wav", 0.2, 220.0).c_str(),
                                 FSOUND_LOOP_NORMAL, 0, 0);
        ASSERT_NE(tone, nullptr);
        ASSERT_NE(hum, nullptr);
    }
    void TearDown() override { FSOUND_Close(); }

    // Waits until the output is well past `from` and returns its loudness
    // from there on.
    sound_test::Peak LoudnessAfter(long from, double seconds = 0.5) {
        long start = from + kFlushMargin;
        long end = disk.WaitPast(start, seconds);
        return disk.PeakBetween(start, end);
    }

    DiskAudio disk;
    FSOUND_SAMPLE* tone = nullptr;
    FSOUND_SAMPLE* hum = nullptr;
};

TEST_F(SoundChannels, APlayedSampleIsHeardAndThenEndsOnItsOwn) {
    long before = disk.Bytes();
    int channel = FSOUND_PlaySound(FSOUND_FREE, tone);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    long end = disk.WaitPast(before, 0.3);
    EXPECT_GT(disk.PeakBetween(before, end + kFlushMargin).Max(), kAudible);
    // 0.3 s of tone, then silence.
    EXPECT_EQ(LoudnessAfter(before + static_cast<long>(0.3 * kBytesPerSecond)).Max(), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
}

TEST_F(SoundChannels, ALoopingSampleKeepsPlayingUntilStopped) {
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    long start = disk.Bytes();
    // Ten times the sample's length later it still sounds.
    EXPECT_GT(LoudnessAfter(start + 2 * kBytesPerSecond).Max(), kAudible);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);

    EXPECT_TRUE(FSOUND_StopSound(channel));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
}

TEST_F(SoundChannels, SampleModeDecidesLoopingAtTheNextPlay) {
    ASSERT_TRUE(FSOUND_Sample_SetMode(hum, FSOUND_LOOP_OFF));
    int once = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(once, 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);

    ASSERT_TRUE(FSOUND_Sample_SetMode(tone, FSOUND_LOOP_NORMAL));
    ASSERT_GE(FSOUND_PlaySound(FSOUND_FREE, tone), 0);
    EXPECT_GT(LoudnessAfter(disk.Bytes() + kBytesPerSecond).Max(), kAudible);
}

TEST_F(SoundChannels, VolumeIsReadBackClampedAndReachesTheOutput) {
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    EXPECT_TRUE(FSOUND_SetVolume(channel, 200));
    EXPECT_EQ(FSOUND_GetVolume(channel), 200);
    EXPECT_TRUE(FSOUND_SetVolume(channel, 400));
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    long full = LoudnessAfter(disk.Bytes()).Max();

    FSOUND_SetVolume(channel, 64);
    long quarter = LoudnessAfter(disk.Bytes()).Max();
    EXPECT_NEAR(static_cast<double>(quarter) / full, 0.25, 0.03);

    EXPECT_TRUE(FSOUND_SetVolume(channel, -20));
    EXPECT_EQ(FSOUND_GetVolume(channel), 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
    // The channel plays on silently.
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
}

TEST_F(SoundChannels, InvalidChannelsAreIgnored) {
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    for (int bad : {-1, -7, platform::ChannelIndexOf(channel), channel + 1, 1 << 30}) {
        EXPECT_FALSE(FSOUND_SetVolume(bad, 10)) << bad;
        EXPECT_EQ(FSOUND_GetVolume(bad), 0) << bad;
        EXPECT_FALSE(FSOUND_StopSound(bad)) << bad;
        const float pos[3] = {1.0f, 2.0f, 3.0f};
        EXPECT_FALSE(FSOUND_3D_SetAttributes(bad, pos, nullptr)) << bad;
    }
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_PlaySound(32, hum), -1);  // past the 32 channels
}

TEST_F(SoundChannels, AStaleHandleNeverReachesTheChannelsNextSound) {
    int held = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(held, 0);
    ASSERT_TRUE(FSOUND_StopSound(held));
    int next = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(next, 0);
    // The lowest free channel is taken again, under a new handle.
    ASSERT_EQ(platform::ChannelIndexOf(next), platform::ChannelIndexOf(held));
    ASSERT_NE(next, held);

    EXPECT_FALSE(FSOUND_StopSound(held));
    EXPECT_FALSE(FSOUND_SetVolume(held, 0));
    const float farAway[3] = {1000.0f, 0.0f, 0.0f};
    EXPECT_FALSE(FSOUND_3D_SetAttributes(held, farAway, nullptr));
    EXPECT_EQ(FSOUND_GetVolume(next), 255);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    EXPECT_GT(LoudnessAfter(disk.Bytes()).Max(), kAudible);
}

TEST_F(SoundChannels, PlayingOnAGivenChannelReplacesItsSound) {
    int first = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(first, 0);
    int index = platform::ChannelIndexOf(first);
    int second = FSOUND_PlaySound(index, tone);
    ASSERT_GE(second, 0);
    EXPECT_EQ(platform::ChannelIndexOf(second), index);
    EXPECT_FALSE(FSOUND_SetVolume(first, 3));
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    // The looping hum is gone: the short tone ends and silence follows.
    EXPECT_EQ(LoudnessAfter(disk.Bytes() + kBytesPerSecond / 2).Max(), 0);
}

TEST_F(SoundChannels, ChannelsPlayingCountsUpToTheChannelLimit) {
    std::vector<int> handles;
    for (int i = 0; i < 32; ++i) {
        int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
        ASSERT_GE(channel, 0) << i;
        handles.push_back(channel);
        EXPECT_EQ(FSOUND_GetChannelsPlaying(), i + 1);
    }
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, hum), -1);  // all busy
    FSOUND_StopSound(handles[5]);
    FSOUND_StopSound(handles[9]);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 30);
    EXPECT_EQ(platform::ChannelIndexOf(FSOUND_PlaySound(FSOUND_FREE, tone)), 5);
}

TEST_F(SoundChannels, FreeingAPlayingSampleSilencesIt) {
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    FSOUND_Sample_Free(hum);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
    EXPECT_EQ(LoudnessAfter(disk.Bytes()).Max(), 0);
    // The freed handle is dead, freeing it again is harmless.
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, hum), -1);
    EXPECT_FALSE(FSOUND_Sample_SetMode(hum, FSOUND_LOOP_OFF));
    FSOUND_Sample_Free(hum);
    hum = nullptr;
}

TEST_F(SoundChannels, PlacementPansAndDampsByDistance) {
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    FSOUND_3D_Listener_SetAttributes(origin, nullptr, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
    FSOUND_3D_SetRolloffFactor(1.0f);
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    sound_test::Peak centred = LoudnessAfter(disk.Bytes());
    EXPECT_NEAR(centred.left, centred.right, centred.right / 20);

    const float right[3] = {5.0f, 0.0f, 0.0f};
    ASSERT_TRUE(FSOUND_3D_SetAttributes(channel, right, nullptr));
    sound_test::Peak panned = LoudnessAfter(disk.Bytes());
    EXPECT_GT(panned.right, 2 * panned.left);

    // Turning the listener round puts the sound on the other side.
    FSOUND_3D_Listener_SetAttributes(origin, nullptr, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    sound_test::Peak turned = LoudnessAfter(disk.Bytes());
    EXPECT_GT(turned.left, 2 * turned.right);

    const float farAhead[3] = {0.0f, 0.0f, 100.0f};
    ASSERT_TRUE(FSOUND_3D_SetAttributes(channel, farAhead, nullptr));
    int far = LoudnessAfter(disk.Bytes()).Max();
    EXPECT_LT(far, centred.Max() / 4);
    EXPECT_GT(far, 0);

    FSOUND_3D_SetRolloffFactor(0.0f);  // no damping at all
    EXPECT_NEAR(LoudnessAfter(disk.Bytes()).Max(), centred.Max(), centred.Max() / 20);
}

TEST_F(SoundChannels, ANewPlayOnAChannelStartsCentredAtFullVolume) {
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    FSOUND_3D_Listener_SetAttributes(origin, nullptr, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
    int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    const float left[3] = {-50.0f, 0.0f, 0.0f};
    ASSERT_TRUE(FSOUND_3D_SetAttributes(channel, left, nullptr));
    FSOUND_SetVolume(channel, 30);
    FSOUND_StopSound(channel);

    int again = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_EQ(platform::ChannelIndexOf(again), platform::ChannelIndexOf(channel));
    EXPECT_EQ(FSOUND_GetVolume(again), 255);
    sound_test::Peak peak = LoudnessAfter(disk.Bytes());
    EXPECT_GT(peak.Max(), 10000);
    EXPECT_NEAR(peak.left, peak.right, peak.right / 20);
}

}  // namespace
