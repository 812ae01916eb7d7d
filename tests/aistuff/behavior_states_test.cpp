// The behaviour states the factory pushes: what Enter and Exit do to the
// owner (found by name in the object table), how copies are made, and the two
// simple steps (spinning, waking up).
#include <gtest/gtest.h>

#include <memory>

#include "aistuff/state_follow.h"
#include "aistuff/state_heavy.h"
#include "aistuff/state_inactive.h"
#include "aistuff/state_rotate.h"
#include "object_manager.h"
#include "objects/components.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

class OwnedStates : public ::testing::Test {
protected:
    void SetUp() override {
        Clear();
        GameObject owner("walker");
        owner.AttachComponent(GraphicsComp());
        owner.AttachComponent(PhysicsComp());
        owner.AttachComponent(BehaviorComp());
        ASSERT_TRUE(Objects().AddGameObject(owner));
        GameObject player("player");
        player.trans = Vector(0, 0, 2000);
        ASSERT_TRUE(Objects().AddGameObject(player));
        lock.reset(new ObjectLock);
        // A pooled machine keeps the flags of its last user on assignment.
        Walker().GetBehaviorComp()->sm.hasLineOfSight = false;
    }
    void TearDown() override {
        lock.reset();
        Clear();
    }
    static void Clear() {
        ObjectLock guard;
        Objects().ClearGameObjects();
    }

    GameObject& Walker() { return *Objects().GetGameObject("walker"); }
    PhysicsComp& Body() { return *Walker().GetPhysicsComp(); }
    int Animation() { return Walker().GetGraphicsComp()->skeleton.curAnimation; }

    std::unique_ptr<ObjectLock> lock;  // the states run under the object lock
};

TEST(BehaviorStates, ClonesAreIndependentCopiesOfTheMostDerivedState) {
    StateInactive idle("mech", "player", 10.0f);
    idle.finished = true;
    std::unique_ptr<FSMState> copy(idle.Clone());
    auto* typed = dynamic_cast<StateInactive*>(copy.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_TRUE(typed->finished);
    EXPECT_FLOAT_EQ(typed->rangeSq, 100.0f);

    // A copied StateHeavy owns clones of its sub-states.
    StateHeavy heavy("mech");
    heavy.Enter();
    heavy.path.resize(3);
    std::unique_ptr<FSMState> heavyCopy(heavy.Clone());
    auto* copiedHeavy = dynamic_cast<StateHeavy*>(heavyCopy.get());
    ASSERT_NE(copiedHeavy, nullptr);
    ASSERT_EQ(copiedHeavy->subMachine.Size(), 1u);
    EXPECT_NE(copiedHeavy->subMachine.Top(), heavy.subMachine.Top());
    EXPECT_EQ(copiedHeavy->subMachine.Top()->stateName, "follow");
    EXPECT_EQ(copiedHeavy->path.size(), 3u);

    std::unique_ptr<FSMState> spin(StateRotate("crate", 2.0).Clone());
    EXPECT_DOUBLE_EQ(dynamic_cast<StateRotate&>(*spin).rate, 2.0);
    std::unique_ptr<FSMState> follow(StateFollow("mech", "decoy").Clone());
    EXPECT_EQ(dynamic_cast<StateFollow&>(*follow).targetName, "decoy");
}

TEST_F(OwnedStates, HeavyReEntryLeavesTheOlderFollowBelowTheNewOne) {
    StateHeavy heavy("walker");
    heavy.Enter();
    FSMState* first = heavy.subMachine.Top();
    heavy.Exit();
    heavy.Enter();
    ASSERT_EQ(heavy.subMachine.Size(), 2u);
    EXPECT_EQ(heavy.subMachine.At(0), first);
    EXPECT_EQ(dynamic_cast<StateFollow&>(*heavy.subMachine.Top()).targetName, "player");
    EXPECT_EQ(Animation(), 1);  // the follow state's moving animation
}

TEST_F(OwnedStates, EnterSetsTheOwnersAnimation) {
    StateInactive idle("walker", "player", 100.0f);
    StateFollow follow("walker", "player");
    follow.Enter();
    EXPECT_EQ(Animation(), 1);
    idle.Enter();
    EXPECT_EQ(Animation(), 0);
}

TEST_F(OwnedStates, RotateSpinsAboutYAndItsExitStopsEverything) {
    StateRotate spin("walker", 1.0);
    Body().linearVel = Vector(5, 6, 7, 8);
    spin.Update();
    EXPECT_FLOAT_EQ(Body().angularVel.y, 1.0f);
    EXPECT_FLOAT_EQ(Body().linearVel.x, 5.0f);
    spin.Exit();
    EXPECT_FLOAT_EQ(Body().angularVel.y, 0.0f);
    EXPECT_FLOAT_EQ(Body().linearVel.w, 0.0f);
    EXPECT_FALSE(spin.finished);
}

TEST_F(OwnedStates, FollowExitStopsMovingButKeepsOtherTurning) {
    StateFollow follow("walker", "player");
    Body().linearVel = Vector(1, 2, 3, 4);
    Body().angularVel = Vector(0.5f, 2.0f, 0.25f, 0);
    follow.Exit();
    EXPECT_FLOAT_EQ(Body().linearVel.y, 0.0f);
    EXPECT_FLOAT_EQ(Body().linearVel.w, 0.0f);
    EXPECT_FLOAT_EQ(Body().angularVel.y, 0.0f);
    EXPECT_FLOAT_EQ(Body().angularVel.x, 0.5f);
    EXPECT_FLOAT_EQ(Body().angularVel.z, 0.25f);
}

TEST_F(OwnedStates, InactiveWakesWithinRangeOrOnLineOfSight) {
    StateInactive idle("walker", "player", 1000.0f);
    idle.Update();
    EXPECT_FALSE(idle.finished);  // 2000 away

    Objects().GetGameObject("player")->trans = Vector(0, 600, 700, 55);  // about 922 in 3D; w ignored
    idle.Update();
    EXPECT_TRUE(idle.finished);

    StateInactive blind("walker", "player", 1.0f);
    Objects().GetGameObject("player")->trans = Vector(0, 0, 2000);
    Walker().GetBehaviorComp()->sm.hasLineOfSight = true;
    blind.Update();
    EXPECT_TRUE(blind.finished);
}

TEST_F(OwnedStates, StatesOfAnOwnerThatIsGoneDoNothing) {
    StateRotate spin("nobody", 1.0);
    StateInactive idle("nobody", "player", 1e6f);
    StateFollow follow("nobody", "player");
    spin.Update();
    spin.Exit();
    idle.Enter();
    idle.Update();
    follow.Enter();
    follow.Exit();
    EXPECT_FALSE(idle.finished);

    StateInactive lonely("walker", "nobody", 1e6f);
    lonely.Update();
    EXPECT_FALSE(lonely.finished);
}

}  // namespace
