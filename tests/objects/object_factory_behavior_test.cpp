// The stamps that push behaviour states: an enemy's idle-then-hunt pair and
// its weapons, and a pickup's kind, value, contact flag and spin. The states'
// Enter reaches the owner through the object table, so these objects are
// registered and stamped under the object lock, as the level loader does.
#include <gtest/gtest.h>

#include <string>

#include "aistuff/state_follow.h"
#include "aistuff/state_heavy.h"
#include "aistuff/state_inactive.h"
#include "aistuff/state_rotate.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/log_capture.h"
#include "weapons.h"

namespace {

using test_support::LogCapture;
using ObjectFactory::SetParameter;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

WeaponComp Armed() {
    WeaponComp weapons;
    weapons.primary = new SimpleSpread();
    weapons.secondary = new Missile();
    weapons.primary->owner = "nobody";
    return weapons;
}

ObjectPattern Enemy(bool withWeapons) {
    ObjectPattern pattern;
    SetParameter(pattern, "behavior", true);
    SetParameter(pattern, "state", std::string("ignored"));
    if (withWeapons) {
        SetParameter(pattern, "weapon", true);
        SetParameter(pattern, "weaponComp", Armed());
    }
    return pattern;
}

ObjectPattern Pickup(const std::string& type, bool withValue) {
    ObjectPattern pattern;
    SetParameter(pattern, "type", type);
    if (withValue) SetParameter(pattern, "value", 25);
    return pattern;
}

class Stamped : public ::testing::Test {
protected:
    void SetUp() override {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    void TearDown() override { SetUp(); }

    // Registers a fresh object with an animated look, then hands it over
    // under the lock.
    template <class Stamp>
    GameObject& RegisterAndStamp(const std::string& name, Stamp stamp) {
        GameObject object(name);
        object.AttachComponent(GraphicsComp());
        EXPECT_TRUE(Objects().AddGameObject(object));
        ObjectLock lock;
        GameObject& stored = *Objects().GetGameObject(name);
        stamp(stored);
        return stored;
    }
};

TEST_F(Stamped, BehaviourPushesHeavyThenInactiveOnAMachineNamedAfterTheObject) {
    GameObject& mech = RegisterAndStamp("mech4", [](GameObject& o) { ObjectFactory::StampBehavior(o, Enemy(false)); });
    const FSMStateMachine& sm = mech.GetBehaviorComp()->sm;
    EXPECT_EQ(sm.name, "mech4");
    ASSERT_EQ(sm.Size(), 2u);
    auto* heavy = dynamic_cast<StateHeavy*>(sm.At(0));
    auto* idle = dynamic_cast<StateInactive*>(sm.At(1));
    ASSERT_TRUE(heavy && idle);
    EXPECT_EQ(heavy->ownerName, "mech4");
    EXPECT_EQ(idle->targetName, "player");
    EXPECT_FLOAT_EQ(idle->rangeSq, 1000.0f * 1000.0f);
    // Heavy's Enter pushed the follow state; the idle state's Enter ran last.
    ASSERT_EQ(heavy->subMachine.Size(), 1u);
    EXPECT_EQ(heavy->subMachine.Top()->stateName, "follow");
    EXPECT_EQ(mech.GetGraphicsComp()->skeleton.curAnimation, 0);
}

TEST_F(Stamped, BehaviourAttachesCopiedWeaponsOwnedByTheObject) {
    ObjectPattern pattern = Enemy(true);
    GameObject& mech = RegisterAndStamp("mech5", [&](GameObject& o) { ObjectFactory::StampBehavior(o, pattern); });
    WeaponComp* weapons = mech.GetWeaponComp();
    ASSERT_NE(weapons, nullptr);
    ASSERT_TRUE(weapons->primary && weapons->secondary);
    EXPECT_EQ(weapons->primary->owner, "mech5");
    EXPECT_EQ(weapons->secondary->owner, "mech5");
    // The pattern's own weapons are copies, untouched.
    EXPECT_EQ(ObjectFactory::GetParameter<WeaponComp>(pattern, "weaponComp").primary->owner, "nobody");
}

TEST_F(Stamped, ReStampingBehaviourKeepsTheWeaponsAndStacksMoreStates) {
    GameObject& mech = RegisterAndStamp("mech6", [](GameObject& o) { ObjectFactory::StampBehavior(o, Enemy(true)); });
    Weapon* held = mech.GetWeaponComp()->primary;
    LogCapture log;
    {
        ObjectLock lock;
        ObjectFactory::StampBehavior(mech, Enemy(true));
    }
    EXPECT_TRUE(log.Has("duplicate"));
    EXPECT_EQ(mech.GetWeaponComp()->primary, held);
    EXPECT_EQ(mech.GetBehaviorComp()->sm.Size(), 4u);
}

TEST_F(Stamped, AHealthPickupSpinsAndIsNotPushedApart) {
    GameObject& pack = RegisterAndStamp("health9", [](GameObject& o) {
        o.AttachComponent(CollisionComp());
        ObjectFactory::StampPickup(o, Pickup("health", true));
    });
    auto* pickup = static_cast<PickupComp*>(pack.GetComponent(CompIndex::Pickup));
    ASSERT_NE(pickup, nullptr);
    EXPECT_EQ(pickup->kind, PickupComp::kHealth);
    EXPECT_EQ(pickup->value, 25);
    EXPECT_FALSE(pack.GetCollisionComp()->resolveContact);
    EXPECT_TRUE(pack.GetCollisionComp()->canBePicked);
    const FSMStateMachine& sm = pack.GetBehaviorComp()->sm;
    EXPECT_EQ(sm.name, "health9");
    auto* spin = dynamic_cast<StateRotate*>(sm.Top());
    ASSERT_NE(spin, nullptr);
    EXPECT_DOUBLE_EQ(spin->rate, 1.0);
    EXPECT_EQ(spin->ownerName, "health9");
}

TEST_F(Stamped, PickupKindsOtherThanAmmoOrHealthKeepTheDefault) {
    GameObject& ammo = RegisterAndStamp("ammo1", [](GameObject& o) { ObjectFactory::StampPickup(o, Pickup("ammo", false)); });
    auto* kind = static_cast<PickupComp*>(ammo.GetComponent(CompIndex::Pickup));
    EXPECT_EQ(kind->kind, PickupComp::kAmmo);
    EXPECT_EQ(kind->value, 0);
    EXPECT_EQ(ammo.GetCollisionComp(), nullptr);  // no collision to clear, no crash

    GameObject& odd = RegisterAndStamp("odd1", [](GameObject& o) { ObjectFactory::StampPickup(o, Pickup("Health", true)); });
    EXPECT_EQ(static_cast<PickupComp*>(odd.GetComponent(CompIndex::Pickup))->kind, PickupComp::kUnknown);

    GameObject stray("stray");
    EXPECT_THROW(ObjectFactory::StampPickup(stray, ObjectPattern()), ParamTypeError);
}

}  // namespace
