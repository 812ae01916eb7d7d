// Weapons: what turns a trigger pull into projectiles. A Weapon is a plain
// polymorphic value copied through Clone; a WeaponComp owns two of them.
// SimpleSpread fires laser shots, Missile fires missiles (counted against ammo
// when the player fires them), FlameThrower does nothing.
//
// Threads: built wherever objects are built (main or loader thread); Fire runs
// on the main thread only. A weapon takes no lock and never registers objects
// itself.
#pragma once

#include <string>
#include <vector>

#include "geom/geom.h"
#include "objects/combat_comps.h"

// One muzzle point: a bone of the owner's skeleton, or "player" for a muzzle
// fixed to the camera, and the offset from it (w 0).
struct HotSpot {
    std::string boneName;
    Vector offset;
};

class Weapon {
public:
    Weapon();
    // A new copy of the most derived kind, every field equal (timers and
    // counters included); the caller owns it.
    virtual Weapon* Clone() const = 0;
    virtual ~Weapon() = default;
    // One trigger pull: a direction for a camera muzzle, a target point for a
    // bone muzzle.
    virtual void Fire(Vector dir) = 0;
    virtual void BeginHold() = 0;
    virtual void EndHold() = 0;

    // Appends HotSpot{bone, (x, y, z, 0)} and counts it.
    void AddHotSpot(float x, float y, float z, std::string bone);

    float spreadHorizontal = 0.0f;  // radians, width of a uniform fan
    float spreadVertical = 0.0f;    // a fan is built only while this is 0
    float speed = 0.0f;             // projectile speed, units per second
    float rate = 0.0f;              // least seconds between two shots
    double expire = 0.0;            // projectile lifetime, seconds
    int num = 0;                    // projectiles of one uniform fan
    float baseDamage = 0.0f;
    std::string bulletName;         // prefix of the projectiles' names
    std::vector<HotSpot> hotspots;
    bool alternate = false;         // cycle through the hot spots
    bool uniformSpread = true;
    double holdTime = 0.0;          // for scripts; no weapon reads it
    std::string owner;              // name of the carrying object; "player" for the player
    BulletComp bulletPrototype;     // copied into every projectile
    int ammo = 0;                   // missiles left (player's Missile only)
    int maxAmmo = 0;                // cap that pickups respect
    double lastFireTime = 0.0;
    int hotSpotIndex = 0;           // the hot spot the next projectile leaves from
    int hotSpotCount = 0;           // hot spots added through AddHotSpot
};

class SimpleSpread : public Weapon {
public:
    SimpleSpread() = default;
    Weapon* Clone() const override;
    void Fire(Vector dir) override;
    void BeginHold() override {}
    void EndHold() override {}
};

class Missile : public Weapon {
public:
    Missile() = default;
    Weapon* Clone() const override;
    void Fire(Vector dir) override;
    void BeginHold() override {}
    void EndHold() override {}
};

class FlameThrower : public Weapon {
public:
    Weapon* Clone() const override;
    void Fire(Vector) override {}
    void BeginHold() override {}
    void EndHold() override {}
};
