// Pure parts of the sound layer: where a 3D sound is heard, and the
// generation that channel handles carry.
#include <gtest/gtest.h>

#include <limits>

#include "platform/channel_handle.h"
#include "platform/sound_placement.h"

namespace {

using platform::SoundListener;

SoundListener Listener(float fx, float fy, float fz, float px = 0, float pz = 0) {
    SoundListener listener;
    listener.forward[0] = fx, listener.forward[1] = fy, listener.forward[2] = fz;
    listener.position[0] = px, listener.position[2] = pz;
    return listener;
}

TEST(SoundPlacement, AngleIsClockwiseFromStraightAheadAndDistanceDamps) {
    struct Case { SoundListener listener; float x, y, z; int angle; };
    const SoundListener ahead = Listener(0, 0, -1), east = Listener(1, 0, 0, 10, 10);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {ahead, 0, 0, -5, 0}, {ahead, 5, 0, 0, 90}, {ahead, 0, 0, 5, 180}, {ahead, -5, 0, 0, 270}, {ahead, 5, 0, -5, 45},
        {ahead, 0, 9, 0, 0}, {ahead, 0, 0, 0, 0},  // height alone does not pan; on the listener is ahead
        {east, 10, 0, 20, 90}, {east, 0, 0, 10, 180}, {Listener(3, 1, 0), 0, 0, 4, 90},  // unnormalised and tilted
        {Listener(0, 0, 0), 3, 0, 0, 90},  // no forward: falls back to facing -z
        {ahead, nan, 0, 0, 0}};
    for (const Case& c : cases) {
        const float pos[3] = {c.x, c.y, c.z};
        const platform::SoundPlacement placement = platform::PlaceSound(c.listener, pos, 1.0f);
        EXPECT_EQ(placement.angle, c.angle) << c.x << "," << c.y << "," << c.z;
        EXPECT_TRUE(placement.distance >= 0 && placement.distance <= 255) << c.x;
    }
    using platform::DistanceGain;
    const float d = platform::kSoundMinDistance;
    EXPECT_FLOAT_EQ(DistanceGain(d, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(DistanceGain(10 * d, 1.0f), 0.1f);
    EXPECT_FLOAT_EQ(DistanceGain(2 * d, 2.0f), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(DistanceGain(1000.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(DistanceGain(2 * d, 50.0f), 1.0f / 11.0f);  // capped at 10
    EXPECT_FLOAT_EQ(DistanceGain(std::numeric_limits<float>::infinity(), 1.0f), 0.0f);
    const float far[3] = {0.0f, 0.0f, -1e30f};
    EXPECT_EQ(platform::PlaceSound(ahead, far, 1.0f).distance, 255);
}

TEST(ChannelHandles, CarryIndexAndAGenerationThatSkipsZero) {
    using namespace platform;
    const int music = MakeChannelHandle(kMusicChannelIndex, kMaxChannelGeneration);
    EXPECT_GT(music, 0);  // never mistaken for -1 or another failure value
    EXPECT_TRUE(ChannelIndexOf(music) == kMusicChannelIndex && ChannelGenerationOf(music) == kMaxChannelGeneration);
    EXPECT_NE(MakeChannelHandle(31, 8), MakeChannelHandle(31, 7));
    EXPECT_EQ(NextChannelGeneration(kMaxChannelGeneration), 1u);
}

}  // namespace
