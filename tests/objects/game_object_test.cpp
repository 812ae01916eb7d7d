// GameObject: slots, attaching through the pools, copying, assignment,
// destruction and the transform matrices.
#include <gtest/gtest.h>

#include <typeinfo>

#include "component_pool.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

const CompIndex::Entry kAllIndices[] = {
    CompIndex::None,    CompIndex::Behavior, CompIndex::Billboard, CompIndex::Bullet,
    CompIndex::Collision, CompIndex::Explosion, CompIndex::Graphics, CompIndex::Physics,
    CompIndex::Stats,   CompIndex::Weapon,   CompIndex::Spawn,     CompIndex::Pickup,
};

PhysicsComp Body(float mass) {
    PhysicsComp body;
    body.mass = mass;
    body.linearVel = Vector(1, 2, 3);
    return body;
}

// The first free entry of a pool: where the next allocation will land.
template <class T>
T* LowestFreeEntry() {
    for (std::size_t i = 0; i < ComponentPool<T>::Size(); ++i)
        if (ComponentPool<T>::At(i)->isFree) return ComponentPool<T>::At(i);
    return nullptr;
}

TEST(GameObjectSlots, ANewObjectHasNoComponentsAndTheIdentityTransform) {
    GameObject object("crate");
    for (CompIndex::Entry index : kAllIndices) {
        EXPECT_FALSE(object.HasComp(index)) << index;
        EXPECT_EQ(nullptr, object.GetComponent(index)) << index;
    }
    EXPECT_EQ(nullptr, object.GetComponent(static_cast<CompIndex::Entry>(12)));
    EXPECT_EQ(nullptr, object.GetComponent(static_cast<CompIndex::Entry>(-3)));
    EXPECT_EQ("crate", object.name);
    EXPECT_FLOAT_EQ(1.0f, object.rot.s);
    EXPECT_FLOAT_EQ(0.0f, object.rot.v.x);
    EXPECT_FALSE(object.isDead);
    EXPECT_EQ(0u, object.objNum);
}

TEST(GameObjectSlots, AttachStoresATakenPooledCopyOfTheComponent) {
    GameObject object("tank");
    PhysicsComp body = Body(80.0f);
    object.AttachComponent(body);

    PhysicsComp* held = object.GetPhysicsComp();
    ASSERT_NE(nullptr, held);
    EXPECT_NE(&body, held);
    EXPECT_EQ(held, object.GetComponent(CompIndex::Physics));
    EXPECT_TRUE(object.HasComp(CompIndex::Physics));
    EXPECT_FALSE(held->isFree);
    EXPECT_FLOAT_EQ(80.0f, held->mass);
    EXPECT_FLOAT_EQ(2.0f, held->linearVel.y);
    EXPECT_TRUE(body.isFree) << "the source stays a free-standing component";
}

TEST(GameObjectSlots, ADuplicateAttachIsReportedAndTheFirstComponentStays) {
    GameObject object("tank");
    object.AttachComponent(Body(80.0f));
    PhysicsComp* first = object.GetPhysicsComp();

    LogCapture log;
    object.AttachComponent(Body(5.0f));
    EXPECT_TRUE(log.Has("this->name = tank\ncomp.componentIndex = 7\n"));
    EXPECT_TRUE(log.Has("tried to attach a duplicate component"));
    EXPECT_EQ(first, object.GetPhysicsComp());
    EXPECT_FLOAT_EQ(80.0f, first->mass);
}

TEST(GameObjectSlots, ACorruptTypeNumberAttachesNothing) {
    GameObject object("tank");
    for (int bad : {0, 12, -1}) {
        PhysicsComp body;
        body.componentIndex = static_cast<CompIndex::Entry>(bad);
        LogCapture log;
        object.AttachComponent(body);
        EXPECT_TRUE(log.Has("Corrupt component.")) << bad;
    }
    for (CompIndex::Entry index : kAllIndices) EXPECT_FALSE(object.HasComp(index));
}

TEST(GameObjectSlots, AComponentWhoseNumberNamesAnotherKindIsRefused) {
    GameObject object("tank");
    PhysicsComp body;
    body.componentIndex = CompIndex::Stats;
    EXPECT_THROW(object.AttachComponent(body), std::bad_cast);
    EXPECT_FALSE(object.HasComp(CompIndex::Stats));
    EXPECT_FALSE(object.HasComp(CompIndex::Physics));
}

