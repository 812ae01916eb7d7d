// Weapons: what turns a trigger pull into projectiles. A Weapon is a plain
// polymorphic value copied through Clone; a WeaponComp owns two of them.
// SimpleSpread fires laser shots, Missile fires missiles (counted against ammo
// when the player fires them), FlameThrower does nothing.
//
// A pull that passes the rate test counts for the player (GameLogic's
// shotsFired), builds the projectiles at the current hot spot (a muzzle fixed
// to the camera, or a bone of the owner's skeleton), hands them to the
// BehaviorManager queue and plays the firing sound once.
//
// Threads: built wherever objects are built (main or loader thread). Fire,
// SpawnShot and SpawnMissile run on the main thread only, WITH THE OBJECT LOCK
// HELD BY THE CALLER (the player controller, the behaviour states): they read
// the owner and the camera from the object table. A weapon never takes that
// lock and never registers objects itself.
#pragma once

#include <string>
#include <vector>

#include "geom/geom.h"
#include "objects/combat_comps.h"
#include "objects/game_object.h"

namespace weapons {
struct Launch;
struct Muzzle;
}  // namespace weapons

// One muzzle point: a bone of the owner's skeleton, or "player" for a muzzle
// fixed to the camera, and the offset from it (w 0).
struct HotSpot {
    std::string boneName;
    Vector offset;
};

class Weapon {
public:
    // The hot-spot bone name of a muzzle fixed to the camera (the player
    // looks through the camera from the cockpit).
    static constexpr const char* kCameraMuzzle = "player";

    Weapon();
    // A new copy of the most derived kind, every field equal (timers and
    // counters included); the caller owns it.
    virtual Weapon* Clone() const = 0;
    virtual ~Weapon() = default;
    // One trigger pull: a direction for a camera muzzle, a target point for a
    // bone muzzle. Caller holds the object lock (main thread).
    virtual void Fire(Vector dir) = 0;
    virtual void BeginHold() = 0;
    virtual void EndHold() = 0;

    // Appends HotSpot{bone, (x, y, z, 0)} and counts it.
    void AddHotSpot(float x, float y, float z, std::string bone);

    // One projectile from the current hot spot, not registered: a laser shot
    // built from components, or a missile stamped from the pattern "Missile"
    // with its trail. v is a direction (camera muzzle) or a target point (bone
    // muzzle). A target at the muzzle gives a projectile at rest. When the
    // weapon cannot fire (no such hot spot, owner not in the world, a bone
    // muzzle's owner without graphics) the result is an object without name
    // or components, after a logged error. Caller holds the object lock.
    GameObject SpawnShot(Vector v);
    GameObject SpawnMissile(Vector v);

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
    double lastFireTime = 0.0;      // System clock (paused-aware) seconds
    int hotSpotIndex = 0;           // the hot spot the next projectile leaves from
    int hotSpotCount = 0;           // hot spots added through AddHotSpot

protected:
    enum class Kind { Shot, Missile };

    // The pull shared by SimpleSpread and Missile: rate test, count, firing
    // time, ammunition (missiles), hot spot, the volley, the sound. A weapon
    // that cannot fire is refused before any of that.
    void Pull(Vector dir, Kind kind);

private:
    bool IsPlayers() const { return owner == GameObject::kPlayerName; }
    // The hot spot a pull would leave from: the next one when alternating.
    int FiringHotSpot() const;
    // Missiles only: false when the player's supply is short (nothing taken).
    bool TakeAmmo();
    // Centre projectile, then the fan turned +i, then -i steps about world up.
    void QueueVolley(Kind kind, const weapons::Muzzle& muzzle, const weapons::Launch& launch);
    GameObject Spawn(Kind kind, Vector v) const;
    GameObject Build(Kind kind, const weapons::Muzzle& muzzle, const weapons::Launch& launch) const;
};

class SimpleSpread : public Weapon {
public:
    SimpleSpread() = default;
    Weapon* Clone() const override;
    void Fire(Vector dir) override { Pull(dir, Kind::Shot); }
    void BeginHold() override {}
    void EndHold() override {}
};

class Missile : public Weapon {
public:
    Missile() = default;
    Weapon* Clone() const override;
    void Fire(Vector dir) override { Pull(dir, Kind::Missile); }
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
