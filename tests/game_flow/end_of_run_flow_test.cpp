// A run's end through the real stack, states and level loads: the player's
// death on level one and the game-over screen's two ways out.
#include <gtest/gtest.h>

#include "game_flow/ingame_play.h"
#include "game_states/end_of_level_states.h"
#include "game_states/menu_messages.h"
#include "game_states/title_state.h"

namespace game_flow_test {
namespace {

class EndOfRunFlow : public IngamePlay {
protected:
    void SetUp() override {
        IngamePlay::SetUp();
        Logic().ChangeState(TitleState());
        ASSERT_TRUE(StartGame()) << log.Text();
    }
    // The title's "Start Game" button, then frames until play begins.
    bool StartGame() {
        const int before = loads;
        Post(MenuMessage::kEnterGame);
        return RunUntil([&] { return Ingame() && Logic().loadingDone && loads == before + 2 && !InFlight(); });
    }
    template <class State>
    static State* Top() {
        return dynamic_cast<State*>(Logic().TopState());
    }
    static void KillPlayer() {
        ObjectLock lock;
        Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp()->hp = 0;
    }
    void SetStatistics() {
        GameLogic& logic = Logic();
        logic.enemiesKilled = 3, logic.shotsFired = 10, logic.shotsHit = 4;
        logic.damageShield = 50, logic.damageArmor = 20;
    }
    static bool StatisticsCleared() {
        const GameLogic& logic = Logic();
        return logic.enemiesKilled == 0 && logic.shotsFired == 0 && logic.shotsHit == 0 &&
               logic.damageShield == 0 && logic.damageArmor == 0;
    }
    // Dies and waits for the game-over screen over the level.
    void DieOnLevelOne() {
        SetStatistics();
        KillPlayer();
        ASSERT_TRUE(RunUntil([] { return Top<GameOverState>() != nullptr; }, 200));
        EXPECT_EQ(3u, Logic().StateCount()) << "title, in-game, game over";
        EXPECT_FALSE(StatisticsCleared()) << "shown, not yet cleared";
    }
};

TEST_F(EndOfRunFlow, RetryAfterADeathReloadsTheLevelWithFreshStatistics) {
    DieOnLevelOne();
    const size_t mark = posted.size();
    Post(MenuMessage::kEnterGame);
    ASSERT_TRUE(RunUntil([this] { return Ingame() && Logic().loadingDone && loads == 3 && !InFlight(); }));
    Frames(5);
    EXPECT_EQ((std::vector<std::string>{"pop", "push 8", "load", "pop"}), StackMessages(mark));
    EXPECT_TRUE(StatisticsCleared());
    EXPECT_FALSE(Logic().playerDied);
    EXPECT_EQ("level1", Logic().levelName);
    EXPECT_EQ(3, loads);
}

TEST_F(EndOfRunFlow, ReturnToTitleReachesTheTitleAfterTheReloadBehindIt) {
    DieOnLevelOne();
    const size_t mark = posted.size();
    Post(MenuMessage::kEnterTitle);
    ASSERT_TRUE(RunUntil([this] { return Top<TitleState>() && !InFlight() && loads == 3; }));
    Frames(5);
    // The first pop uncovers the level, whose Init starts its reload; the
    // second pop then leaves the title, which the cut-scene covers until
    // that load is handed over.
    EXPECT_EQ((std::vector<std::string>{"pop", "pop", "push 8", "load", "pop"}), StackMessages(mark));
    EXPECT_EQ(1u, Logic().StateCount());
    EXPECT_NE(nullptr, Top<TitleState>());
    EXPECT_FALSE(Logic().titleRequested) << "consumed by the uncovered level";
    EXPECT_TRUE(StatisticsCleared());
    EXPECT_EQ(3, loads);

    ASSERT_TRUE(StartGame()) << "a new game loads level one as the first one did";
    EXPECT_EQ(5, loads);
}

}  // namespace
}  // namespace game_flow_test
