// The component kinds: defaults that other subsystems rely on, and the copy
// rules every kind must keep (CopyFrom, Clone, the free flag).
#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "aistuff/fsm.h"
#include "component_list.h"
#include "objects/components.h"
#include "objects/game_object.h"

namespace {

TEST(ComponentDefaults, ValuesOtherSubsystemsRelyOn) {
    PickupComp pickup;
    EXPECT_EQ(4, pickup.kind);
    EXPECT_EQ(0, pickup.value);

    PhysicsComp physics;
    EXPECT_FLOAT_EQ(1.0f, physics.mass);
    EXPECT_FLOAT_EQ(4.0f, physics.inertialTensor.Trace());
    EXPECT_FLOAT_EQ(0.0f, physics.inertialTensor.m[1][0]);
    EXPECT_FALSE(physics.infMass);

    CollisionComp collision;
    EXPECT_TRUE(collision.canBePicked);
    EXPECT_TRUE(collision.resolveContact);
    EXPECT_FLOAT_EQ(1.0f, collision.boundSphere.radius);
    EXPECT_FLOAT_EQ(1e-8f, collision.edgeVectors.tolerance);
    EXPECT_FLOAT_EQ(1e-8f, collision.faceNormals.tolerance);
    EXPECT_FLOAT_EQ(1.0f, collision.obb.rot.s) << "identity rotation";
    EXPECT_EQ(0u, collision.category);
    EXPECT_EQ(0u, collision.collidesWith);

    EXPECT_TRUE(ExplosionComp().fresh);

    GraphicsComp graphics;
    EXPECT_FLOAT_EQ(1.0f, graphics.modelScale);
    EXPECT_TRUE(graphics.drawAlone);
    EXPECT_EQ(0, graphics.flashFrames);

    StatsComp stats;
    EXPECT_FLOAT_EQ(0.0f, stats.sp);
    EXPECT_DOUBLE_EQ(0.0, stats.shieldRechargeDelay);

    WeaponComp weapons;
    EXPECT_EQ(nullptr, weapons.primary);
    EXPECT_EQ(nullptr, weapons.secondary);
}

TEST(ComponentDefaults, StatsFromValuesStartFullWithAnEmptyShield) {
    StatsComp stats(100, 5.0f, 2.0f, 50.0f, 3);
    EXPECT_EQ(100, stats.hp);
    EXPECT_EQ(100, stats.healthMax);
    EXPECT_FLOAT_EQ(50.0f, stats.bp);
    EXPECT_FLOAT_EQ(50.0f, stats.boost);
    EXPECT_EQ(3, stats.mp);
    EXPECT_EQ(3, stats.magic);
    EXPECT_FLOAT_EQ(5.0f, stats.speed);
    EXPECT_FLOAT_EQ(2.0f, stats.armor);
    EXPECT_FLOAT_EQ(0.0f, stats.sp);
    EXPECT_FLOAT_EQ(0.0f, stats.shield);
}

// Every kind, through its prototype: a copy made by Clone and one filled by
// CopyFrom are of the same class and number, and CopyFrom leaves the target
// free even when the source is held.
TEST(ComponentCopying, EveryKindClonesAndCopiesItsOwnClass) {
    ComponentList* list = ComponentList::Instance();
    for (int t = 1; t <= 11; ++t) {
        const Component& prototype = *list->Get(t);
        std::unique_ptr<Component> source(prototype.Clone());
        ASSERT_EQ(typeid(prototype), typeid(*source)) << t;
        EXPECT_EQ(t, source->componentIndex);
        source->isFree = false;

        std::unique_ptr<Component> target(prototype.Clone());
        target->isFree = false;
        target->CopyFrom(*source);
        EXPECT_TRUE(target->isFree) << t;
        EXPECT_EQ(t, target->componentIndex);
        EXPECT_FALSE(source->isFree) << "the source is left alone";
    }
}

TEST(ComponentCopying, CopyFromAnotherKindThrowsBadCast) {
    StatsComp stats(10, 1.0f, 1.0f, 1.0f, 1);
    PhysicsComp physics;
    EXPECT_THROW(stats.CopyFrom(physics), std::bad_cast);
    EXPECT_EQ(10, stats.hp) << "nothing was copied";
}

class NamedState : public virtual FSMState {
public:
    explicit NamedState(const std::string& name) { stateName = name; }
    void Enter() override {}
    void Update() override {}
    void Exit() override {}
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new NamedState(*this); }
};

TEST(ComponentCopying, BehaviourCopiesOwnClonedStates) {
    BehaviorComp source;
    source.sm.name = "mech";
    source.sm.Push(new NamedState("heavy"));
    source.sm.Push(new NamedState("inactive"));

    BehaviorComp copy(source);
    BehaviorComp assigned;
    assigned.sm.Push(new NamedState("old"));
    assigned.CopyFrom(source);

    for (const BehaviorComp* result : {&copy, &assigned}) {
        ASSERT_EQ(2u, result->sm.Size());
        EXPECT_EQ("mech", result->sm.name);
        EXPECT_EQ("heavy", result->sm.At(0)->stateName);
        EXPECT_EQ("inactive", result->sm.Top()->stateName);
        EXPECT_NE(source.sm.Top(), result->sm.Top());
    }
}

}  // namespace

TEST(ComponentCopying, ARecycledBehaviourEntryStartsWithoutTheOldPath) {
    GraphNode node;
    node.id = 7;
    BehaviorComp prototype;
    BehaviorComp* first = nullptr;
    {
        GameObject dead;
        dead.AttachComponent(prototype);
        first = dead.GetBehaviorComp();
        ASSERT_NE(nullptr, first);
        first->sm.path.push_back(node);
        first->sm.pathPlanned = true;
        first->sm.hasLineOfSight = true;
    }
    GameObject fresh;
    fresh.AttachComponent(prototype);
    BehaviorComp* second = fresh.GetBehaviorComp();
    ASSERT_EQ(first, second) << "the pool hands out its lowest free entry again";
    EXPECT_TRUE(second->sm.path.empty());
    EXPECT_FALSE(second->sm.pathPlanned);
    EXPECT_FALSE(second->sm.hasLineOfSight);
}
