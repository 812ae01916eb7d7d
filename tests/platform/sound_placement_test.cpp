// Pure parts of the sound layer: where a 3D sound is heard, and the
// generation that channel handles carry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/channel_handle.h"
#include "platform/sound_placement.h"

using platform::PlaceSound;
using platform::SoundListener;

namespace {

SoundListener LookingAlong(float fx, float fy, float fz) {
    SoundListener listener;
    listener.forward[0] = fx;
    listener.forward[1] = fy;
    listener.forward[2] = fz;
    return listener;
}

int AngleOf(const SoundListener& listener, float x, float y, float z) {
    const float pos[3] = {x, y, z};
    return PlaceSound(listener, pos, 1.0f).angle;
}

TEST(SoundPlacement, AngleIsClockwiseFromStraightAhead) {
    SoundListener listener = LookingAlong(0.0f, 0.0f, -1.0f);
    EXPECT_EQ(AngleOf(listener, 0.0f, 0.0f, -5.0f), 0);
    EXPECT_EQ(AngleOf(listener, 5.0f, 0.0f, 0.0f), 90);   // right
    EXPECT_EQ(AngleOf(listener, 0.0f, 0.0f, 5.0f), 180);  // behind
    EXPECT_EQ(AngleOf(listener, -5.0f, 0.0f, 0.0f), 270); // left
    EXPECT_EQ(AngleOf(listener, 5.0f, 0.0f, -5.0f), 45);
    // Height alone does not pan; right on the listener is straight ahead.
    EXPECT_EQ(AngleOf(listener, 0.0f, 9.0f, 0.0f), 0);
    EXPECT_EQ(AngleOf(listener, 0.0f, 0.0f, 0.0f), 0);
}

TEST(SoundPlacement, FollowsTheListenersPositionAndTurn) {
    SoundListener listener = LookingAlong(1.0f, 0.0f, 0.0f);  // facing +x
    listener.position[0] = 10.0f;
    listener.position[2] = 10.0f;
    EXPECT_EQ(AngleOf(listener, 20.0f, 0.0f, 10.0f), 0);
    EXPECT_EQ(AngleOf(listener, 10.0f, 0.0f, 20.0f), 90);  // +z is on the right
    EXPECT_EQ(AngleOf(listener, 0.0f, 0.0f, 10.0f), 180);
    // An unnormalised, tilted forward vector gives the same answer.
    SoundListener tilted = LookingAlong(3.0f, 1.0f, 0.0f);
    EXPECT_EQ(AngleOf(tilted, 0.0f, 0.0f, 4.0f), 90);
}

TEST(SoundPlacement, DegenerateListenersStillGiveFiniteAnswers) {
    const float pos[3] = {3.0f, 0.0f, 0.0f};
    SoundListener zero = LookingAlong(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(PlaceSound(zero, pos, 1.0f).angle, 90);  // falls back to facing -z
    SoundListener up = LookingAlong(0.0f, 1.0f, 0.0f);  // along its own top
    platform::SoundPlacement placement = PlaceSound(up, pos, 1.0f);
    EXPECT_GE(placement.angle, 0);
    EXPECT_LT(placement.angle, 360);
    const float nowhere[3] = {std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f};
    placement = PlaceSound(SoundListener(), nowhere, 1.0f);
    EXPECT_EQ(placement.angle, 0);
    EXPECT_GE(placement.distance, 0);
    EXPECT_LE(placement.distance, 255);
}

TEST(SoundPlacement, DistanceDampsByRolloff) {
    using platform::DistanceGain;
    using platform::kSoundMinDistance;
    EXPECT_FLOAT_EQ(DistanceGain(0.0f, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(DistanceGain(kSoundMinDistance, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(DistanceGain(2 * kSoundMinDistance, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(DistanceGain(10 * kSoundMinDistance, 1.0f), 0.1f);
    EXPECT_FLOAT_EQ(DistanceGain(2 * kSoundMinDistance, 2.0f), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(DistanceGain(1000.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(DistanceGain(2 * kSoundMinDistance, 50.0f), 1.0f / 11.0f);  // capped at 10
    EXPECT_FLOAT_EQ(DistanceGain(std::numeric_limits<float>::infinity(), 1.0f), 0.0f);

    SoundListener listener;
    int previous = -1;
    for (float d : {0.0f, 5.0f, 20.0f, 50.0f, 100.0f, 1000.0f, 1e30f}) {
        const float pos[3] = {0.0f, 0.0f, -d};
        int damping = PlaceSound(listener, pos, 1.0f).distance;
        EXPECT_GE(damping, previous) << d;
        EXPECT_LE(damping, 255) << d;
        previous = damping;
    }
    EXPECT_EQ(previous, 255);
}

TEST(ChannelHandles, CarryIndexAndGeneration) {
    using namespace platform;
    int handle = MakeChannelHandle(31, 7);
    EXPECT_EQ(ChannelIndexOf(handle), 31);
    EXPECT_EQ(ChannelGenerationOf(handle), 7u);
    EXPECT_NE(MakeChannelHandle(31, 8), handle);

    int music = MakeChannelHandle(kMusicChannelIndex, kMaxChannelGeneration);
    EXPECT_GT(music, 0);  // never mistaken for -1 or another failure value
    EXPECT_EQ(ChannelIndexOf(music), kMusicChannelIndex);
    EXPECT_EQ(ChannelGenerationOf(music), kMaxChannelGeneration);
    EXPECT_GT(kMusicChannelIndex, kMaxEffectChannels - 1);

    // Generations wrap past the top without ever reaching 0.
    EXPECT_EQ(NextChannelGeneration(0), 1u);
    EXPECT_EQ(NextChannelGeneration(kMaxChannelGeneration), 1u);
    EXPECT_EQ(NextChannelGeneration(kMaxChannelGeneration - 1), kMaxChannelGeneration);
}

}  // namespace
