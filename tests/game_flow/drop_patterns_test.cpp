// Drops stamped from the game's own pickup patterns, and what a drop does
// while those patterns are not there.
#include <string>

#include "game_flow/hit_world.h"
#include "platform/random.h"

namespace {

using namespace hit_world;

class Drops : public HitWorld {
protected:
    // A MediumMech at `at` killed by one shot, the drop's draw below 13 %.
    void KillMechThatDrops(const std::string& name, const Vector& at) {
        for (unsigned seed = 1;; ++seed) {
            platform::SeedRandom(seed);
            if (platform::Rand() >= 4259) continue;
            platform::SeedRandom(seed);
            break;
        }
        GameObject mech = Machine(name, 1, 0.0f, at);
        mech.GetStatsComp()->deathEffect = Effect(1.0f, kNoEffect);
        GameObject shot = Shot(name + "Shot", 10, at);
        hit_rules::BulletOf(shot)->mechEffect = Effect(1.0f, kNoEffect);
        Touch(Add(mech), Add(shot));
    }
    // The one registered object whose name begins with the prefix, or null.
    static const GameObject* Dropped(const std::string& prefix) {
        ObjectLock lock(Objects());
        const GameObject* found = nullptr;
        for (const auto& entry : Objects().gameObjectList)
            if (entry.second.name.rfind(prefix, 0) == 0) found = &entry.second;
        return found;
    }
};

// One test, in this order: the patterns can be added to the store but never
// taken out of it again.
TEST_F(Drops, WithoutItsPatternNothingStaysAndWithItAPickupLandsAboveTheEnemy) {
    KillMechThatDrops("MediumMech1", Vector(10, 20, 30));
    EXPECT_TRUE(log.Has("unknown object pattern")) << log.Text();
    const GameObject* refused = Dropped("PickupAmmo");
    EXPECT_TRUE(!refused || refused->isDead);
    {
        ObjectLock lock(Objects());
        Objects().RemoveDeadGameObjects();
    }
    EXPECT_EQ(nullptr, Dropped("PickupAmmo")) << "no empty object stays";

    Store().LoadObjectPatterns("resource/objectPatterns.xml");
    KillMechThatDrops("MediumMech2", Vector(10, 20, 30));
    const GameObject* drop = Dropped("PickupAmmo");
    ASSERT_NE(nullptr, drop);
    EXPECT_FALSE(drop->isDead);
    EXPECT_TRUE(drop->trans.x == 10.0f && drop->trans.y == 25.0f && drop->trans.z == 30.0f && drop->trans.w == 1.0f);
    ASSERT_NE(nullptr, hit_rules::PickupOf(*drop));
    EXPECT_EQ(PickupComp::kAmmo, hit_rules::PickupOf(*drop)->kind);
}

}  // namespace
