// Level two played through its level state, the real controller, hit
// handling, collision and physics, frame by frame in the main loop's order
// on one thread, after the game's own loader has loaded it: walking and
// dashing about the shaft for ten seconds never leaves it; one held jump on
// a full meter with forward held carries the player over the wall onto the
// plateau (half a meter does not); from there the player walks to the
// city's edge, and the level is won there and not before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "collision_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/player_controller.h"
#include "game_states/hits.h"
#include "game_states/level_states.h"
#include "input_manager.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "physics.h"
#include "platform/clock.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"
#include "support/stopped_clock.h"
#include "system.h"

namespace {

constexpr double kStep = 1.0 / 60.0;
// The shaft's floor as the level lays it out: its middle and the inner
// half size of its walls.
constexpr float kShaftX = 1000.0f, kShaftZ = 400.0f, kShaftInner = 150.0f;

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

bool InShaft(const Vector& p) { return std::fabs(p.x - kShaftX) < kShaftInner && std::fabs(p.z - kShaftZ) < kShaftInner; }

class LevelTwoClimb : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Module<ResourceManager>::Instance()->Init();
        Objects().Init();
        Module<LuaManager>::Instance()->Init();
        GameLogic& logic = Logic();
        logic.scriptPath = "./scripts/load_level_2.lua";
        logic.levelPath = "./resource/levels/level2.xml";
        logic.levelName = "level2";
        logic.previousLevelName = "level1";
        logic.LoadLevel();
        Module<SoundManager>::Instance()->Init();
        System& system = *Module<System>::Instance();
        system.frameTime.store(kStep);
        system.mouseGrabbed = false;
        system.Pause(false);
        Input().Init();
        ClearKeys();
        collision.Init();
        physics.Init();
        logic.onGround = false;
        hardFall = false;
        ASSERT_TRUE(PlayerAt().y > 0.0f) << log.Text();
        log.Restart();
    }
    void TearDown() override {
        physics.Kill();
        collision.Kill();
        Module<SoundManager>::Instance()->Kill();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Objects().Kill();
        Module<EventManager>::Instance()->Kill();
    }
    static void ClearKeys() {
        std::memset(Input().keyDown, 0, sizeof Input().keyDown);
        std::memset(Input().keyPressed, 0, sizeof Input().keyPressed);
    }
    static void Look(float yaw) {
        ObjectLock lock;
        Objects().cameraObject.yaw = yaw;
    }
    static Vector PlayerAt() {
        ObjectLock lock;
        return Objects().HasGameObject(GameObject::kPlayerName) ? Objects().GetGameObject(GameObject::kPlayerName)->trans
                                                               : Vector(0, -1, 0);
    }
    static float GroundUnder(const Vector& p) {
        ObjectLock lock;
        return Objects().groundObject.GetHeight(p);
    }
    static void SetMeter(float bp) {
        ObjectLock lock;
        Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp()->bp = bp;
    }

    // One frame in the main loop's order: the in-game state's level state,
    // hits (the foot on scenery) and controller, the camera as the frame
    // rebuilds it, then collision and physics.
    void Frame() {
        clock += kStep;
        platform::SetClockTime(clock);
        level.Update();
        std::vector<CollisionEvent> contacts;
        const unsigned pass = collision.GetCollisionEvents(contacts);
        int enemiesLeft = 0;
        if (pass != answeredPass) hits::HandleContacts(contacts, enemiesLeft);
        answeredPass = pass;
        ControlPlayer(Logic());
        {
            ObjectLock lock;
            Objects().cameraObject.Update();
        }
        const FrameClock frame{clock, kStep};
        collision.SetFrameClock(frame);
        physics.SetFrameClock(frame);
        collision.Update();
        physics.Update();
    }
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
    CollisionManager& collision = *Module<CollisionManager>::Instance();
    Physics& physics = *Module<Physics>::Instance();
    sound_test::RecordingSoundLayer layer;  // before anything loads a sample
    test_support::LogCapture log;
    double clock = 1000.0;
    test_support::StoppedClock stoppedClock;  // the frames set the time
    unsigned answeredPass = 0;
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
