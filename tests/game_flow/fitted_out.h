// The player and its foot as every level load must leave them, checked
// whole: the half turn, the camera's angles, the hover height, the reset
// controller fields, the foot probe, both weapons setting by setting and the
// death effect; and level 1's start, from which the view faces the basin's
// centre.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game_logic.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "objects/physics_comp.h"
#include "weapons.h"

namespace flow_test {

struct WeaponRow {
    const char* setting;
    double shown;
    double expected;
};

inline void ExpectEffect(const effectData& effect, int type, float size, const std::string& which) {
    EXPECT_EQ(effect.effectType, type) << which;
    EXPECT_FLOAT_EQ(effect.effectSize, size) << which;
}

inline void ExpectHotSpots(const Weapon& weapon, const std::vector<Vector>& offsets) {
    ASSERT_EQ(weapon.hotspots.size(), offsets.size()) << weapon.bulletName;
    for (size_t i = 0; i < offsets.size(); ++i) {
        EXPECT_EQ(weapon.hotspots[i].boneName, "player");
        EXPECT_FLOAT_EQ(weapon.hotspots[i].offset.x, offsets[i].x) << weapon.bulletName << " spot " << i;
        EXPECT_FLOAT_EQ(weapon.hotspots[i].offset.y, offsets[i].y) << weapon.bulletName << " spot " << i;
        EXPECT_FLOAT_EQ(weapon.hotspots[i].offset.z, offsets[i].z) << weapon.bulletName << " spot " << i;
    }
}

inline void ExpectPlayerWeapons(const WeaponComp& weapons) {
    const auto* laser = dynamic_cast<const SimpleSpread*>(weapons.primary);
    const auto* launcher = dynamic_cast<const Missile*>(weapons.secondary);
    ASSERT_TRUE(laser && launcher) << "the player must hold a SimpleSpread and a Missile";
    const Weapon& l = *laser;
    const Weapon& m = *launcher;
    const WeaponRow rows[] = {
        {"laser baseDamage", l.baseDamage, 2.0},
        {"missile baseDamage", m.baseDamage, 25.0},
        {"laser speed", l.speed, 900.0},
        {"missile speed", m.speed, 900.0},
        {"laser rate", l.rate, 0.05},
        {"missile rate", m.rate, 0.2},
        {"laser expire", l.expire, 10.0},
        {"missile expire", m.expire, 10.0},
        {"laser num", double(l.num), 1.0},
        {"missile num", double(m.num), 1.0},
        {"laser alternate", double(l.alternate), 1.0},
        {"missile alternate", double(m.alternate), 0.0},
        {"laser faction", double(l.bulletPrototype.faction), 2.0},
        {"missile faction", double(m.bulletPrototype.faction), 2.0},
        {"missile splash", double(m.bulletPrototype.splash), 15.0},
        {"missile radius", m.bulletPrototype.radius, 50.0},
        {"missile ammo", double(m.ammo), 20.0},
        {"missile maxAmmo", double(m.maxAmmo), 20.0},
    };
    for (const WeaponRow& row : rows) EXPECT_NEAR(row.shown, row.expected, 1e-6) << row.setting;
    EXPECT_EQ(l.bulletName, "playerBullet");
    EXPECT_EQ(m.bulletName, "playerRocket");
    EXPECT_EQ(l.owner, "player");
    EXPECT_EQ(m.owner, "player");
    ExpectHotSpots(l, {Vector(-6.0f, 0.0f, 0.0f), Vector(6.0f, 0.0f, 0.0f)});
    ExpectHotSpots(m, {Vector(8.0f, 4.5f, 0.0f)});
    ExpectEffect(l.bulletPrototype.groundEffect, 13, 0.9f, "laser ground");
    ExpectEffect(l.bulletPrototype.mechEffect, 2, 0.65f, "laser mech");
    ExpectEffect(l.bulletPrototype.expireEffect, 19, BulletComp().expireEffect.effectSize, "laser expire");
    ExpectEffect(l.bulletPrototype.buildingEffect, 14, 1.2f, "laser building");
    ExpectEffect(m.bulletPrototype.groundEffect, 4, 8.0f, "missile ground");
    ExpectEffect(m.bulletPrototype.mechEffect, 5, 8.0f, "missile mech");
    ExpectEffect(m.bulletPrototype.expireEffect, 5, 8.0f, "missile expire");
    ExpectEffect(m.bulletPrototype.buildingEffect, 5, 8.0f, "missile building");
}

inline void ExpectFoot(const GameObject& foot) {
    const CollisionComp* collision = foot.GetCollisionComp();
    const PhysicsComp* physics = foot.GetPhysicsComp();
    ASSERT_TRUE(collision && physics);
    EXPECT_TRUE(collision->hasOBB && collision->hasBoundSphere);
    EXPECT_FLOAT_EQ(collision->obb.extents.x, 4.0f);
    EXPECT_FLOAT_EQ(collision->obb.extents.y, 1.0f);
    EXPECT_FLOAT_EQ(collision->obb.extents.z, 4.0f);
    EXPECT_FLOAT_EQ(collision->boundSphere.radius, 6.0f);
    EXPECT_FALSE(collision->resolveContact);
    EXPECT_TRUE(collision->category & 16u);
    EXPECT_TRUE(collision->collidesWith & 8u);
    EXPECT_FLOAT_EQ(physics->mass, 10000.0f);
}

// The player's part of a load. Takes the object lock.
inline void ExpectFittedOut(const GameLogic& game) {
    EXPECT_FLOAT_EQ(game.hoverHeight, 25.0f);
    EXPECT_FALSE(game.dashing || game.upBoosting || game.stepArmed);
    EXPECT_EQ(game.boostRechargeDelay, 0.0);
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    EXPECT_FLOAT_EQ(objects.cameraObject.pitch, 0.0f);
    EXPECT_FLOAT_EQ(objects.cameraObject.yaw, 0.0f);
    ASSERT_TRUE(objects.HasGameObject("player") && objects.HasGameObject("playerFoot"));
    const GameObject& player = *objects.GetGameObject("player");
    EXPECT_FLOAT_EQ(player.rot.s, 0.0f);
    EXPECT_FLOAT_EQ(player.rot.v.x, 0.0f);
    EXPECT_FLOAT_EQ(player.rot.v.y, 1.0f);
    EXPECT_FLOAT_EQ(player.rot.v.z, 0.0f);
    EXPECT_TRUE(player.GetCollisionComp()->canBePicked);
    ExpectEffect(player.GetStatsComp()->deathEffect, 0, 17.0f, "death effect");
    ExpectPlayerWeapons(*player.GetWeaponComp());
    ExpectFoot(*objects.GetGameObject("playerFoot"));
}

// The yaw that looks from the player's start to the middle of the ground.
// Takes the object lock.
inline float YawTowardsTheMiddle() {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    const GroundPlaneObject& ground = objects.groundObject;
    const Vector at = objects.GetGameObject(GameObject::kPlayerName)->trans;
    return std::atan2(at.x - (ground.pos.x + ground.scale.x / 2.0f), at.z - (ground.pos.z + ground.scale.z / 2.0f));
}

// The smallest turn between two yaws, in degrees.
inline double DegreesApart(float a, float b) {
    return std::fabs(std::remainder(double(a) - double(b), 2.0 * M_PI)) * 180.0 / M_PI;
}

// A whole load of level 1: the player's part and the run's flags cleared,
// and the start placed so that the view along -z faces the basin's centre.
inline void ExpectLoaded(const GameLogic& game) {
    EXPECT_FALSE(game.playerDied || game.levelComplete || game.endlessMode);
    ExpectFittedOut(game);
    EXPECT_LE(DegreesApart(YawTowardsTheMiddle(), 0.0f), 10.0);
}

// Puts every field a load resets out of place, so that ExpectFittedOut sees
// the load's own work.
inline void Disturb(GameLogic& game) {
    game.hoverHeight = 3.0f;
    game.dashing = game.upBoosting = game.stepArmed = true;
    game.boostRechargeDelay = 0.5;
    game.playerDied = game.levelComplete = game.endlessMode = true;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    objects.cameraObject.pitch = 0.3f;
    objects.cameraObject.yaw = 1.2f;
}

}  // namespace flow_test
