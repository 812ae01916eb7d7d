// The SDL_mixer sound layer heard through the disk audio driver: samples,
// channels, volumes, stale handles, 3D placement and the music stream.
#include <gtest/gtest.h>

#include "platform/channel_handle.h"
#include "platform/disk_audio.h"  // tests/platform
#include "platform/fsound.h"

using sound_test::kAudible;
using sound_test::kBytesPerSecond;
using sound_test::kFlushMargin;

namespace {

class SoundChannels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        tone = FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("tone.wav", 0.3).c_str(), 0, 0, 0);
        hum = FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("hum.wav", 0.2, 220.0).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
        ASSERT_TRUE(tone && hum);
    }
    void TearDown() override { FSOUND_Close(); }
    int Loudness(long extra = 0) { return disk.LoudnessAfter(disk.Bytes() + extra).Max(); }
    FSOUND_STREAM* Music(double seconds, unsigned int mode) {
        return FSOUND_Stream_Open(disk.ToneFile("music" + std::to_string(files++) + ".wav", seconds).c_str(), mode, 0, 0);
    }

    sound_test::DiskAudio disk;
    FSOUND_SAMPLE* tone = nullptr;
    FSOUND_SAMPLE* hum = nullptr;
    int files = 0;
};

TEST_F(SoundChannels, APlayedSampleEndsOnItsOwnALoopingOneWhenStoppedAndVolumeReachesIt) {
    const long before = disk.Bytes();
    ASSERT_GE(FSOUND_PlaySound(FSOUND_FREE, tone), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 1);
    const long end = disk.WaitPast(before, 0.3);
    EXPECT_GT(disk.PeakBetween(before, end + kFlushMargin).Max(), kAudible);
    EXPECT_EQ(disk.LoudnessAfter(before + static_cast<long>(0.3 * kBytesPerSecond)).Max(), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);

    const int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_GE(channel, 0);
    const int full = Loudness(2 * kBytesPerSecond);  // ten times the sample's length later
    EXPECT_GT(full, kAudible);
    EXPECT_TRUE(FSOUND_SetVolume(channel, 400) && FSOUND_GetVolume(channel) == 255 && FSOUND_SetVolume(channel, 64));
    EXPECT_NEAR(static_cast<double>(Loudness()) / full, 0.25, 0.03);
    EXPECT_TRUE(FSOUND_StopSound(channel) && FSOUND_GetChannelsPlaying() == 0 && Loudness() == 0);
}

TEST_F(SoundChannels, StaleAndInvalidHandlesNeverReachAChannel) {
    const int held = FSOUND_PlaySound(FSOUND_FREE, hum);
    ASSERT_TRUE(FSOUND_StopSound(held));
    const int next = FSOUND_PlaySound(FSOUND_FREE, hum);
    // The lowest free channel is taken again, under a new handle.
    ASSERT_EQ(platform::ChannelIndexOf(next), platform::ChannelIndexOf(held));
    ASSERT_NE(next, held);
    const float pos[3] = {1000.0f, 0.0f, 0.0f};
    for (int bad : {held, -7, platform::ChannelIndexOf(next), next + 1, 1 << 30}) {
        EXPECT_FALSE(FSOUND_SetVolume(bad, 0)) << bad;
        EXPECT_EQ(FSOUND_GetVolume(bad), 0) << bad;
        EXPECT_FALSE(FSOUND_StopSound(bad)) << bad;
        EXPECT_FALSE(FSOUND_3D_SetAttributes(bad, pos, nullptr)) << bad;
    }
    EXPECT_EQ(FSOUND_GetVolume(next), 255);
    EXPECT_GT(Loudness(), kAudible);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_PlaySound(32, hum), -1);  // past the 32 channels
}

TEST_F(SoundChannels, TheChannelLimitAndFreeingAPlayingSample) {
    std::vector<int> handles;
    for (int i = 0; i < 32; ++i) handles.push_back(FSOUND_PlaySound(FSOUND_FREE, hum));
    EXPECT_GE(handles.back(), 0);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, hum), -1);  // all busy
    FSOUND_StopSound(handles[5]);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 31);
    EXPECT_EQ(platform::ChannelIndexOf(FSOUND_PlaySound(FSOUND_FREE, tone)), 5);

    FSOUND_Sample_Free(hum);
    FSOUND_Sample_Free(tone);
    EXPECT_TRUE(FSOUND_GetChannelsPlaying() == 0 && Loudness() == 0);
    // The freed handle is dead; freeing it again is harmless.
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, hum), -1);
    FSOUND_Sample_Free(hum);
}

