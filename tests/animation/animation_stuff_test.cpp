// Skeletal playback: track time keeping and key location, posing a bone chain
// into skinning matrices, the cross-fade, and the guards against bad data.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "animation/animation_stuff.h"
#include "geom/geom_expect.h"
#include "support/log_capture.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const float kAngle = 0.3926991f;  // 22.5 degrees, a quarter of 90
const Quaternion kOne(1.0f), kTurnZ = AxisRotation(Vector(0, 0, 1), 4 * kAngle);

AnimTrack Track(double length, std::vector<double> times, bool loop = true) {
    AnimTrack track{0.0, length, loop, "", {}};
    for (double t : times) track.keyFrames.push_back(KeyFrame{t, kOne, Vector()});
    return track;
}

// A chain 0 -> 1 -> 2 resting along +y, joints at y = 0, 2, 4. From key 0 to
// key 1 the root slides to (4, 0, 0) turning a quarter about z; bone 1 stays
// turned a quarter about x.
Skeleton Chain() {
    Skeleton skeleton;
    skeleton.rootBone = skeleton.curAnimation = 0;
    skeleton.boneAnimations.resize(1);
    for (int b = 0; b < 3; ++b) {
        Bone& bone = skeleton.boneList.emplace_back();
        bone.name = "bone" + std::to_string(b);
        if (b < 2) bone.children = {b + 1};
        bone.offsetMatrix.TranslateMat(0, -2.0f * b, 0);
        AnimTrack track = Track(1.25, {0, 1});
        for (KeyFrame& key : track.keyFrames)
            key = b ? KeyFrame{key.time, b == 1 ? AxisRotation(Vector(1, 0, 0), 4 * kAngle) : kOne, Vector(0, 2, 0)}
                    : KeyFrame{key.time, key.time ? kTurnZ : kOne, Vector(4.0f * float(key.time), 0, 0)};
        skeleton.boneAnimations[0].animTrackList.push_back(track);
    }
    return skeleton;
}

TEST(AnimTrack, SetTimeWrapsClampsOrFreezes) {
    struct Case { bool loop; double length, t, expected; };  // expected -1: anywhere in (0, length]
    for (const Case& c : {Case{true, 2, 3.5, 1.5}, {true, 2, 2.0, 2.0}, {true, 2, -0.5, 1.5}, {true, 2, 4.0, 2.0},
                          {false, 2, 3.0, 2.0}, {false, 2, -0.5, 1.5}, {true, 2, 1e300, -1}, {true, 1e-7, 0.05, -1},
                          {true, 1e-9, 5, 0.25}, {true, -1, 5, 0.25}, {true, kNaN, 5, 0.25}, {true, 2, kNaN, 0.25}}) {
        AnimTrack track = Track(c.length, {0}, c.loop);
        track.time = 0.25;
        track.SetTime(c.t);
        const bool inRange = track.time > 0 && track.time <= c.length;
        EXPECT_TRUE(c.expected < 0 ? inRange : track.time == c.expected) << c.length << " " << c.t << ": " << track.time;
    }
}

TEST(AnimTrack, InterpolateFrameLocatesKeysAndReportsBadSpans) {
    struct Case { std::vector<double> keys; double length, time; bool loop; AnimFrame expected; const char* report; };
    for (const Case& c : {Case{{0, 1, 2}, 2.5, 0.5, true, {0, 1, 0.5}, nullptr}, {{0, 1, 2}, 2.5, 2.25, true, {2, 0, 0.5}, nullptr},
                          {{0, 1, 2}, 2.5, 0.0, true, {2, 0, 1.0}, nullptr}, {{0, 1, 2}, 2.5, 2.0, true, {1, 2, 1.0}, nullptr},
                          {{0, 1, 2}, 2.5, 0.0, false, {1, 2, 1.0}, nullptr}, {{0.5}, 2.5, 2.0, true, {0, 0, 0.0}, nullptr},
                          {{}, 2.5, 2.0, true, {-1, -1, 0.0}, nullptr},
                          {{0, 1, 2}, 2.0, 0.0, true, {2, 0, 0.0}, "remTime = 0\ninitTime = 0\n"},
                          {{0, 1}, 2.5, 3.0, true, {1, 0, 2.0 / 1.5}, "animFrame.normTime = 1.33333\n"}}) {
        test_support::LogCapture log;
        AnimTrack track = Track(c.length, c.keys, c.loop);
        track.time = c.time;
        const AnimFrame frame = track.InterpolateFrame();
        EXPECT_TRUE(frame.startFrame == c.expected.startFrame && frame.endFrame == c.expected.endFrame &&
                    frame.normTime == c.expected.normTime) << c.time << ": " << frame.startFrame << " " << frame.normTime;
        EXPECT_EQ(log.Has("ERROR: animation/animation_stuff.cpp:"), c.report != nullptr) << log.Text();
        EXPECT_TRUE(!c.report || log.Has(c.report)) << log.Text();
    }
}

