// Skeletal playback: track time keeping and key location, posing a bone chain
// into skinning matrices, the cross-fade, and the guards against data that
// would index past what exists.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "animation/animation_stuff.h"
#include "geom/geom_expect.h"
#include "support/log_capture.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const float kAngle = 0.3926991f;  // 22.5 degrees, a quarter of the way to 90
const Quaternion kTurnZ = AxisRotation(Vector(0, 0, 1), 4 * kAngle);
const Quaternion kTurnX = AxisRotation(Vector(1, 0, 0), 4 * kAngle);

KeyFrame Key(double time, const Vector& trans = Vector(), const Quaternion& rot = Quaternion(1.0f)) {
    KeyFrame key;
    key.time = time;
    key.trans = trans;
    key.rot = rot;
    return key;
}

AnimTrack Track(double length, std::vector<KeyFrame> keys, bool loop = true) {
    AnimTrack track;
    track.length = length;
    track.loop = loop;
    track.keyFrames = std::move(keys);
    return track;
}

// A chain 0 -> 1 -> 2 resting along +y with joints at y = 0, 2, 4. Over its
// first second the root slides to (4, 0, 0) while turning a quarter about z,
// and slides back in the loop's last quarter; bone 1 stays turned a quarter
// about x.
Skeleton Chain() {
    Skeleton skeleton;
    skeleton.name = "chain";
    skeleton.rootBone = 0;
    AnimSet set;
    for (int b = 0; b < 3; ++b) {
        Bone bone;
        bone.name = "bone" + std::to_string(b);
        if (b < 2) bone.children = {b + 1};
        bone.offsetMatrix.TranslateMat(0, -2.0f * b, 0);
        skeleton.boneList.push_back(bone);
        const Vector rest(0, b ? 2.0f : 0.0f, 0);
        const Quaternion turn = b == 1 ? kTurnX : Quaternion(1.0f);
        set.animTrackList.push_back(b ? Track(1.25, {Key(0, rest, turn), Key(1, rest, turn)})
                                      : Track(1.25, {Key(0), Key(1, Vector(4, 0, 0), kTurnZ)}));
    }
    skeleton.boneAnimations.push_back(set);
    skeleton.curAnimation = 0;
    return skeleton;
}

TEST(AnimTrack, SetTimeWrapsClampsOrFreezes) {
    struct Case { bool loop; double length, t, expected; };
    const Case cases[] = {
        {true, 2, 3.5, 1.5}, {true, 2, 2.0, 2.0}, {true, 2, -0.5, 1.5}, {true, 2, 4.0, 2.0},
        {false, 2, 3.0, 2.0}, {false, 2, -0.5, 1.5}, {true, 2, 1e300, -1}, {true, 1e-7, 0.05, -1},
        // Frozen: too short, negative, not finite; an ignored time.
        {true, 1e-9, 5, 0.25}, {true, -1, 5, 0.25}, {true, kNaN, 5, 0.25}, {true, 2, kNaN, 0.25},
    };
    for (const Case& c : cases) {
        AnimTrack track = Track(c.length, {Key(0)}, c.loop);
        track.time = 0.25;
        track.SetTime(c.t);
        const bool inRange = track.time > 0 && track.time <= c.length;
        EXPECT_TRUE(c.expected < 0 ? inRange : track.time == c.expected) << c.length << " " << c.t << ": " << track.time;
    }
    AnimTrack empty = Track(2, {});
    empty.AdvanceTime(1);
    EXPECT_EQ(empty.time, 0.0);
}