TEST(GameObjectCopying, ACopyOfADeadObjectIsAliveWithItsOwnEqualComponents) {
    GameObject original("mech");
    original.objNum = 101;
    original.patternName = "MediumMech";
    original.trans = Vector(1, 2, 3);
    original.rot = Quaternion(0.0f, Vector(0, 1, 0));
    original.isLevelObject = true;
    original.offset = 0.75f;
    original.isDead = true;
    original.AttachComponent(Body(80.0f));
    original.AttachComponent(StatsComp(100, 5.0f, 2.0f, 50.0f, 3));

    GameObject copy(original);
    EXPECT_FALSE(copy.isDead);
    EXPECT_EQ("mech", copy.name);
    EXPECT_EQ(101u, copy.objNum);
    EXPECT_EQ("MediumMech", copy.patternName);
    EXPECT_FLOAT_EQ(2.0f, copy.trans.y);
    EXPECT_FLOAT_EQ(1.0f, copy.rot.v.y);
    EXPECT_TRUE(copy.isLevelObject);
    EXPECT_FLOAT_EQ(0.75f, copy.offset);

    ASSERT_NE(nullptr, copy.GetPhysicsComp());
    EXPECT_NE(original.GetPhysicsComp(), copy.GetPhysicsComp());
    EXPECT_FLOAT_EQ(80.0f, copy.GetPhysicsComp()->mass);
    EXPECT_NE(original.GetStatsComp(), copy.GetStatsComp());
    EXPECT_EQ(100, copy.GetStatsComp()->hp);
    EXPECT_FALSE(copy.GetStatsComp()->isFree);
    EXPECT_FALSE(copy.HasComp(CompIndex::Collision));
}

TEST(GameObjectCopying, AssignmentReturnsTheOldComponentsAndKeepsItsOwnOffset) {
    GameObject source("source");
    source.offset = 3.0f;
    source.AttachComponent(Body(10.0f));

    GameObject target("target");
    target.offset = 1.5f;
    target.isDead = true;
    target.AttachComponent(Body(99.0f));
    target.AttachComponent(PickupComp());
    PhysicsComp* oldBody = target.GetPhysicsComp();
    Component* oldPickup = target.GetComponent(CompIndex::Pickup);

    target = source;
    EXPECT_TRUE(oldPickup->isFree);
    EXPECT_EQ(oldBody, target.GetPhysicsComp()) << "given back first, so the copy reuses the entry";
    EXPECT_EQ("source", target.name);
    EXPECT_FALSE(target.isDead);
    EXPECT_FLOAT_EQ(1.5f, target.offset);
    EXPECT_FALSE(target.HasComp(CompIndex::Pickup));
    ASSERT_NE(nullptr, target.GetPhysicsComp());
    EXPECT_NE(source.GetPhysicsComp(), target.GetPhysicsComp());
    EXPECT_FLOAT_EQ(10.0f, target.GetPhysicsComp()->mass);
}

TEST(GameObjectCopying, SelfAssignmentChangesNothing) {
    GameObject object("self");
    object.isDead = true;
    object.AttachComponent(Body(42.0f));
    PhysicsComp* body = object.GetPhysicsComp();

    GameObject& alias = object;
    object = alias;
    EXPECT_EQ(body, object.GetPhysicsComp());
    EXPECT_FALSE(body->isFree);
    EXPECT_FLOAT_EQ(42.0f, body->mass);
    EXPECT_TRUE(object.isDead);

    // The entry is still held: a new allocation must not hand it out.
    GameObject other("other");
    other.AttachComponent(Body(1.0f));
    EXPECT_NE(body, other.GetPhysicsComp());
}

TEST(GameObjectCopying, DestructionGivesTheComponentsBackForReuse) {
    Component* given = nullptr;
    {
        GameObject object("short-lived");
        object.AttachComponent(CollisionComp());
        given = object.GetComponent(CompIndex::Collision);
        ASSERT_FALSE(given->isFree);
    }
    EXPECT_TRUE(given->isFree);

    CollisionComp* next = LowestFreeEntry<CollisionComp>();
    GameObject successor("successor");
    successor.AttachComponent(CollisionComp());
    EXPECT_EQ(next, successor.GetCollisionComp());
}

TEST(GameObjectTransform, MatrixPlacesAndItsInverseReturns) {
    GameObject object("placed");
    object.trans = Vector(1, 2, 3);
    Vector moved = object.GetMatrix() * Vector(0, 0, 0, 1);
    EXPECT_FLOAT_EQ(1.0f, moved.x);
    EXPECT_FLOAT_EQ(2.0f, moved.y);
    EXPECT_FLOAT_EQ(3.0f, moved.z);

    const float half = 0.70710678f;  // a quarter turn about y
    object.rot = Quaternion(half, Vector(0, half, 0));
    Matrix product = object.GetMatrix() * object.GetInvMatrix();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_NEAR(c == r ? 1.0f : 0.0f, product.m[c][r], 1e-5f) << c << r;

    Vector turned = object.GetMatrix() * Vector(1, 0, 0, 1);
    EXPECT_NEAR(1.0f, turned.x, 1e-5f);
    EXPECT_NEAR(-1.0f + 3.0f, turned.z, 1e-5f);
}

}  // namespace
