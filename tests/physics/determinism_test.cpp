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
#include "support/hunting_scene.h"
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

class HuntingDeterminism : public test_support::HuntingScene {
protected:
    void SetUp() override {
        HuntingScene::SetUp();
        if (!HasFatalFailure()) StartHunting();
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