TEST(AnimTrack, InterpolateFrameLocatesKeysAndReportsBadSpans) {
    struct Case { std::vector<double> keys; double length, time; bool loop; AnimFrame expected; const char* report; };
    const Case cases[] = {
        {{0, 1, 2}, 2.5, 0.5, true, {0, 1, 0.5}, nullptr},
        {{0, 1, 2}, 2.5, 2.25, true, {2, 0, 0.5}, nullptr},
        {{0, 1, 2}, 2.5, 0.0, true, {2, 0, 1.0}, nullptr},  // the first key, reached by wrapping
        {{0, 1, 2}, 2.5, 2.0, true, {1, 2, 1.0}, nullptr},  // the last key closes its interval
        {{0, 1, 2}, 2.5, 0.0, false, {1, 2, 1.0}, nullptr},
        {{0.5}, 2.5, 2.0, true, {0, 0, 0.0}, nullptr},
        {{}, 2.5, 2.0, true, {-1, -1, 0.0}, nullptr},
        {{0, 1, 2}, 2.0, 0.0, true, {2, 0, 0.0}, "remTime = 0\ninitTime = 0\n"},
        {{0, 1}, 2.5, 3.0, true, {1, 0, 2.0 / 1.5}, "animFrame.normTime = 1.33333\n"},
    };
    for (const Case& c : cases) {
        test_support::LogCapture log;
        AnimTrack track = Track(c.length, {}, c.loop);
        for (double t : c.keys) track.keyFrames.push_back(Key(t));
        track.time = c.time;
        const AnimFrame frame = track.InterpolateFrame();
        EXPECT_EQ(frame.startFrame, c.expected.startFrame) << c.time;
        EXPECT_EQ(frame.endFrame, c.expected.endFrame) << c.time;
        EXPECT_DOUBLE_EQ(frame.normTime, c.expected.normTime) << c.time;
        EXPECT_EQ(log.Has("ERROR: animation/animation_stuff.cpp:"), c.report != nullptr) << log.Text();
        EXPECT_TRUE(!c.report || log.Has(c.report)) << log.Text();
    }
}

TEST(Skeleton, PosesAChainIntoSkinningMatricesAndNamedTransforms) {
    Skeleton skeleton = Chain();
    EXPECT_TRUE(QuatNear(skeleton.GetBoneTransform("bone2").rot, Quaternion(1.0f)));
    Matrix untouched;
    untouched.TranslateMat(7, 7, 7);
    skeleton.boneMatrices[3] = untouched;
    skeleton.UpdateAnimation(0.25);
    skeleton.UpdateBonePositions();

    const float c = std::cos(kAngle), s = std::sin(kAngle);
    const QuatVec root = skeleton.GetBoneTransform("bone0");
    EXPECT_TRUE(VectorNear(root.trans, Vector(1, 0, 0)));
    EXPECT_TRUE(QuatNear(root.rot, AxisRotation(Vector(0, 0, 1), kAngle)));
    EXPECT_TRUE(VectorNear(skeleton.GetBoneTransform("bone2").trans, Vector(1 - 2 * s, 2 * c, 2)));
    // Bone 2 at rest holds (1, 5, 0) one unit off its joint in x and y; the
    // quarter turn about x of bone 1 and the root's turn about z carry it.
    const Vector skinned = skeleton.boneMatrices[2] * Vector(1, 5, 0, 1);
    EXPECT_TRUE(VectorNear(skinned, Vector(1 - 2 * s + c, 2 * c + s, 3, 1)));
    EXPECT_TRUE(MatrixNear(skeleton.boneMatrices[3], untouched));
    EXPECT_TRUE(QuatNear(skeleton.GetBoneTransform("Bone2").rot, Quaternion(1.0f)));
}

