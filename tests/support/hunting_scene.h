// The hunt as a test fixture: level 1 with its falling bodies, a still
// "player" in the open north of the basin and four MediumMechs around it (two
// behind the buildings), on a System paused at a fixed time so that rate
// tests and lifetimes never fall either side of their limits. Used by the
// physics determinism test and by the player's determinism test, which fits
// the player out and drives it.
#pragma once

#include <string>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "support/falling_scene.h"
#include "support/hunting_world.h"
#include "system.h"

namespace test_support {

class HuntingScene : public FallingScene {
protected:
    void SetUp() override {
        {
            // Behaviour walks the table in its own order, which depends on
            // the map's history as well as its keys: each run starts from a
            // fresh map, as a new game process would.
            ObjectLock lock;
            SceneObjects().ClearGameObjects();
            GameObjectList().swap(SceneObjects().gameObjectList);
        }
        behavior.playerNode = 0;
        behavior.playerNodeChanged = false;
        FallingScene::SetUp();
        // The settable clock keeps running between two reads; a paused System
        // reads one fixed time: each frame sets it, and every read within the
        // frame sees that time. (The modules are called directly, so the pause
        // stops none of them.)
        System& system = *Module<System>::Instance();
        system.Pause(true);
        system.pausedTime.store(100.0);
        system.frameTime.store(1.0 / 60.0);
        firstRunNumber = Module<ResourceManager>::Instance()->GetObjectNum();
        ASSERT_NE(AddStillPlayer(1000, 1500), 0u);
        const float places[][2] = {{700, 1700}, {1300, 1700}, {600, 1240}, {1300, 1140}};
        for (int i = 0; i < 4; ++i)
            ASSERT_NE(AddStanding("MediumMech", "hunter" + std::to_string(i), places[i][0], places[i][1]), 0u);
    }
    // Picking on (line of sight comes from the sight ray), then behaviour and
    // animation started: the enemies begin to hunt.
    void StartHunting() {
        Set(CollisionManager::kPickOn, true);
        behavior.Init();
        animation.Init();
    }
    void TearDown() override {
        animation.Kill();
        behavior.Kill();
        Module<System>::Instance()->Pause(false);
        FallingScene::TearDown();
    }

    BehaviorManager& behavior = *Module<BehaviorManager>::Instance();
    AnimationManager& animation = *Module<AnimationManager>::Instance();
    unsigned firstRunNumber = 0;  // the name counter when the run began (WorldHash)
};

}  // namespace test_support
