// Level 1 running in the game's own frame loop, for thread tests in any
// folder: the level loaded by the game flow's own loader work
// (GameLogic::LoadLevel, here on the test's thread: the level file, its
// script and the fitted-out player), the behaviour, collision and
// physics modules initialised, the physics and collision threads started on
// an unpaused game, and a settable clock moved on by one step per frame. No
// OpenGL context; the log is captured and the profile folder is the test's.
#pragma once

#include <gtest/gtest.h>

#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "level.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/clock.h"
#include "support/game_world.h"
#include "support/log_capture.h"
#include "support/stopped_clock.h"
#include "support/temp_folder.h"
#include "system.h"

namespace test_support {

class RunningLevelOne : public ::testing::Test {
protected:
    static constexpr double kStep = 1.0 / 60.0;

    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        ASSERT_TRUE(LoadLevelOneAsTheGameDoes()) << log.Text();
        Module<BehaviorManager>::Instance()->Init();
        Module<CollisionManager>::Instance()->Init();
        Module<Physics>::Instance()->Init();
        PrepareWorld();
        System& system = *Module<System>::Instance();
        system.running.store(true);
        system.Pause(false);
        system.frameTime.store(kStep);
        clock = 1000.0;
        platform::SetClockTime(clock);
        StartWorkerThreads();
    }
    void TearDown() override {
        JoinWorkerThreads();
        Module<Physics>::Instance()->Kill();
        Module<CollisionManager>::Instance()->Kill();
        Module<BehaviorManager>::Instance()->Kill();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Module<ObjectManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Kill();
    }
    // The registry, the object and Lua managers, then the loader's work on
    // the first load; true when the level is playable ("Level Loaded" is
    // left queued: GameLogic is not running). Its OpenGL half is not done.
    static bool LoadLevelOneAsTheGameDoes() {
        Module<ResourceManager>::Instance()->Init();
        Module<ObjectManager>::Instance()->Init();
        Module<LuaManager>::Instance()->Init();
        GameLogic& game = *Module<GameLogic>::Instance();
        game.firstLoad = true;
        game.scriptPath = "./scripts/load_level_1.lua";
        game.levelPath = "./resource/levels/level1.xml";
        game.levelName = game.previousLevelName = "level1";
        game.LoadLevel();
        ObjectLock lock;
        return Module<ObjectManager>::Instance()->HasGameObject("playerFoot");
    }
    // What a test adds to the world before the worker threads start.
    virtual void PrepareWorld() {}
    // One frame of the game's own loop, the clock moved on by one step first.
    void Frame() {
        clock += kStep;
        platform::SetClockTime(clock);
        RunFrame(false);
    }

    TempProfile profile;
    StoppedClock stoppedClock;  // the frames set the time
    LogCapture log;
    double clock = 0.0;
};

}  // namespace test_support
