// The combat components: a shot's payload (BulletComp), an explosion
// (ExplosionComp), health and abilities (StatsComp) and the two weapons an
// armed object carries (WeaponComp), plus effectData, the particle effect a
// component asks for.
//
// Plain values under the object lock like every component (component.h).
// WeaponComp owns its weapons: copying clones them, destruction frees them,
// and two WeaponComps never share a Weapon.
#pragma once

#include <cstdint>

#include "geom/geom.h"
#include "objects/component.h"

class Weapon;

// One particle effect: an effect number of the particle controller and a size
// factor; param is handed along to the effect.
struct effectData {
    int32_t effectType = 0;
    float effectSize = 0.0f;
    Vector param;
};

// The payload of a shot; the hit handling reads it.
class BulletComp : public PooledComponent<BulletComp, CompIndex::Bullet> {
public:
    effectData groundEffect;
    effectData mechEffect;
    effectData expireEffect;
    effectData buildingEffect;
    int32_t splash = 0;
    float radius = 0.0f;
    int32_t damage = 0;
    int32_t faction = 0;  // 2: the player's projectiles
};

// An explosion lives through two upkeep sweeps: the first clears fresh, the
// second kills it.
class ExplosionComp : public PooledComponent<ExplosionComp, CompIndex::Explosion> {
public:
    bool fresh = true;
    int32_t damage = 0;
    float radius = 0.0f;
};

// Health and abilities. The current values (hp, sp, mp, bp) run against the
// maxima (healthMax, shield, magic, boost).
class StatsComp : public PooledComponent<StatsComp, CompIndex::Stats> {
public:
    StatsComp() = default;
    // Full hull, full boost, full magic and an empty shield.
    StatsComp(int health, float speed, float armor, float boost, int magic);

    int32_t healthMax = 0;
    float speed = 0.0f, armor = 0.0f, boost = 0.0f;
    int32_t magic = 0;
    float shield = 0.0f;
    effectData deathEffect;  // shown where the object dies
    int32_t hp = 0;
    float sp = 0.0f;
    int32_t mp = 0;
    float bp = 0.0f;
    double shieldRechargeDelay = 0.0;  // seconds before the shield recharges
};

// The object's two weapons, either of which may be null. Both pointers are
// owned: assign a heap weapon to give it to the component.
class WeaponComp : public PooledComponent<WeaponComp, CompIndex::Weapon> {
public:
    WeaponComp() = default;
    WeaponComp(const WeaponComp& other);
    WeaponComp& operator=(const WeaponComp& other);
    ~WeaponComp() override;

    // Two words that no subsystem reads yet; kept for the layout.
    uint32_t spare0 = 0;
    uint32_t spare1 = 0;
    Weapon* primary = nullptr;
    Weapon* secondary = nullptr;
};
