// WeaponComp owns its two weapons: every copy, assignment and pooled reuse
// must clone them and free each exactly once. Run under AddressSanitizer, a
// double free, a use after free or a leaked weapon fails these tests.
#include <gtest/gtest.h>

#include <memory>

#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "weapons.h"

namespace {

SimpleSpread* MakeLaser(const std::string& owner) {
    SimpleSpread* laser = new SimpleSpread();
    laser->owner = owner;
    laser->rate = 0.25f;
    laser->num = 3;
    laser->lastFireTime = 12.5;
    laser->hotSpotIndex = 1;
    laser->bulletPrototype.damage = 10;
    laser->bulletPrototype.mechEffect.effectType = 2;
    laser->AddHotSpot(1, 2, 3, "arm_left");
    laser->AddHotSpot(-1, 2, 3, "arm_right");
    return laser;
}

Missile* MakeLauncher(int ammo) {
    Missile* launcher = new Missile();
    launcher->ammo = ammo;
    launcher->maxAmmo = 20;
    launcher->AddHotSpot(0, 1, 0, "back");
    return launcher;
}

void ExpectSameLaser(const Weapon& expected, const Weapon* actual) {
    ASSERT_NE(nullptr, actual);
    ASSERT_NE(&expected, actual);
    EXPECT_NE(nullptr, dynamic_cast<const SimpleSpread*>(actual));
    EXPECT_EQ(expected.owner, actual->owner);
    EXPECT_FLOAT_EQ(expected.rate, actual->rate);
    EXPECT_EQ(expected.num, actual->num);
    EXPECT_DOUBLE_EQ(expected.lastFireTime, actual->lastFireTime);
    EXPECT_EQ(expected.hotSpotIndex, actual->hotSpotIndex);
    EXPECT_EQ(expected.hotSpotCount, actual->hotSpotCount);
    ASSERT_EQ(expected.hotspots.size(), actual->hotspots.size());
    EXPECT_EQ(expected.hotspots[1].boneName, actual->hotspots[1].boneName);
    EXPECT_FLOAT_EQ(expected.hotspots[1].offset.x, actual->hotspots[1].offset.x);
    EXPECT_EQ(expected.bulletPrototype.damage, actual->bulletPrototype.damage);
    EXPECT_EQ(expected.bulletPrototype.mechEffect.effectType, actual->bulletPrototype.mechEffect.effectType);
}

TEST(Weapon, CloneKeepsTheKindAndEveryCounter) {
    std::unique_ptr<Missile> launcher(MakeLauncher(7));
    std::unique_ptr<Weapon> copy(launcher->Clone());
    ASSERT_NE(nullptr, dynamic_cast<Missile*>(copy.get()));
    EXPECT_EQ(7, copy->ammo);
    EXPECT_EQ(20, copy->maxAmmo);
    EXPECT_TRUE(copy->uniformSpread);

    FlameThrower flamer;
    std::unique_ptr<Weapon> flamerCopy(flamer.Clone());
    EXPECT_NE(nullptr, dynamic_cast<FlameThrower*>(flamerCopy.get()));
}

TEST(WeaponComp, CopyClonesThePrimaryAndKeepsAnEmptySecondaryEmpty) {
    WeaponComp source;
    source.primary = MakeLaser("mech7");
    WeaponComp copy(source);
    ExpectSameLaser(*source.primary, copy.primary);
    EXPECT_EQ(nullptr, copy.secondary);

    copy.primary->owner = "changed";
    EXPECT_EQ("mech7", source.primary->owner) << "the copies share nothing";
}

TEST(WeaponComp, AssignmentReplacesAndFreesTheOldWeapons) {
    WeaponComp source;
    source.primary = MakeLaser("mech7");
    source.secondary = MakeLauncher(3);

    WeaponComp target;
    target.primary = MakeLaser("old");
    target.secondary = MakeLauncher(1);
    target = source;
    ExpectSameLaser(*source.primary, target.primary);
    ASSERT_NE(nullptr, target.secondary);
    EXPECT_EQ(3, target.secondary->ammo);

    WeaponComp emptied;
    target = emptied;
    EXPECT_EQ(nullptr, target.primary);
    EXPECT_EQ(nullptr, target.secondary);
}

TEST(WeaponComp, AssigningOrCopyingFromItselfKeepsItsWeapons) {
    WeaponComp weapons;
    weapons.primary = MakeLaser("self");
    WeaponComp& alias = weapons;
    weapons = alias;
    weapons.CopyFrom(alias);
    ASSERT_NE(nullptr, weapons.primary);
    EXPECT_EQ("self", weapons.primary->owner);
    EXPECT_EQ(2u, weapons.primary->hotspots.size());
}

// A pooled entry keeps its weapons after it is given back; the next CopyFrom
// into it must free them before cloning the new ones.
TEST(WeaponComp, ObjectCopiesThroughThePoolFreeEachWeaponOnce) {
    WeaponComp armed;
    armed.primary = MakeLaser("mech");
    armed.secondary = MakeLauncher(5);

    for (int round = 0; round < 3; ++round) {
        GameObject original("mech");
        original.AttachComponent(armed);
        GameObject copy(original);
        GameObject assigned("other");
        assigned.AttachComponent(WeaponComp());
        assigned = copy;

        ASSERT_NE(nullptr, assigned.GetWeaponComp());
        ExpectSameLaser(*armed.primary, assigned.GetWeaponComp()->primary);
        EXPECT_NE(copy.GetWeaponComp()->primary, assigned.GetWeaponComp()->primary);
        EXPECT_EQ(5, assigned.GetWeaponComp()->secondary->ammo);
    }
}

}  // namespace
