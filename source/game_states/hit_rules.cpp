// The pure rules of a hit: roles, damage and drops.
#include "game_states/hit_rules.h"

#include <cmath>
#include <limits>

#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "objects/world_comps.h"
#include "platform/random.h"
#include "xml_file/text_numbers.h"

namespace hit_rules {

namespace {

constexpr double kAmmoDropChance = 0.13;
constexpr double kHealthDropChance = 0.09;
constexpr DropChoice kAmmoDrop{"PickupAmmo", "Pickup Ammo"};
constexpr DropChoice kHealthDrop{"PickupHealth", "Pickup Health"};

HitPair MakePair(HitPair::Kind kind, GameObject& projectile, GameObject& target, bool flipped,
                 int32_t damage) {
    HitPair pair;
    pair.kind = kind;
    pair.projectile = &projectile;
    pair.target = &target;
    pair.flipped = flipped;
    pair.damage = damage;
    return pair;
}

}  // namespace

BulletComp* BulletOf(const GameObject& object) {
    return static_cast<BulletComp*>(object.GetComponent(CompIndex::Bullet));
}

ExplosionComp* ExplosionOf(const GameObject& object) {
    return static_cast<ExplosionComp*>(object.GetComponent(CompIndex::Explosion));
}

PickupComp* PickupOf(const GameObject& object) {
    return static_cast<PickupComp*>(object.GetComponent(CompIndex::Pickup));
}

uint32_t AddToCounter(uint32_t counter, double amount) {
    const double sum = static_cast<double>(counter) + amount;
    constexpr double high = std::numeric_limits<uint32_t>::max();
    if (!(sum > 0.0)) return 0;  // also a sum that is not a number
    if (sum >= high) return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(sum);
}

const char* ApplyDamage(StatsComp& stats, int32_t damage, bool isPlayer, DamageCounters counters) {
    const char* sample = kHullHit;
    if (stats.sp > 0.0f) {
        sample = kShieldHit2;
        stats.sp -= static_cast<float>(damage);
        if (stats.sp >= 0.0f) {
            if (isPlayer) counters.shield = AddToCounter(counters.shield, damage);
        } else {
            const double shortfall = -static_cast<double>(stats.sp);
            if (isPlayer) {
                counters.armor = AddToCounter(counters.armor, shortfall);
                counters.shield = AddToCounter(counters.shield, damage - shortfall);
            }
            stats.hp = TruncateToInt(stats.hp + static_cast<double>(stats.sp));
            stats.sp = 0.0f;
        }
    } else {
        stats.hp = TruncateToInt(static_cast<double>(stats.hp) - damage);
        if (isPlayer) counters.armor = AddToCounter(counters.armor, damage);
    }
    stats.shieldRechargeDelay = kShieldRechargeDelay;
    return sample;
}

bool IsTarget(const GameObject& object) { return object.isLevelObject || object.GetStatsComp(); }

HitPair ChooseHitPair(GameObject& a, GameObject& b) {
    const BulletComp* shotA = BulletOf(a);
    const BulletComp* shotB = BulletOf(b);
    if (shotB && IsTarget(a)) return MakePair(HitPair::Shot, b, a, false, shotB->damage);
    if (shotA && IsTarget(b)) return MakePair(HitPair::Shot, a, b, true, shotA->damage);
    if (shotA || shotB) return HitPair();
    const ExplosionComp* blastA = ExplosionOf(a);
    const ExplosionComp* blastB = ExplosionOf(b);
    if (blastB && IsTarget(a)) return MakePair(HitPair::Explosion, b, a, false, blastB->damage);
    if (blastA && IsTarget(b)) return MakePair(HitPair::Explosion, a, b, true, blastA->damage);
    return HitPair();
}

Vector IndicatorNormal(const Vector& contactNormal, bool flipped) {
    if (!flipped) return contactNormal;
    return Vector(-contactNormal.x, -contactNormal.y, -contactNormal.z, contactNormal.w);
}

std::optional<DropChoice> ChooseDrop(const std::string& enemyName, int draw) {
    const double r = draw / static_cast<double>(platform::kRandMax);
    if (!enemyName.empty() && enemyName[0] == 'M') {
        if (r < kAmmoDropChance) return kAmmoDrop;
    } else if (r < kHealthDropChance) {
        return kHealthDrop;
    }
    return std::nullopt;
}

}  // namespace hit_rules
