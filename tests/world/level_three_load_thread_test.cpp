// Level three loaded off the main thread, as a level change loads it: the
// world emptied on the main thread first (the load's start), then the
// game's loader on a thread of its own reads the category, the level file
// (its machines stamped there) and the script and fits out the player,
// while the main thread keeps running whole frames of the game's own loop
// with the physics and collision threads. Run under ThreadSanitizer.
#include <atomic>
#include <thread>

#include "behavior_manager.h"
#include "game_logic.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/running_level.h"

namespace {

class LevelChange : public test_support::RunningLevelOne {};

TEST_F(LevelChange, LevelThreeLoadsWhileTheFramesRun) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    {
        ObjectLock lock;
        objects.ClearGameObjects();
    }
    Module<SpawnManager>::Instance()->ClearSpawnPoints();
    Module<BehaviorManager>::Instance()->ClearPendingObjects();
    GameLogic& logic = *Module<GameLogic>::Instance();
    logic.levelName = "level3";
    logic.previousLevelName = "level1";
    logic.levelPath = "./resource/levels/level3.xml";
    logic.scriptPath = "./scripts/load_level_3.lua";
    logic.firstLoad = false;
    std::atomic<bool> done{false};
    std::thread loader([&] {
        logic.LoadLevel();
        done.store(true);
    });
    int frames = 0;
    while (!done.load()) {
        Frame();
        ++frames;
    }
    loader.join();
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    ObjectLock lock;
    ASSERT_TRUE(objects.HasGameObject("player") && objects.HasGameObject("playerFoot"));
    int machines = 0;
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& object = entry.second;
        if (object.name == "player" || !object.GetStatsComp()) continue;
        ++machines;
        // Stamped whole: weapons, body and a state machine.
        const BehaviorComp* behavior = object.GetBehaviorComp();
        EXPECT_TRUE(object.GetWeaponComp() && object.GetPhysicsComp() && behavior && behavior->sm.Top()) << object.name;
    }
    EXPECT_GE(machines, 4) << frames << " frames ran during the load";
}

}  // namespace