TEST(Skeleton, PosesAChainIntoSkinningMatricesAndNamedTransforms) {
    Skeleton skeleton = Chain();
    EXPECT_TRUE(QuatNear(skeleton.GetBoneTransform("bone2").rot, kOne));
    Matrix untouched;
    untouched.TranslateMat(7, 7, 7);
    skeleton.boneMatrices[3] = untouched;
    skeleton.UpdateAnimation(0.25);
    skeleton.UpdateBonePositions();
    // The root at (1, 0, 0) turned 22.5 degrees about z carries bone 2's joint
    // and, through bone 1's turn about x, the point (1, 5, 0) bound to it.
    const float c = std::cos(kAngle), s = std::sin(kAngle);
    EXPECT_TRUE(QuatNear(skeleton.GetBoneTransform("bone0").rot, AxisRotation(Vector(0, 0, 1), kAngle)));
    EXPECT_TRUE(VectorNear(skeleton.GetBoneTransform("bone2").trans, Vector(1 - 2 * s, 2 * c, 2)));
    EXPECT_TRUE(VectorNear(skeleton.boneMatrices[2] * Vector(1, 5, 0, 1), Vector(1 - 2 * s + c, 2 * c + s, 3, 1)));
    EXPECT_TRUE(MatrixNear(skeleton.boneMatrices[3], untouched));
    EXPECT_TRUE(QuatNear(skeleton.GetBoneTransform("Bone2").rot, kOne));
}

TEST(Skeleton, CrossFadeGrowsTheNextShareAndSwitchesWithoutAdvancing) {
    Skeleton skeleton = Chain();
    AnimTrack& current = skeleton.boneAnimations[0].animTrackList[0];
    current.keyFrames[1] = current.keyFrames[0];  // rests at the origin
    AnimTrack& next = skeleton.boneAnimations.emplace_back(skeleton.boneAnimations[0]).animTrackList[0];
    next.keyFrames[0] = next.keyFrames[1] = KeyFrame{0, kTurnZ, Vector(4, 0, 0)};
    next.keyFrames[1].time = next.time = 0.5;
    skeleton.nextAnimation = 1;
    skeleton.blendTime = skeleton.blendDuration = 0.5;
    skeleton.isBlending = true;
    skeleton.UpdateAnimation(kNaN);
    for (int quarter = 1; quarter <= 2; ++quarter) {  // a quarter of the fade, then half
        skeleton.UpdateAnimation(0.125);
        skeleton.UpdateBonePositions();
        const QuatVec root = skeleton.GetBoneTransform("bone0");
        EXPECT_TRUE(VectorNear(root.trans, Vector(quarter, 0, 0)));
        EXPECT_TRUE(QuatNear(root.rot, AxisRotation(Vector(0, 0, 1), quarter * kAngle)));
    }
    skeleton.UpdateAnimation(0.25);
    EXPECT_TRUE(skeleton.curAnimation == 1 && !skeleton.isBlending);
    EXPECT_DOUBLE_EQ(next.time, 0.75);
    EXPECT_DOUBLE_EQ(skeleton.boneAnimations[0].animTrackList[0].time, 0.5);
}

// Each broken skeleton plays three frames: its pose stays within what exists,
// and its one fault is reported once.
TEST(Skeleton, GuardsAgainstIndexesAndTracksThatDoNotExist) {
    struct Case { const char* name; void (*breakIt)(Skeleton&); const char* report; };
    for (const Case& c : {
             Case{"animation past the end", [](Skeleton& k) { k.curAnimation = 1; }, "animation 1 does not exist"},
             {"fade into nothing", [](Skeleton& k) { k.isBlending = true, k.nextAnimation = 3, k.blendTime = k.blendDuration = 1; },
              "the cross-fade to animation 3 is ended"},
             {"fade without duration", [](Skeleton& k) { k.isBlending = true, k.nextAnimation = 0, k.blendDuration = 0; }, nullptr},
             {"short track list", [](Skeleton& k) { k.boneAnimations[0].animTrackList.pop_back(); },
              "boneList.size() = 3\nboneAnimations[curAnimation].animTrackList.size() = 2\n"},
             {"unkeyed bone", [](Skeleton& k) { k.boneAnimations[0].animTrackList[1].keyFrames.clear(); }, nullptr},
             {"zero span", [](Skeleton& k) { for (AnimTrack& t : k.boneAnimations[0].animTrackList) t.length = 1; }, "Divide by zero"},
             {"cycle", [](Skeleton& k) { k.boneList[2].children = {0}; }, "cannot be posed"}}) {
        test_support::LogCapture log;
        Skeleton skeleton = Chain();
        c.breakIt(skeleton);
        for (double dt : {kNaN, 0.1, 0.1}) {
            skeleton.UpdateAnimation(dt);
            skeleton.UpdateBonePositions();
        }
        EXPECT_EQ(log.Count("WARNING") + log.Count("ERROR"), c.report ? 1 : 0) << c.name << "\n" << log.Text();
        EXPECT_TRUE(!c.report || log.Has(c.report)) << c.name << "\n" << log.Text();
        EXPECT_FALSE(skeleton.isBlending) << c.name;
        for (const QuatVec& posed : skeleton.boneTransforms) EXPECT_NEAR(posed.rot.Mag(), 1.0f, 1e-5f) << c.name;
    }
}

}  // namespace
