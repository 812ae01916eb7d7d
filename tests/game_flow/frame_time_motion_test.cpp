// The player's machine moves by the second, whatever the frame time: on
// level 1, with the real controller, collision and physics, a walk covers
// 125 units a second and a dash frame moves 316.7 units a second for the
// length of that frame, at 1/60 s as at the 10-14 frames a second that
// software OpenGL gives, and at a quarter of a second.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <iterator>
#include <string>

#include "game_states/level_states.h"
#include "level_frames.h"

namespace {

const game_flow_test::LevelFiles kLevelOne{LevelOne::kScript, LevelOne::kLevelFile, LevelOne::kCategory,
                                           LevelOne::kCategory};
const double kSteps[] = {1.0 / 60.0, 1.0 / 30.0, 1.0 / 11.0, 0.25};
constexpr float kWalkSpeed = 125.0f;
constexpr float kDashSpeed = 19000.0f / 60.0f;
constexpr float kTolerance = 0.02f;
constexpr double kWalkTime = 2.0;  // seconds: well inside the basin from the start

class FrameTimeMotion : public game_flow_test::LevelFrames<::testing::TestWithParam<double>> {
protected:
    void SetUp() override {
        Start(kLevelOne);
        // Towards the basin's centre, open ground from the start; yaw 0 looks
        // along -z.
        const Vector start = PlayerAt();
        Look(std::atan2(1000.0f - start.x, 1000.0f - start.z) + 3.14159265f);
    }
    static float Across(const Vector& from, const Vector& to) { return std::hypot(to.x - from.x, to.z - from.z); }
};

TEST_P(FrameTimeMotion, WalkingCoversItsSpeedEverySecond) {
    const double step = GetParam();
    Input().keyDown[Input().forward] = true;
    Frame(nullptr, step);  // the first frame may still settle on the ground
    const Vector from = PlayerAt();
    const int frames = int(std::lround(kWalkTime / step));
    for (int frame = 0; frame < frames; ++frame) Frame(nullptr, step);
    const float speed = Across(from, PlayerAt()) / float(frames * step);
    std::cout << "walked " << speed << " units a second at " << step << " s a frame" << std::endl;
    EXPECT_NEAR(kWalkSpeed, speed, kWalkSpeed * kTolerance) << "units per second at " << step << " s a frame";
}

TEST_P(FrameTimeMotion, ADashFrameMovesItsSpeedForTheLengthOfTheFrame) {
    const double step = GetParam();
    for (int frame = 0; frame < 3; ++frame) Frame(nullptr, step);  // standing, the meter full
    const Vector from = PlayerAt();
    Input().keyDown[Input().dash] = true;
    Input().keyDown[Input().forward] = Input().keyPressed[Input().forward] = true;
    Frame(nullptr, step);
    ASSERT_TRUE(Logic().dashing);
    EXPECT_NEAR(kDashSpeed * step, Across(from, PlayerAt()), kDashSpeed * step * kTolerance)
        << "the dash frame at " << step << " s";
}

std::string StepName(const ::testing::TestParamInfo<double>& info) {
    return "every" + std::to_string(int(std::lround(1000.0 * info.param))) + "ms";
}

INSTANTIATE_TEST_SUITE_P(FrameTimes, FrameTimeMotion, ::testing::ValuesIn(kSteps), StepName);

}  // namespace
