// No level lets the player leave its ground. On each of the three levels of
// the real content, from the start, the player walks one way for a minute of
// game time with the real controller, collision and physics: forward held,
// a dash now and then, and a full thrust of the boost whenever the meter is
// full (held until it is empty), which climbs walls, roofs and the shaft.
// It must never stand outside the terrain's square, where the ground ends
// and only the void is drawn, nor sink under the ground's height.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <tuple>

#include "game_states/level_states.h"
#include "level_frames.h"

namespace {

const game_flow_test::LevelFiles kLevels[] = {
    {LevelOne::kScript, LevelOne::kLevelFile, LevelOne::kCategory, LevelOne::kCategory},
    {LevelTwo::kScript, LevelTwo::kLevelFile, LevelTwo::kCategory, LevelOne::kCategory},
    {LevelThree::kScript, LevelThree::kLevelFile, LevelThree::kCategory, LevelTwo::kCategory},
};
constexpr int kDirections = 16;
constexpr int kFrames = 60 * 60;  // one minute at the game's step
constexpr int kDashEvery = 90;    // frames; dashing more often would keep the meter from filling

// Level index, direction index.
using Walk = std::tuple<int, int>;

class LevelEdges : public game_flow_test::LevelFrames<::testing::TestWithParam<Walk>> {
protected:
    void SetUp() override { Start(kLevels[std::get<0>(GetParam())]); }

    // The keys of one frame of the walk.
    void Steer(int frame) {
        InputManager& in = Input();
        const bool thrusting = Logic().upBoosting;
        ClearKeys();
        in.keyDown[in.forward] = true;
        if (thrusting) {
            in.keyDown[in.jump] = true;
        } else if (MeterFull()) {
            in.keyDown[in.jump] = in.keyPressed[in.jump] = true;
        }
        if (frame % kDashEvery == kDashEvery - 1) {
            in.keyDown[in.dash] = true;
            in.keyPressed[in.forward] = true;
        }
    }
};

TEST_P(LevelEdges, AMinuteOfWalkingDashingAndBoostingOneWayStaysOnTheGround) {
    const float yaw = 2.0f * 3.14159265f * float(std::get<1>(GetParam())) / float(kDirections);
    const GroundPlaneObject& ground = Objects().groundObject;
    const float minX = ground.pos.x, maxX = ground.pos.x + ground.scale.x;
    const float minZ = ground.pos.z, maxZ = ground.pos.z + ground.scale.z;
    const Vector start = PlayerAt();
    float farthest = 0.0f, nearestEdge = maxX - minX, highest = start.y, lowestOverGround = start.y;
    int thrusts = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        Look(yaw);
        Steer(frame);
        thrusts += Input().keyPressed[Input().jump];
        Frame();
        const Vector at = PlayerAt();
        ASSERT_TRUE(at.x >= minX && at.x < maxX && at.z >= minZ && at.z < maxZ)
            << "off the terrain at frame " << frame << ": " << at.x << ", " << at.y << ", " << at.z;
        const float overGround = at.y - GroundUnder(at);
        ASSERT_GE(overGround, 0.0f) << "under the ground at frame " << frame << ": " << at.x << ", " << at.y << ", "
                                    << at.z;
        farthest = std::max(farthest, std::hypot(at.x - start.x, at.z - start.z));
        nearestEdge = std::min({nearestEdge, at.x - minX, maxX - at.x, at.z - minZ, maxZ - at.z});
        highest = std::max(highest, at.y);
        lowestOverGround = std::min(lowestOverGround, overGround);
    }
    std::cout << "walked " << farthest << " from the start, " << nearestEdge << " from the map's edge at the nearest, "
              << thrusts << " thrusts, up to height " << highest << ", eye at least " << lowestOverGround
              << " over the ground" << std::endl;
    // The walk went somewhere: out of the shaft, through the streets, up to the rim.
    EXPECT_GT(thrusts, 5);
    EXPECT_LT(nearestEdge, 100.0f);
}

std::string WalkName(const ::testing::TestParamInfo<Walk>& info) {
    return "level" + std::to_string(std::get<0>(info.param) + 1) + "_towards" +
           std::to_string(std::get<1>(info.param) * 360 / kDirections);
}

INSTANTIATE_TEST_SUITE_P(LevelsTimesDirections, LevelEdges,
                         ::testing::Combine(::testing::Range(0, 3), ::testing::Range(0, kDirections)), WalkName);

}  // namespace