TEST(Skeleton, CrossFadeShowsHalfOfEachAtTheMidpointAndSwitchesWithoutAdvancing) {
    Skeleton skeleton = Chain();
    AnimSet& next = skeleton.boneAnimations.emplace_back(skeleton.boneAnimations[0]);
    next.animTrackList[0] = Track(1.25, {Key(0, Vector(4, 0, 0), kTurnZ), Key(1, Vector(4, 0, 0), kTurnZ)});
    next.animTrackList[0].time = 0.5;
    skeleton.boneAnimations[0].animTrackList[0].keyFrames[1] = Key(1);
    skeleton.nextAnimation = 1;
    skeleton.blendTime = skeleton.blendDuration = 0.5;
    skeleton.isBlending = true;

    skeleton.UpdateAnimation(kNaN);
    EXPECT_EQ(skeleton.blendTime, 0.5);
    // A quarter of the way in, then half way: the next animation's share grows.
    for (int quarter = 1; quarter <= 2; ++quarter) {
        skeleton.UpdateAnimation(0.125);
        skeleton.UpdateBonePositions();
        const QuatVec root = skeleton.GetBoneTransform("bone0");
        EXPECT_TRUE(VectorNear(root.trans, Vector(quarter, 0, 0)));
        EXPECT_TRUE(QuatNear(root.rot, AxisRotation(Vector(0, 0, 1), quarter * kAngle)));
    }
    EXPECT_DOUBLE_EQ(next.animTrackList[0].time, 0.75);

    skeleton.UpdateAnimation(0.25);
    EXPECT_TRUE(skeleton.curAnimation == 1 && !skeleton.isBlending && skeleton.nextAnimation == 1);
    EXPECT_DOUBLE_EQ(next.animTrackList[0].time, 0.75);
    EXPECT_DOUBLE_EQ(skeleton.boneAnimations[0].animTrackList[0].time, 0.5);
    skeleton.UpdateBonePositions();
    EXPECT_TRUE(VectorNear(skeleton.GetBoneTransform("bone0").trans, Vector(4, 0, 0)));
}

// Each broken skeleton is played for three frames: the pose stays within
// what exists, and its one fault is reported once.
TEST(Skeleton, GuardsAgainstIndexesAndTracksThatDoNotExist) {
    struct Case { const char* name; void (*breakIt)(Skeleton&); const char* report; };
    const Case cases[] = {
        {"animation past the end", [](Skeleton& k) { k.curAnimation = 1; }, "animation 1 does not exist"},
        {"fade into nothing", [](Skeleton& k) { k.isBlending = true; k.nextAnimation = 3; k.blendTime = k.blendDuration = 1; },
         "the cross-fade to animation 3 is ended"},
        {"fade without duration", [](Skeleton& k) { k.isBlending = true; k.nextAnimation = 0; k.blendDuration = 0; }, nullptr},
        {"short track list", [](Skeleton& k) { k.boneAnimations[0].animTrackList.pop_back(); },
         "boneList.size() = 3\nboneAnimations[curAnimation].animTrackList.size() = 2\n"},
        {"unkeyed bone", [](Skeleton& k) { k.boneAnimations[0].animTrackList[1].keyFrames.clear(); }, nullptr},
        {"zero span", [](Skeleton& k) { for (AnimTrack& t : k.boneAnimations[0].animTrackList) t.length = 1; },
         "Divide by zero"},
        {"cycle", [](Skeleton& k) { k.boneList[2].children = {0}; }, "cannot be posed"},
    };
    for (const Case& c : cases) {
        test_support::LogCapture log;
        Skeleton skeleton = Chain();
        c.breakIt(skeleton);
        for (int frame = 0; frame < 3; ++frame) {
            skeleton.UpdateAnimation(frame ? 0.1 : kNaN);
            skeleton.UpdateBonePositions();
        }
        EXPECT_EQ(log.Count("WARNING") + log.Count("ERROR"), c.report ? 1 : 0) << c.name << "\n" << log.Text();
        EXPECT_TRUE(!c.report || log.Has(c.report)) << c.name << "\n" << log.Text();
        EXPECT_FALSE(skeleton.isBlending) << c.name;
        for (const QuatVec& posed : skeleton.boneTransforms)
            EXPECT_NEAR(posed.rot.Mag(), 1.0f, 1e-5f) << c.name;
    }
}

}  // namespace
