// Determinism: the first level with a dozen falling, colliding bodies, 300
// frames of collision then physics on one thread with a fixed step, twice:
// every object ends in the same place, bit for bit (the second run's objects
// have other numbers; the hash goes by name).
#include <gtest/gtest.h>

#include <string>

#include "support/falling_scene.h"

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

}  // namespace
