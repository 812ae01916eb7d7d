// A level of the real content loaded by the game's own loader and played
// frame by frame in the main loop's order on one thread, with the clock
// stopped and set by each frame (1/60 s unless a test gives the frame's
// time): the level's own state (when a test gives
// one), hits (the foot on scenery), the real controller, the camera as the
// frame rebuilds it, then collision and physics. No behaviour runs, so the
// machines a level places stand still.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "collision_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/player_controller.h"
#include "game_states/game_state.h"
#include "game_states/hits.h"
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

namespace game_flow_test {

// The files of one level, as its level state names them.
struct LevelFiles {
    const char* script;
    const char* levelFile;
    const char* name;
    const char* previousName;  // what the game has played before it
};

template <class Base = ::testing::Test>
class LevelFrames : public Base {
protected:
    static constexpr double kStep = 1.0 / 60.0;

    // Loads the level and readies the modules its frames use; a test calls
    // it once, from its SetUp or its body.
    void Start(const LevelFiles& files) {
        Module<EventManager>::Instance()->Init();
        Module<ResourceManager>::Instance()->Init();
        Objects().Init();
        Module<LuaManager>::Instance()->Init();
        GameLogic& logic = Logic();
        logic.scriptPath = files.script;
        logic.levelPath = files.levelFile;
        logic.levelName = files.name;
        logic.previousLevelName = files.previousName;
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
        // The object numbers start again with each test: a body left from an
        // earlier one would move the object that now has its number.
        physics.bodies.clear();
        physics.bodyIndex.clear();
        logic.onGround = false;
        hardFall = false;
        started = true;
        ASSERT_TRUE(PlayerAt().y > 0.0f) << log.Text();
        log.Restart();
    }
    void TearDown() override {
        if (!started) return;
        physics.Kill();
        collision.Kill();
        Module<SoundManager>::Instance()->Kill();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Objects().Kill();
        Module<EventManager>::Instance()->Kill();
    }

    static GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
    static InputManager& Input() { return *Module<InputManager>::Instance(); }
    static ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

    static void ClearKeys() {
        std::memset(Input().keyDown, 0, sizeof Input().keyDown);
        std::memset(Input().keyPressed, 0, sizeof Input().keyPressed);
    }
    // Turns the camera: yaw 0 looks towards -z, pi towards +z.
    static void Look(float yaw) {
        ObjectLock lock;
        Objects().cameraObject.yaw = yaw;
    }
    static Vector PlayerAt() {
        ObjectLock lock;
        return Objects().HasGameObject(GameObject::kPlayerName) ? Objects().GetGameObject(GameObject::kPlayerName)->trans
                                                               : Vector(0, -1, 0);
    }
    static bool MeterFull() {
        ObjectLock lock;
        const StatsComp& stats = *Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp();
        return stats.bp >= stats.boost;
    }
    static float GroundUnder(const Vector& p) {
        ObjectLock lock;
        return Objects().groundObject.GetHeight(p);
    }
    static void SetMeter(float bp) {
        ObjectLock lock;
        Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp()->bp = bp;
    }

    // One frame of `step` seconds, the System's frame time for the whole
    // frame as the loop publishes it; `level`, when given, is updated first,
    // as the in-game state does.
    void Frame(GameState* level = nullptr, double step = kStep) {
        clock += step;
        platform::SetClockTime(clock);
        Module<System>::Instance()->frameTime.store(step);
        if (level) level->Update();
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
        const FrameClock frame{clock, step};
        collision.SetFrameClock(frame);
        physics.SetFrameClock(frame);
        collision.Update();
        physics.Update();
    }

    CollisionManager& collision = *Module<CollisionManager>::Instance();
    Physics& physics = *Module<Physics>::Instance();
    sound_test::RecordingSoundLayer layer;  // before anything loads a sample
    test_support::LogCapture log;
    test_support::StoppedClock stoppedClock;  // the frames set the time
    double clock = 1000.0;
    unsigned answeredPass = 0;
    bool started = false;
};

}  // namespace game_flow_test
