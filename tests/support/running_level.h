// Level 1 running itself through the game's own frame loop: the level and its
// script (ground, scenery, spawn points, navigation graph, the player), the
// simulation modules initialised as start-up does (behaviour, spawning,
// animation, collision with picking on as the in-game state sets it, physics),
// the worker threads started, and frames stepped on the settable clock.
// No OpenGL context, so the threaded tests can run under ThreadSanitizer.
#pragma once

#include <gtest/gtest.h>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "level.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/clock.h"
#include "spawn_manager.h"
#include "support/game_world.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "system.h"

namespace test_support {

class RunningLevelOne : public ::testing::Test {
protected:
    static constexpr double kStep = 1.0 / 60.0;

    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        ASSERT_TRUE(LoadLevelOne());
        Module<LuaManager>::Instance()->DoFile("./scripts/load_level_1.lua");
        Module<BehaviorManager>::Instance()->Init();
        Module<SpawnManager>::Instance()->Init();
        Module<AnimationManager>::Instance()->Init();
        Module<CollisionManager>::Instance()->Init();
        Module<Physics>::Instance()->Init();
        Event pick("test", "CollisionManager", CollisionManager::kSetEvent);
        pick.SetParam<bool>(CollisionManager::kPickOn, true);
        Module<EventManager>::Instance()->PublishEvent(pick);
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
        Module<AnimationManager>::Instance()->Kill();
        Module<SpawnManager>::Instance()->Kill();
        Module<BehaviorManager>::Instance()->Kill();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Module<ObjectManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Kill();
    }
    // One frame of the game's own loop, the clock moved on by one step first.
    void Frame() {
        clock += kStep;
        platform::SetClockTime(clock);
        RunFrame(false);
    }

    TempProfile profile;
    LogCapture log;
    double clock = 0.0;
};

}  // namespace test_support
