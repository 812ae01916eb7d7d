// Determinism: the first level with a dozen falling, colliding bodies, 300
// frames of collision then physics on one thread with a fixed step, twice:
// every object ends in the same place, bit for bit (the second run's objects
// have other numbers; the hash goes by name). The same again with four
// enemies hunting a still player and firing at it: behaviour and animation
// run first in each frame, as on the main thread, on the same settable clock.
#include <gtest/gtest.h>

#include <string>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "support/falling_scene.h"
#include "support/hunting_world.h"
#include "system.h"

namespace {

class Determinism : public test_support::FallingScene {
protected:
    // 300 frames of 1/60 s; returns the scene's hash.
    size_t Simulate() {
        for (int frame = 0; frame < 300; ++frame) {
            const FrameClock clock{100.0 + frame / 60.0, 1.0 / 60.0};
            collision.SetFrameClock(clock);
            physics.SetFrameClock(clock);
            collision.Update();
            for (const CollisionEvent& contact : collision.collisionEvents) pushes += contact.resolveContact;
            physics.Update();
        }
        return test_support::SceneHash();
    }
    float Height(const std::string& name) {
        ObjectLock lock;
        return test_support::SceneObjects().GetGameObject(name)->trans.y;
    }
    int pushes = 0;
};

TEST_F(Determinism, TwoRunsEndInTheSameState) {
    const float startY = Height(test_support::FallingName(0));
    const size_t first = Simulate();
    EXPECT_LT(Height(test_support::FallingName(0)), startY - 5) << "the bodies fall";
    EXPECT_GT(pushes, 100) << "and push each other and the scenery";

    TearDown();
    SetUp();
    EXPECT_EQ(first, Simulate());
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

class HuntingDeterminism : public Determinism {
protected:
    void SetUp() override {
        {
            // Behaviour walks the table in its own order, which depends on
            // the map's history as well as its keys: each run starts from a
            // fresh map, as a new game process would.
            ObjectLock lock;
            test_support::SceneObjects().ClearGameObjects();
            GameObjectList().swap(test_support::SceneObjects().gameObjectList);
        }
        behavior.playerNode = 0;
        behavior.playerNodeChanged = false;
        Determinism::SetUp();
        // The settable clock keeps running between two reads, so a weapon's
        // rate test or a shot's lifetime could fall either side of its limit
        // by a few microseconds. A paused System reads one fixed time: each
        // frame sets it, and every read within the frame sees that time.
        // (The modules are called directly, so the pause stops none of them.)
        System& system = *Module<System>::Instance();
        system.Pause(true);
        system.pausedTime.store(100.0);
        system.frameTime.store(1.0 / 60.0);
        firstRunNumber = Module<ResourceManager>::Instance()->GetObjectNum();
        // The player in the open south of the basin; the enemies around it,
        // two of them behind the buildings.
        ASSERT_NE(test_support::AddStillPlayer(1000, 500), 0u);
        const float places[][2] = {{700, 300}, {1300, 300}, {600, 760}, {1300, 860}};
        for (int i = 0; i < 4; ++i)
            ASSERT_NE(test_support::AddStanding("MediumMech", "hunter" + std::to_string(i), places[i][0], places[i][1]),
                      0u);
        Set(CollisionManager::kPickOn, true);  // line of sight comes from the sight ray
        behavior.Init();
        animation.Init();
    }
    void TearDown() override {
        animation.Kill();
        behavior.Kill();
        Module<System>::Instance()->Pause(false);
        Determinism::TearDown();
    }
    // 300 frames of the simulation on one thread; returns the world's hash.
    size_t Hunt() {
        for (int frame = 0; frame < 300; ++frame) {
            const double now = 100.0 + (frame + 1) / 60.0;
            Module<System>::Instance()->pausedTime.store(now);
            const FrameClock clock{now, 1.0 / 60.0};
            behavior.Update();
            animation.Update();
            collision.SetFrameClock(clock);
            physics.SetFrameClock(clock);
            collision.Update();
            physics.Update();
            shotFrames += CountShots();
        }
        return test_support::WorldHash(firstRunNumber);
    }
    static int CountShots() {
        ObjectLock lock;
        int shots = 0;
        for (const auto& entry : test_support::SceneObjects().gameObjectList)
            shots += entry.second.HasComp(CompIndex::Bullet);
        return shots;
    }

    BehaviorManager& behavior = *Module<BehaviorManager>::Instance();
    AnimationManager& animation = *Module<AnimationManager>::Instance();
    unsigned firstRunNumber = 0;
    long shotFrames = 0;  // shots in the table, summed over the frames
};

TEST_F(HuntingDeterminism, TwoRunsOfHuntingFiringEnemiesEndInTheSameState) {
    const size_t first = Hunt();
    EXPECT_GT(shotFrames, 0) << "the enemies fire";
    {
        ObjectLock lock;
        const Vector& hunter = test_support::SceneObjects().GetGameObject("hunter0")->trans;
        EXPECT_GT(hunter.x, 700.0f) << "and close in on the player";
    }
    TearDown();
    SetUp();
    EXPECT_EQ(first, Hunt());
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

}  // namespace
