// The pure rules of a hit: the shield before the hull with the player's
// damage counters, the roles of a contact's two objects, and the drops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "game_states/hit_rules.h"
#include "objects/components.h"
#include "objects/game_object.h"

namespace {

using hit_rules::HitPair;

struct DamageRow {
    int32_t damage;
    float sp;
    int32_t hp;
    int32_t hpAfter;
    uint32_t shieldGain, armorGain;
    const char* sample;
};

TEST(HitRules, ShieldTakesDamageBeforeTheHullAndThePlayersCountersFollow) {
    const DamageRow rows[] = {
        {30, 20.0f, 100, 90, 20, 10, hit_rules::kShieldHit2},
        {5, 2.5f, 10, 7, 2, 2, hit_rules::kShieldHit2},  // each counter truncated
        {7, 0.0f, 50, 43, 0, 7, hit_rules::kHullHit},
        {20, 20.0f, 100, 100, 20, 0, hit_rules::kShieldHit2},
        {3, 0.5f, 1, -1, 0, 2, hit_rules::kShieldHit2},  // 1 - 2.5 toward zero
        {4, -2.0f, 3, -1, 0, 4, hit_rules::kHullHit},
    };
    for (const DamageRow& row : rows) {
        for (const bool isPlayer : {true, false}) {
            const std::string where = std::to_string(row.damage) + " on " + std::to_string(row.sp) + "/" +
                                      std::to_string(row.hp) + (isPlayer ? " (player)" : "");
            StatsComp stats;
            stats.sp = row.sp;
            stats.hp = row.hp;
            uint32_t shield = 100, armor = 200;
            EXPECT_STREQ(row.sample, hit_rules::ApplyDamage(stats, row.damage, isPlayer, {shield, armor})) << where;
            EXPECT_EQ(row.sp > 0.0f ? std::max(0.0f, row.sp - row.damage) : row.sp, stats.sp) << where;
            EXPECT_EQ(row.hpAfter, stats.hp) << where;
            EXPECT_EQ(isPlayer ? 100 + row.shieldGain : 100u, shield) << where;
            EXPECT_EQ(isPlayer ? 200 + row.armorGain : 200u, armor) << where;
            EXPECT_EQ(5.0, stats.shieldRechargeDelay) << where;
        }
    }
}

TEST(HitRules, CountersAndHullSaturateInsteadOfWrapping) {
    constexpr uint32_t top = std::numeric_limits<uint32_t>::max();
    EXPECT_EQ(16777217u, hit_rules::AddToCounter(16777216u, 1.0)) << "a float sum would stay at 2^24";
    EXPECT_EQ(top, hit_rules::AddToCounter(top - 3, 10.5));
    EXPECT_EQ(0u, hit_rules::AddToCounter(3, -10.0));

    StatsComp stats;
    stats.hp = std::numeric_limits<int32_t>::min() + 5;
    uint32_t shield = 0, armor = top - 1;
    hit_rules::ApplyDamage(stats, std::numeric_limits<int32_t>::max(), true, {shield, armor});
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), stats.hp);
    EXPECT_EQ(top, armor);
}

// The objects a contact can bring together.
GameObject Make(char kind) {
    GameObject object(std::string(1, kind));
    if (kind == 'S') {  // a shot
        BulletComp bullet;
        bullet.damage = 10;
        object.AttachComponent(bullet);
    } else if (kind == 'E') {  // an explosion
        ExplosionComp explosion;
        explosion.damage = 15;
        object.AttachComponent(explosion);
    } else if (kind == 'T') {  // an object target
        object.AttachComponent(StatsComp());
    } else if (kind == 'L') {  // level geometry
        object.isLevelObject = true;
    }
    return object;
}

TEST(HitRules, PairRolesPreferShotsAndFlipWhenTheProjectileIsA) {
    struct Row {
        const char* ab;  // objA, objB
        HitPair::Kind kind;
        char projectile;
        bool flipped;
        int32_t damage;
    };
    const Row rows[] = {
        {"TS", HitPair::Shot, 'S', false, 10},      {"ST", HitPair::Shot, 'S', true, 10},
        {"TE", HitPair::Explosion, 'E', false, 15}, {"ET", HitPair::Explosion, 'E', true, 15},
        {"SL", HitPair::Shot, 'S', true, 10},       {"LE", HitPair::Explosion, 'E', false, 15},
        {"SS", HitPair::None, 0, false, 0},         {"SE", HitPair::None, 0, false, 0},
        {"ES", HitPair::None, 0, false, 0},         {"SP", HitPair::None, 0, false, 0},
        {"EE", HitPair::None, 0, false, 0},         {"TT", HitPair::None, 0, false, 0},
    };
    for (const Row& row : rows) {
        GameObject a = Make(row.ab[0]), b = Make(row.ab[1]);
        const HitPair pair = hit_rules::ChooseHitPair(a, b);
        EXPECT_EQ(row.kind, pair.kind) << row.ab;
        if (row.kind == HitPair::None) continue;
        EXPECT_EQ(std::string(1, row.projectile), pair.projectile->name) << row.ab;
        EXPECT_EQ(row.flipped ? &b : &a, pair.target) << row.ab;
        EXPECT_EQ(row.flipped, pair.flipped) << row.ab;
        EXPECT_EQ(row.damage, pair.damage) << row.ab;
    }
    const Vector normal(0.6f, -0.8f, 0.0f, 0.25f);
    const Vector same = hit_rules::IndicatorNormal(normal, false);
    const Vector turned = hit_rules::IndicatorNormal(normal, true);
    EXPECT_TRUE(same.x == 0.6f && same.y == -0.8f && same.z == 0.0f && same.w == 0.25f);
    EXPECT_TRUE(turned.x == -0.6f && turned.y == 0.8f && turned.z == 0.0f && turned.w == 0.25f);
}

TEST(HitRules, MechsDropAmmunitionAtThirteenPercentAndOthersHealthAtNine) {
    struct Row {
        const char* name;
        int draw;
        const char* pattern;  // null: no drop
    };
    const Row rows[] = {
        {"MediumMech7", 4259, "Pickup Ammo"}, {"MediumMech7", 4260, nullptr},
        {"HeavyMech2", 2949, "Pickup Health"}, {"HeavyMech2", 2950, nullptr},
        {"HeavyMech2", 0, "Pickup Health"},    {"MediumMechSuper1", 0, "Pickup Ammo"},
        {"mech", 100, "Pickup Health"},        {"", 100, "Pickup Health"},
    };
    for (const Row& row : rows) {
        const auto drop = hit_rules::ChooseDrop(row.name, row.draw);
        ASSERT_EQ(row.pattern != nullptr, drop.has_value()) << row.name << " " << row.draw;
        if (!drop) continue;
        EXPECT_STREQ(row.pattern, drop->pattern);
        EXPECT_STREQ(row.pattern[7] == 'A' ? "PickupAmmo" : "PickupHealth", drop->prefix);
    }
}

}  // namespace
