// The rules of a hit, as pure functions over the objects and numbers they are
// given: which object of a contact is the projectile and which the target,
// how damage drains the shield before the hull and what the run's damage
// counters gain, and what a dead enemy drops. They touch no module, take no
// lock and play nothing; the in-game state's hit handling calls them with the
// object lock held and does the rest (sounds, effects, events, kills).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "geom/geom.h"

class BulletComp;
class ExplosionComp;
class GameObject;
class PickupComp;
class StatsComp;

namespace hit_rules {

// The samples of hits and explosions.
constexpr const char* kShieldHit1 = "sample_shield_hit1";  // a shot meets an object target
constexpr const char* kShieldHit2 = "sample_shield_hit2";  // the shield takes damage
constexpr const char* kShieldHit3 = "sample_shield_hit3";  // a shot meets level geometry, one in two
constexpr const char* kHullHit = "sample_hull_hit";
constexpr const char* kExplosionLong = "sample_explosion_long";
constexpr const char* kExplosionShort = "sample_explosion_short";

// The component slots that GameObject has no typed getter for; null when
// the object has no such component.
BulletComp* BulletOf(const GameObject& object);
ExplosionComp* ExplosionOf(const GameObject& object);
PickupComp* PickupOf(const GameObject& object);

// Seconds a damaged shield waits before it recharges.
constexpr double kShieldRechargeDelay = 5.0;

// counter + amount, summed in double (a float would lose whole units above
// 2^24), truncated toward zero and held within 0..UINT32_MAX instead of
// wrapping.
uint32_t AddToCounter(uint32_t counter, double amount);

// The player's damage sums, which the damage rule adds to.
struct DamageCounters {
    uint32_t& shield;
    uint32_t& armor;
};

// Applies `damage` to stats: while sp is above 0 the shield takes it and any
// shortfall passes to hp (sp then 0, hp truncated toward zero); otherwise hp
// takes it all. The recharge delay starts again. For the player
// (`isPlayer`) the damage is added to the counters, shield and armour apart.
// Returns the sample to play: kShieldHit2 when the shield was up, else
// kHullHit. hp never wraps: it holds at the int range's ends.
const char* ApplyDamage(StatsComp& stats, int32_t damage, bool isPlayer, DamageCounters counters);

// What a contact's two objects are to each other.
struct HitPair {
    enum Kind { None, Shot, Explosion };
    Kind kind = None;
    GameObject* projectile = nullptr;  // null when kind is None
    GameObject* target = nullptr;
    bool flipped = false;  // the projectile is the contact's A
    int32_t damage = 0;    // the shot's or the explosion's
};

// A target has a StatsComp or is a level object.
bool IsTarget(const GameObject& object);

// The roles of a contact of a (objA) and b (objB), the first that fits:
// a shot B on a target A; a shot A on a target B (flipped); and only when
// neither carries a BulletComp, the same two for an explosion. None
// otherwise (two shots, a shot and an explosion, nothing to hit).
HitPair ChooseHitPair(GameObject& a, GameObject& b);

// The contact's normal as the head-up display's hit indicator takes it: the
// normal points from A towards B, so x, y and z are negated when the pair is
// flipped; w stays as it was.
Vector IndicatorNormal(const Vector& contactNormal, bool flipped);

// A pickup dropped by a dead enemy: its name prefix and its pattern.
struct DropChoice {
    const char* prefix;
    const char* pattern;
};

// The drop for one draw of the project's generator (0..32767) at the death
// of the enemy named enemyName: enemies whose name begins with "M" drop
// ammunition with a chance of 13 %, all others health with 9 %; none else.
std::optional<DropChoice> ChooseDrop(const std::string& enemyName, int draw);

}  // namespace hit_rules
