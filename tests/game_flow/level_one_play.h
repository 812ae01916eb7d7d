// Level 1 ready for play without a window: loaded by the game's own loader
// (on the test's thread), the sound module on a recording sound layer, the input tables empty with the default bindings,
// the camera at the player looking along -z, a fixed step of 1/60 s and no worker threads (so
// nothing but the code under test moves the player).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/player_controller.h"
#include "input_manager.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/clock.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"
#include "support/stopped_clock.h"
#include "system.h"

namespace game_flow_test {

inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline InputManager& Input() { return *Module<InputManager>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline System& Sys() { return *Module<System>::Instance(); }

// The player and its two components, under the object lock while it lives.
class PlayerView {
public:
    PlayerView()
        : object(*Objects().GetGameObject(GameObject::kPlayerName)),
          stats(*object.GetStatsComp()),
          body(*object.GetPhysicsComp()) {}

private:
    ObjectLock lock;

public:
    GameObject& object;
    StatsComp& stats;
    PhysicsComp& body;
};

class LevelOnePlay : public ::testing::Test {
protected:
    static constexpr float kStep = 1.0f / 60.0f;

    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Module<ResourceManager>::Instance()->Init();
        Module<ObjectManager>::Instance()->Init();
        Module<LuaManager>::Instance()->Init();
        LoadLevelOne();
        ASSERT_TRUE(HasPlayer()) << log.Text();
        Module<SoundManager>::Instance()->Init();
        System& system = Sys();
        system.frameTime.store(kStep);
        system.mouseGrabbed = false;
        system.mouseSensitivity = 1.0f;
        system.Pause(false);
        platform::SetClockTime(1000.0);
        InputManager& input = Input();
        input.Init();
        std::fill(std::begin(input.keyDown), std::end(input.keyDown), false);
        std::fill(std::begin(input.keyPressed), std::end(input.keyPressed), false);
        input.SetMousePosition(Vector(0.0f, 0.0f, 0.0f, 0.0f));
        CameraObject& camera = Objects().cameraObject;
        camera.mode = 0;
        camera.target = PlayerView().object.trans;
        // Along -z, whichever way the level's script faces the start.
        camera.yaw = 0.0f;
        camera.pitch = 0.0f;
        camera.Update();
        Objects().cockpit.bobPhase = 0.0f;
        Objects().cockpit.moveOffset = Vector();
        Logic().onGround = false;
        hardFall = false;
        log.Restart();
    }
    void TearDown() override {
        Module<SoundManager>::Instance()->Kill();
        Module<BehaviorManager>::Instance()->ClearPendingObjects();
        Objects().particleSystemController.Clear();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Module<ObjectManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Kill();
    }

    // The whole level load of a game's first level, as the loader thread
    // runs it; the hand-over's OpenGL half is not needed here.
    static void LoadLevelOne() {
        GameLogic& logic = Logic();
        logic.scriptPath = "./scripts/load_level_1.lua";
        logic.levelPath = "./resource/levels/level1.xml";
        logic.levelName = logic.previousLevelName = "level1";
        logic.LoadLevel();
    }
    static bool HasPlayer() {
        ObjectLock lock;
        return Objects().HasGameObject(GameObject::kPlayerName);
    }
    // A key held down, its press not yet read (as in the frame it went down).
    static void Press(int code) {
        Input().keyDown[code] = true;
        Input().keyPressed[code] = true;
    }
    static void Hold(int code) { Input().keyDown[code] = true; }
    static void Release(int code) {
        Input().keyDown[code] = false;
        Input().keyPressed[code] = false;
    }
    // How often the layer was asked to start the named sample.
    int Plays(const char* name) const {
        const Sound* sound = Module<ResourceManager>::Instance()->get<Sound>(Handle(name));
        int plays = 0;
        for (const auto& call : layer.soundPlays) plays += sound && call.what == sound->sample;
        return plays;
    }
    // The terrain height under the player plus its hover: where it stands.
    static float StandingHeight() {
        PlayerView player;
        return Objects().groundObject.GetHeight(player.object.trans) + Logic().hoverHeight;
    }

    sound_test::RecordingSoundLayer layer;  // before anything loads a sample
    test_support::LogCapture log;
    test_support::StoppedClock stoppedClock;  // the frames set the time
};

}  // namespace game_flow_test
