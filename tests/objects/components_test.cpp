// Component pools (each test uses its own kind, so the pools start known), the
// prototypes, GameObject's slots, copies and destruction, and the weapons a
// WeaponComp owns: under AddressSanitizer a double free or a leak fails.
#include <gtest/gtest.h>

#include <typeinfo>

#include "component_list.h"
#include "component_pool.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "support/log_capture.h"
#include "weapons.h"

namespace {

TEST(ComponentPool, FirstAllocationLogsOnceThenReusesTheLowestFreeEntryAndGrowsByAHundred) {
    using Pool = ComponentPool<SpawnComp>;
    EXPECT_TRUE(Pool::Query()) << "a pool never used is sound";
    test_support::LogCapture log;
    for (int i = 1; i <= 499; ++i) ASSERT_EQ(Pool::At(i), Pool::Allocate()) << i;
    EXPECT_TRUE(Pool::Size() == 500u && !Pool::At(0)->isFree) << "entry 0 is the taken sentinel";
    EXPECT_EQ(1, log.Count("---\nconstructing a new component pool\npool[0]->componentIndex = 10\n---\n"));
    Pool::At(3)->isFree = true;
    Pool::At(1)->isFree = true;
    EXPECT_TRUE(Pool::At(1) == Pool::Allocate() && Pool::At(3) == Pool::Allocate()) << "the lowest free first";
    EXPECT_TRUE(Pool::Allocate() == Pool::At(500) && Pool::Size() == 600u && Pool::Query());
    EXPECT_EQ(CompIndex::Spawn, Pool::At(599)->componentIndex);
    Pool::At(0)->isFree = true;
    EXPECT_FALSE(Pool::Query());
    EXPECT_EQ(Pool::At(0), Pool::Allocate()) << "the lowest free entry, however wrong";
    EXPECT_TRUE(log.Has("---\npool.size() = 600\npool[i]->componentIndex = 10\n") && log.Has("invalid pool index!"));
}

TEST(ComponentPool, AllocateCopyKeepsTheEntryTakenOrReturnsItOnAWrongKind) {
    StatsComp source(100, 5.0f, 2.0f, 50.0f, 3);
    source.isFree = false;
    StatsComp* entry = ComponentPool<StatsComp>::AllocateCopy(source);
    EXPECT_TRUE(!entry->isFree && entry->hp == 100);
    EXPECT_THROW(ComponentPool<PickupComp>::AllocateCopy(PhysicsComp()), std::bad_cast);
    EXPECT_TRUE(ComponentPool<PickupComp>::At(1)->isFree) << "the entry went back to the pool";
}

TEST(ComponentList, PrototypesOneToElevenReachTheirPoolsAndOtherNumbersAreCorrupt) {
    test_support::LogCapture log;
    ComponentList* list = ComponentList::Instance();
    for (int bad : {0, 12, -1}) EXPECT_EQ(nullptr, list->Get(bad)) << bad;
    EXPECT_EQ(3, log.Count("Corrupt component."));
    for (int t = 1; t <= 11; ++t) {
        Component* prototype = list->Get(t);
        ASSERT_NE(nullptr, prototype) << t;
        Component* entry = prototype->AllocateFromPool();
        EXPECT_TRUE(prototype->componentIndex == t && prototype->isFree && typeid(*prototype) == typeid(*entry) &&
                    !entry->isFree) << t;
    }
}

PhysicsComp Body(float mass) {
    PhysicsComp body;
    body.mass = mass;
    return body;
}

TEST(GameObjectSlots, AttachStoresAPooledCopyAndRefusesDuplicatesAndCorruptKinds) {
    GameObject object("tank");
    PhysicsComp body = Body(80.0f);
    object.AttachComponent(body);
    PhysicsComp* held = object.GetPhysicsComp();
    ASSERT_NE(nullptr, held);
    EXPECT_TRUE(!held->isFree && body.isFree) << "the source stays a free-standing component";
    test_support::LogCapture log;
    object.AttachComponent(Body(5.0f));
    EXPECT_TRUE(log.Has("this->name = tank\ncomp.componentIndex = 7\n") && log.Has("tried to attach a duplicate component"));
    EXPECT_TRUE(held == object.GetPhysicsComp() && held->mass == 80.0f);
    GameObject other("other");
    for (int bad : {0, 12, -1, int(CompIndex::Stats)}) {  // the last names another kind
        PhysicsComp corrupt;
        corrupt.componentIndex = static_cast<CompIndex::Entry>(bad);
        if (bad == CompIndex::Stats) EXPECT_THROW(other.AttachComponent(corrupt), std::bad_cast);
        else other.AttachComponent(corrupt);
    }
    EXPECT_EQ(3, log.Count("Corrupt component."));
    for (int kind = -3; kind <= 12; ++kind) EXPECT_EQ(nullptr, other.GetComponent(CompIndex::Entry(kind)));
}

TEST(GameObjectCopying, CopiesAreAliveWithTheirOwnComponentsAndAssignmentGivesTheOldOnesBack) {
    GameObject source("mech");
    source.trans = Vector(1, 2, 3);
    source.offset = 0.75f;
    source.isDead = true;
    source.AttachComponent(Body(10.0f));
    source.AttachComponent(StatsComp(100, 5.0f, 2.0f, 50.0f, 3));
    GameObject copy(source);
    EXPECT_TRUE(!copy.isDead && copy.trans.y == 2.0f && copy.offset == 0.75f && !copy.HasComp(CompIndex::Collision));
    EXPECT_TRUE(source.GetPhysicsComp() != copy.GetPhysicsComp() && copy.GetPhysicsComp()->mass == 10.0f &&
                source.GetStatsComp() != copy.GetStatsComp());

    GameObject target("target");
    target.offset = 1.5f;
    target.isDead = true;
    target.AttachComponent(Body(99.0f));
    target.AttachComponent(PickupComp());
    PhysicsComp* oldBody = target.GetPhysicsComp();
    Component* oldPickup = target.GetComponent(CompIndex::Pickup);
    target = copy;
    EXPECT_TRUE(oldPickup->isFree && oldBody == target.GetPhysicsComp()) << "given back first, so the copy reuses it";
    EXPECT_FALSE(target.isDead || target.HasComp(CompIndex::Pickup));
    EXPECT_TRUE(target.offset == 1.5f && target.GetPhysicsComp()->mass == 10.0f) << "the offset is the target's own";
    GameObject& alias = target;
    target = alias;
    EXPECT_TRUE(oldBody == target.GetPhysicsComp() && !oldBody->isFree) << "self-assignment keeps the entry";
    {
        GameObject other("other");
        other.AttachComponent(Body(1.0f));
        EXPECT_NE(oldBody, other.GetPhysicsComp());
        oldBody = other.GetPhysicsComp();
    }
    EXPECT_TRUE(oldBody->isFree) << "destruction gives the entry back";
    GameObject successor("successor");
    successor.AttachComponent(Body(2.0f));
    EXPECT_EQ(oldBody, successor.GetPhysicsComp()) << "the lowest free entry again";
}

// Object to world and back again, for rotations about each axis and off-axis.
TEST(GameObjectMatrices, MatrixTimesInverseIsTheIdentity) {
    const float axes[][4] = {{0.6f, 0.8f, 0, 0}, {0.6f, 0, 0.8f, 0}, {0.5f, 0.5f, 0.5f, 0.5f}, {1, 0, 0, 0}};
    for (const auto& q : axes) {
        GameObject object("mover");
        object.rot = Quaternion(q[0], Vector(q[1], q[2], q[3], 0));
        object.trans = Vector(3, -7, 11, 0);
        const Matrix product = object.GetMatrix() * object.GetInvMatrix();
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(product.m[i / 4][i % 4], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << q[1] << q[2] << q[3] << i;
    }
}

SimpleSpread* MakeLaser(const std::string& owner) {
    SimpleSpread* laser = new SimpleSpread();
    laser->owner = owner;
    laser->lastFireTime = 12.5;
    laser->AddHotSpot(-1, 2, 3, "arm_right");
    return laser;
}

// A distinct SimpleSpread with the same values.
void ExpectSameLaser(const Weapon& expected, const Weapon* actual) {
    ASSERT_TRUE(dynamic_cast<const SimpleSpread*>(actual) && actual->hotspots.size() == 1u);
    EXPECT_TRUE(&expected != actual && expected.owner == actual->owner && actual->lastFireTime == 12.5 &&
                actual->hotspots[0].boneName == "arm_right");
}

TEST(WeaponComp, CopiesAndAssignmentsCloneTheWeaponsAndFreeTheOldOnes) {
    WeaponComp source;
    source.primary = MakeLaser("mech7");
    WeaponComp copy(source);
    ExpectSameLaser(*source.primary, copy.primary);
    EXPECT_EQ(nullptr, copy.secondary);
    copy.primary->owner = "changed";
    EXPECT_EQ("mech7", source.primary->owner) << "the copies share nothing";
    WeaponComp target;
    target.primary = MakeLaser("old");
    target.secondary = new Missile();
    source.secondary = new Missile();
    source.secondary->ammo = 3;
    target = source;
    ExpectSameLaser(*source.primary, target.primary);
    EXPECT_EQ(3, dynamic_cast<Missile&>(*target.secondary).ammo);
    target = WeaponComp();
    EXPECT_EQ(nullptr, target.primary);
    WeaponComp& alias = source;
    source = alias;
    source.CopyFrom(alias);
    ASSERT_NE(nullptr, source.primary);
    EXPECT_EQ("mech7", source.primary->owner) << "self-assignment keeps the weapons";
}

TEST(WeaponComp, ObjectCopiesThroughThePoolFreeEachWeaponOnce) {
    WeaponComp armed;
    armed.primary = MakeLaser("mech");
    armed.secondary = new Missile();
    armed.secondary->ammo = 5;
    for (int round = 0; round < 3; ++round) {  // pooled entries keep their old weapons
        GameObject original("mech");
        original.AttachComponent(armed);
        GameObject copy(original);
        GameObject assigned("other");
        assigned.AttachComponent(WeaponComp());
        assigned = copy;
        ASSERT_NE(nullptr, assigned.GetWeaponComp());
        ExpectSameLaser(*armed.primary, assigned.GetWeaponComp()->primary);
        EXPECT_NE(copy.GetWeaponComp()->primary, assigned.GetWeaponComp()->primary);
        EXPECT_EQ(5, dynamic_cast<Missile&>(*assigned.GetWeaponComp()->secondary).ammo);
    }
}

}  // namespace

TEST(ComponentCopying, ARecycledBehaviourEntryStartsWithoutTheOldPath) {
    BehaviorComp prototype;
    BehaviorComp* first = nullptr;
    {
        GameObject dead;
        dead.AttachComponent(prototype);
        first = dead.GetBehaviorComp();
        ASSERT_NE(nullptr, first);
        first->sm.path.push_back(GraphNode());
        first->sm.pathPlanned = true;
        first->sm.hasLineOfSight = true;
    }
    GameObject fresh;
    fresh.AttachComponent(prototype);
    BehaviorComp* second = fresh.GetBehaviorComp();
    ASSERT_EQ(first, second) << "the pool hands out its lowest free entry again";
    EXPECT_TRUE(second->sm.path.empty() && !second->sm.pathPlanned && !second->sm.hasLineOfSight);
}