TEST_F(SoundChannels, PlacementPansAndDampsByDistance) {
    const float origin[3] = {0.0f, 0.0f, 0.0f}, right[3] = {5.0f, 0.0f, 0.0f}, farAhead[3] = {0.0f, 0.0f, 100.0f};
    FSOUND_3D_Listener_SetAttributes(origin, nullptr, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
    FSOUND_3D_SetRolloffFactor(1.0f);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, hum);
    const sound_test::Peak centred = disk.LoudnessAfter(disk.Bytes());
    EXPECT_NEAR(centred.left, centred.right, centred.right / 20);
    ASSERT_TRUE(FSOUND_3D_SetAttributes(channel, right, nullptr));
    const sound_test::Peak panned = disk.LoudnessAfter(disk.Bytes());
    EXPECT_GT(panned.right, 2 * panned.left);
    ASSERT_TRUE(FSOUND_3D_SetAttributes(channel, farAhead, nullptr));
    const int far = Loudness();
    EXPECT_TRUE(far > 0 && far < centred.Max() / 4) << far;
    FSOUND_StopSound(channel);  // a new play on the channel starts centred at full volume
    ASSERT_EQ(platform::ChannelIndexOf(FSOUND_PlaySound(FSOUND_FREE, hum)), platform::ChannelIndexOf(channel));
    EXPECT_NEAR(Loudness(), centred.Max(), centred.Max() / 20);
}

TEST_F(SoundChannels, StreamsLoopAsTheirModeSaysAndClosingOneSilencesIt) {
    FSOUND_STREAM* loop = Music(0.25, FSOUND_LOOP_NORMAL);
    const int channel = FSOUND_Stream_Play(FSOUND_FREE, loop);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(platform::ChannelIndexOf(channel), platform::kMusicChannelIndex);
    EXPECT_GT(Loudness(2 * kBytesPerSecond), kAudible);  // eight times its length later
    EXPECT_EQ(FSOUND_Stream_Play(channel, loop), channel);  // a restart on its handle keeps it

    // Looping switched on while a stream plays takes effect, and off again ends it.
    FSOUND_STREAM* once = Music(4.0, 0);
    const long start = disk.Bytes();
    const int fresh = FSOUND_Stream_Play(FSOUND_FREE, once);
    EXPECT_NE(fresh, channel);
    EXPECT_FALSE(FSOUND_SetVolume(channel, 0)) << "the old handle is stale";
    disk.WaitPast(start, 0.1);
    ASSERT_TRUE(FSOUND_Stream_SetMode(once, FSOUND_LOOP_NORMAL));
    ASSERT_EQ(FSOUND_GetChannelsPlaying(), 1) << "one stream at a time, and it has not ended yet";
    EXPECT_GT(disk.LoudnessAfter(start + 6 * kBytesPerSecond).Max(), kAudible);
    ASSERT_TRUE(FSOUND_Stream_SetMode(once, FSOUND_LOOP_OFF));
    EXPECT_EQ(Loudness(4 * kBytesPerSecond), 0);

    // Closing a playing stream silences it and kills its handle.
    FSOUND_STREAM* closed = Music(0.5, FSOUND_LOOP_NORMAL);
    const int last = FSOUND_Stream_Play(FSOUND_FREE, closed);
    EXPECT_TRUE(last >= 0 && FSOUND_SetVolume(last, 127));
    ASSERT_TRUE(FSOUND_Stream_Close(closed));
    EXPECT_TRUE(FSOUND_GetChannelsPlaying() == 0 && Loudness() == 0);
    EXPECT_TRUE(FSOUND_Stream_Play(FSOUND_FREE, closed) == (-1) && !FSOUND_Stream_Stop(closed));
    EXPECT_FALSE(FSOUND_Stream_Close(closed));
}

}  // namespace
