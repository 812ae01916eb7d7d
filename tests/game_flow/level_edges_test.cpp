// No level lets the player leave its ground, at any frame time. On each of
// the three levels of the real content, from the start, the player walks one
// way for a minute of game time with the real controller, collision and
// physics: forward held, a dash now and then, and a full thrust of the boost
// whenever the meter is full (held until it is empty), which climbs walls,
// roofs and the shaft. It must never stand outside the terrain's square,
// where the ground ends and only the void is drawn, nor sink under the
// ground's height. The frames last 1/60 s, the game's 1/11 s on software
// OpenGL, 0.25 s, or 1/11 s with a 2-second stall every 10 s fed through the
// frame limiter's smoothing (which then gives about 0.28 s, decaying).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>
#include <string>
#include <tuple>

#include "game_states/level_states.h"
#include "level_frames.h"
#include "system/frame_limiter.h"

namespace {

const game_flow_test::LevelFiles kLevels[] = {
    {LevelOne::kScript, LevelOne::kLevelFile, LevelOne::kCategory, LevelOne::kCategory},
    {LevelTwo::kScript, LevelTwo::kLevelFile, LevelTwo::kCategory, LevelOne::kCategory},
    {LevelThree::kScript, LevelThree::kLevelFile, LevelThree::kCategory, LevelTwo::kCategory},
};
constexpr int kDirections = 16;
constexpr double kWalkTime = 60.0;   // seconds of game time
constexpr double kDashEvery = 1.5;   // seconds; dashing more often would keep the meter from filling
constexpr double kStallEvery = 10.0;  // seconds of game time
constexpr double kStallLength = 2.0;

// How long each frame lasts: a fixed step, or the game's steady 1/11 s
// broken by stalls and smoothed as the frame limiter smooths it.
struct FrameTimes {
    const char* name;
    double step;
    bool stalls;
};
const FrameTimes kFrameTimes[] = {
    {"at60Hz", 1.0 / 60.0, false},
    {"at11Hz", 1.0 / 11.0, false},
    {"atQuarterSeconds", 0.25, false},
    {"at11HzWithStalls", 1.0 / 11.0, true},
};

class FrameClockFeed {
public:
    explicit FrameClockFeed(const FrameTimes& times) : times(times), step(times.step) {}
    // The step of the next frame; `gameTime` is the game time before it.
    double Next(double gameTime) {
        const double current = step;
        if (times.stalls) {
            const bool stallsAfter = std::floor((gameTime + current) / kStallEvery) > std::floor(gameTime / kStallEvery);
            step = ComputeFrameLimit(stallsAfter ? kStallLength : times.step, step, false).frameTime;
            longest = std::max(longest, step);
        }
        return current;
    }
    double longest = 0.0;

private:
    const FrameTimes& times;
    double step;
};

// Level index, direction index, frame times index.
using Walk = std::tuple<int, int, int>;

class LevelEdges : public game_flow_test::LevelFrames<::testing::TestWithParam<Walk>> {
protected:
    void SetUp() override { Start(kLevels[std::get<0>(GetParam())]); }

    // The keys of one frame of the walk.
    void Steer(bool dash) {
        InputManager& in = Input();
        const bool thrusting = Logic().upBoosting;
        ClearKeys();
        in.keyDown[in.forward] = true;
        if (thrusting) {
            in.keyDown[in.jump] = true;
        } else if (MeterFull()) {
            in.keyDown[in.jump] = in.keyPressed[in.jump] = true;
        }
        if (dash) {
            in.keyDown[in.dash] = true;
            in.keyPressed[in.forward] = true;
        }
    }
};

TEST_P(LevelEdges, AMinuteOfWalkingDashingAndBoostingOneWayStaysOnTheGround) {
    const float yaw = 2.0f * 3.14159265f * float(std::get<1>(GetParam())) / float(kDirections);
    FrameClockFeed feed(kFrameTimes[std::get<2>(GetParam())]);
    const GroundPlaneObject& ground = Objects().groundObject;
    const float minX = ground.pos.x, maxX = ground.pos.x + ground.scale.x;
    const float minZ = ground.pos.z, maxZ = ground.pos.z + ground.scale.z;
    const Vector start = PlayerAt();
    float farthest = 0.0f, nearestEdge = maxX - minX, highest = start.y, lowestOverGround = start.y;
    int thrusts = 0;
    int frame = 0;
    for (double time = 0.0; time < kWalkTime; ++frame) {
        const double step = feed.Next(time);
        const bool dash = std::floor((time + step) / kDashEvery) > std::floor(time / kDashEvery);
        time += step;
        Look(yaw);
        Steer(dash);
        thrusts += Input().keyPressed[Input().jump];
        Frame(nullptr, step);
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
              << " over the ground, " << frame << " frames"
              << (feed.longest > 0.0 ? ", the longest " + std::to_string(feed.longest) + " s" : std::string())
              << std::endl;
    // The walk went somewhere: out of the shaft, through the streets, up to the rim.
    EXPECT_GT(thrusts, 5);
    EXPECT_LT(nearestEdge, 100.0f);
}

std::string WalkName(const ::testing::TestParamInfo<Walk>& info) {
    return "level" + std::to_string(std::get<0>(info.param) + 1) + "_towards" +
           std::to_string(std::get<1>(info.param) * 360 / kDirections) + "_" + kFrameTimes[std::get<2>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(LevelsTimesDirections, LevelEdges,
                         ::testing::Combine(::testing::Range(0, 3), ::testing::Range(0, kDirections),
                                            ::testing::Range(0, int(std::size(kFrameTimes)))),
                         WalkName);

}  // namespace
