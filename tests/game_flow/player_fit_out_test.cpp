// The loader's fitting-out of the player, without a window: every setting it
// gives, the weapons it replaces freed, a foot that exists already set rather
// than doubled, and a player it cannot play left untouched.
#include <gtest/gtest.h>

#include "aistuff/live_world.h"
#include "game_flow/fitted_out.h"
#include "game_logic/player_fit_out.h"
#include "objects/components.h"

namespace {

using namespace live_world;
using flow_test::Disturb;
using flow_test::ExpectFittedOut;

// Counts its destructions, so a test sees a replaced weapon freed.
class CountedWeapon : public SimpleSpread {
public:
    ~CountedWeapon() override { ++freed; }
    Weapon* Clone() const override { return new CountedWeapon(*this); }
    static inline int freed = 0;
};

GameLogic& Game() { return *Module<GameLogic>::Instance(); }

class PlayerFitOut : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Init();
        Objects().Init();
        ClearObjects();
    }
    void TearDown() override {
        ClearObjects();
        Events().Kill();
    }

    static GameObject Player(bool collision, bool weapons, bool stats) {
        GameObject player("player");
        if (collision) player.AttachComponent(CollisionComp());
        if (weapons) {
            WeaponComp held;
            held.primary = new CountedWeapon();
            held.secondary = new CountedWeapon();
            player.AttachComponent(held);
        }
        if (stats) player.AttachComponent(StatsComp());
        return player;
    }

    test_support::LogCapture log;
};

TEST_F(PlayerFitOut, EverySettingIsGivenAndTheWeaponsHeldBeforeAreFreed) {
    Add(Player(true, true, true));
    Disturb(Game());
    CountedWeapon::freed = 0;
    std::string missing;
    ASSERT_TRUE(FitOutPlayer(Game(), missing)) << missing;
    EXPECT_EQ(CountedWeapon::freed, 2);
    ExpectFittedOut(Game());
}

// A foot the script or an earlier load made keeps its own bits and is set,
// not given a second component or registered twice.
TEST_F(PlayerFitOut, AFootThatExistsIsSetNotDoubled) {
    Add(Player(true, true, true));
    GameObject foot("playerFoot");
    CollisionComp ownCollision;
    ownCollision.category = 1;
    foot.AttachComponent(ownCollision);
    Add(foot);
    std::string missing;
    ASSERT_TRUE(FitOutPlayer(Game(), missing));
    ASSERT_TRUE(FitOutPlayer(Game(), missing));
    EXPECT_FALSE(log.Has("duplicate")) << log.Text();
    ExpectFittedOut(Game());
    EXPECT_EQ(Live("playerFoot").GetCollisionComp()->category, 1u | 16u);
}

TEST_F(PlayerFitOut, APlayerThatCannotBePlayedIsNamedAndLeftAlone) {
    struct Case {
        bool exists, collision, weapons, stats;
        const char* missing;
    };
    const Case cases[] = {
        {false, true, true, true, "no \"player\" object"},
        {true, false, true, true, "\"player\" has no CollisionComp"},
        {true, true, false, true, "\"player\" has no WeaponComp"},
        {true, true, true, false, "\"player\" has no StatsComp"},
        {true, true, false, false, "\"player\" has no WeaponComp StatsComp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        ClearObjects();
        if (c.exists) Add(Player(c.collision, c.weapons, c.stats));
        Game().hoverHeight = 3.0f;
        std::string missing;
        EXPECT_FALSE(FitOutPlayer(Game(), missing));
        EXPECT_EQ(missing, c.missing);
        EXPECT_FALSE(Has("playerFoot"));
        EXPECT_FLOAT_EQ(Game().hoverHeight, 3.0f);
    }
}

}  // namespace
