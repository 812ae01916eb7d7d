// The per-frame upkeep: hit flashes count down, shots end on reaching the
// terrain with their ground effect and explosion, explosions live through
// exactly one sweep.
#include <string>
#include <vector>

#include "game_flow/hit_world.h"
#include "game_states/ingame_state.h"

namespace {

using namespace hit_world;
using Names = std::vector<std::string>;

class Upkeep : public HitWorld {
protected:
    void SetUp() override {
        HitWorld::SetUp();
        Objects().groundObject.pos = Vector(0, 10, 0);  // flat at height 10
    }
};

TEST_F(Upkeep, AShotEndsBelowHalfAUnitAboveTheGroundWithItsGroundEffect) {
    Add(Shot("high", 5, Vector(0, 10.5f, 0)));
    Add(Shot("low", 5, Vector(3, 10.49f, 0)));
    Add(Shot("under", 5, Vector(6, -50, 0)));
    hits::SweepProjectiles();
    EXPECT_FALSE(Live("high").isDead);
    EXPECT_TRUE(Live("low").isDead && Live("under").isDead);
    ASSERT_EQ(2u, Particles().emitters.size());
    for (const auto& effect : Particles().emitters)
        EXPECT_TRUE(effect->size == 4.0f && effect->position.y == 10.0f) << "on the ground, at " << effect->position.x;
    EXPECT_TRUE(Played().empty() && Behavior().pendingObjects.empty()) << "no splash, no explosion";
    hits::SweepProjectiles();
    EXPECT_EQ(2u, Particles().emitters.size()) << "the dead are passed over";
}

TEST_F(Upkeep, ASplashShotLeavesAnExplosionOnTheGroundAndAMissingSampleIsWarnedOnce) {
    Add(Shot("missile1", 25, Vector(1, 10.2f, 2), 15, 50.0f));
    hits::SweepProjectiles();
    EXPECT_EQ(Names{hit_rules::kExplosionShort}, Played());
    ASSERT_EQ(1u, layer.placements.size());
    EXPECT_EQ(10.0f, layer.placements[0].position[1]);
    ASSERT_EQ(1u, Behavior().pendingObjects.size());
    const GameObject& blast = Behavior().pendingObjects.front();
    EXPECT_TRUE(hit_rules::ExplosionOf(blast)->damage == 15 && hit_rules::ExplosionOf(blast)->radius == 50.0f);
    EXPECT_TRUE(blast.GetCollisionComp()->boundSphere.center.y == 10.0f &&
                blast.GetCollisionComp()->boundSphere.center.z == 2.0f);

    Store().DeleteResource(hit_rules::kExplosionShort);
    Add(Shot("missile2", 25, Vector(), 15, 50.0f));
    Add(Shot("missile3", 25, Vector(), 15, 50.0f));
    hits::SweepProjectiles();
    EXPECT_EQ(3u, Behavior().pendingObjects.size());
    EXPECT_EQ(1, log.Count("sound sample_explosion_short is not loaded")) << log.Text();
    EXPECT_FALSE(log.Has("has not been loaded")) << "the store's error path stays quiet";
}

TEST_F(Upkeep, FlashesCountDownToZeroAndExplosionsDieInTheirSecondSweep) {
    GameObject mech = Machine("MediumMech1", 40, 0.0f, Vector(0, 20, 0));
    mech.GetGraphicsComp()->flashFrames = 3;
    Add(mech);
    SpawnExplosion(10.0f, 15, Vector(0, 20, 0));
    ASSERT_EQ(1u, Behavior().pendingObjects.size());
    Add(Behavior().pendingObjects.front());
    const std::string blast = Behavior().pendingObjects.front().name;
    std::vector<int> flashes;
    std::vector<bool> alive;
    for (int sweep = 0; sweep < 4; ++sweep) {
        hits::SweepProjectiles();
        flashes.push_back(Live("MediumMech1").GetGraphicsComp()->flashFrames);
        alive.push_back(!Live(blast).isDead);
    }
    EXPECT_EQ((std::vector<int>{2, 1, 0, 0}), flashes);
    EXPECT_EQ((std::vector<bool>{true, false, false, false}), alive);
}

}  // namespace
