// Level two played through its level state, the real controller, hit
// handling, collision and physics, frame by frame in the main loop's order
// on one thread, after the game's own loader has loaded it: walking and
// dashing about the shaft for ten seconds never leaves it; one held jump on
// a full meter with forward held carries the player over the wall onto the
// plateau (half a meter does not); from there the player walks to the
// city's edge, and the level is won there and not before.
#include <gtest/gtest.h>

#include <cmath>

#include "game_states/level_states.h"
#include "level_frames.h"

namespace {

// The shaft's floor as the level lays it out: its middle and the inner
// half size of its walls.
constexpr float kShaftX = 1000.0f, kShaftZ = 400.0f, kShaftInner = 150.0f;

bool InShaft(const Vector& p) { return std::fabs(p.x - kShaftX) < kShaftInner && std::fabs(p.z - kShaftZ) < kShaftInner; }

class LevelTwoClimb : public game_flow_test::LevelFrames<> {
protected:
    void SetUp() override { Start({LevelTwo::kScript, LevelTwo::kLevelFile, LevelTwo::kCategory, "level1"}); }

    // A frame with the level's own state first, which decides the goal.
    void Frame() { LevelFrames::Frame(&level); }
    // Forward held and jump pressed with the meter at `meter`, for 5 s.
    void JumpNorth(float meter) {
        SetMeter(meter);
        Look(3.14159265f);  // towards +z
        Input().keyDown[Input().forward] = Input().keyDown[Input().jump] = true;
        Input().keyPressed[Input().jump] = true;
        for (int i = 0; i < 300; ++i) Frame();
        ClearKeys();
        for (int i = 0; i < 60; ++i) Frame();
    }

    LevelTwo level;
};

TEST_F(LevelTwoClimb, TenSecondsOfWalkingAndDashingStayInTheShaft) {
    const float floor = GroundUnder(PlayerAt());
    InputManager& in = Input();
    for (int frame = 0; frame < 600; ++frame) {
        // Turning slowly, always pressing on; a dash towards a wall twice a second.
        Look(float(frame) * 0.02f);
        ClearKeys();
        in.keyDown[in.forward] = true;
        in.keyDown[frame % 60 < 20 ? in.left : in.right] = frame % 90 < 30;
        if (frame % 30 == 0) {
            in.keyDown[in.dash] = true;
            in.keyPressed[in.forward] = true;
        }
        Frame();
        const Vector at = PlayerAt();
        ASSERT_TRUE(InShaft(at)) << "out at frame " << frame << ": " << at.x << ", " << at.z;
        ASSERT_LT(at.y, floor + 25.0f + 1.0f) << frame;
    }
    EXPECT_FALSE(Logic().levelComplete);
}

// Each jump from the start, the level loaded afresh (a restart) before it.
TEST_F(LevelTwoClimb, OneFullThrustCarriesThePlayerOverTheWallAndHalfOneDoesNot) {
    for (float meter : {50.0f, 100.0f}) {
        Logic().LoadLevel();
        JumpNorth(meter);
        const Vector at = PlayerAt();
        if (meter < 100.0f) {
            EXPECT_TRUE(InShaft(at)) << at.x << ", " << at.z;
            continue;
        }
        EXPECT_GT(at.z, kShaftZ + kShaftInner + 100.0f) << "beyond the north wall";
        EXPECT_NEAR(at.y, GroundUnder(at) + 25.0f, 1.0f) << "standing on the plateau";
    }
}

TEST_F(LevelTwoClimb, FromTheRimTheWayLeadsToTheCitysEdge) {
    JumpNorth(100.0f);
    // Walk towards the street in front of the city, steering each frame.
    const float targetX = 650.0f, targetZ = 1480.0f;
    Input().keyDown[Input().forward] = true;
    Vector at = PlayerAt();
    int frame = 0;
    for (; frame < 1200 && !(at.z > 1420.0f && at.x < 800.0f); ++frame) {
        Look(std::atan2(-(targetX - at.x), -(targetZ - at.z)));
        Frame();
        at = PlayerAt();
    }
    ASSERT_TRUE(at.z > 1420.0f && at.x < 800.0f) << at.x << ", " << at.z << " after " << frame << " frames";
    EXPECT_FALSE(Logic().levelComplete || log.Has("player won")) << "won before the goal";
    Frame();
    EXPECT_TRUE(Logic().levelComplete && log.Has("player won"));
}

}  // namespace
