// A run's end through the real stack, states and level loads: the player's
// death on level one and the game-over screen's two ways out; the levels won
// one after the other, level three's choice, endless play and its end, the
// name stored, the credits and a new game.
#include <gtest/gtest.h>

#include <algorithm>

#include "game_flow/ingame_play.h"
#include "game_states/credits_state.h"
#include "game_states/end_of_level_states.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/level_states.h"
#include "game_states/menu_messages.h"
#include "game_states/score_state.h"
#include "game_states/title_state.h"
#include "support/temp_folder.h"

namespace game_flow_test {
namespace {

class EndOfRunFlow : public IngamePlay {
protected:
    void SetUp() override {
        IngamePlay::SetUp();
        // The high scores of this test's own file, not the shared profile's.
        Module<InterfaceManager>::Instance()->scoreList = ScoreList(scores.Path() + "/score.bin");
        Module<InterfaceManager>::Instance()->scoreList.Init();
        Logic().ChangeState(TitleState());
        ASSERT_TRUE(StartGame()) << log.Text();
    }
    // The title's "Start Game" button, then frames until play begins.
    // Records how many loads were ever asked for and not yet handed over.
    bool StartGame() {
        const int before = loads;
        Post(MenuMessage::kEnterGame);
        return RunUntil([&] {
            mostInFlight = std::max(mostInFlight, loads - handedOver);
            return Ingame() && Logic().loadingDone && loads == before + 2 && !InFlight();
        });
    }
    int mostInFlight = 0;
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
    // Frames until play runs on `level`, loaded and handed over.
    bool PlayingOn(const std::string& level) {
        return RunUntil([&] {
            return Ingame() && Logic().loadingDone && !InFlight() && Logic().levelName == level &&
                   Ingame()->CurrentLevel().levelName == level;
        });
    }
    static void MovePlayer(float x, float z) {
        ObjectLock lock;
        GameObject& player = *Objects().GetGameObject(GameObject::kPlayerName);
        player.trans.x = x;
        player.trans.z = z;
    }
    // Every enemy of the level's waves destroyed, one a frame, until the
    // state of type State covers the level.
    template <class State>
    bool ClearWavesUntil() {
        return RunUntil(
            [this] {
                if (Top<State>()) return true;
                // No more deaths than enemies: a surplus would carry over.
                if (Ingame() && Ingame()->CurrentLevel().liveEnemies > 0) Post(kEnemyDeathEvent);
                return false;
            },
            400);
    }
    // Level one and level two won, level three entered and its seven waves
    // cleared: the choice covers the level.
    void ReachTheChoice() {
        ASSERT_TRUE(ClearWavesUntil<WinState>());
        Post(MenuMessage::kEnterGame);
        ASSERT_TRUE(PlayingOn("level2"));
        MovePlayer(0.0f, 1500.0f);  // beyond the shaft's goal
        ASSERT_TRUE(RunUntil([] { return Top<WinState>() != nullptr; }, 10));
        Post(MenuMessage::kEnterGame);
        ASSERT_TRUE(PlayingOn("level3"));
        MovePlayer(0.0f, 1000.0f);  // into the arena
        Frame();
        ASSERT_TRUE(ClearWavesUntil<EndlessModeStartState>());
        EXPECT_EQ(3u, Logic().StateCount()) << "title, in-game, choice";
    }
    std::vector<std::string> WaveLines(size_t from) const {
        std::vector<std::string> lines;
        for (size_t i = from; i < posted.size(); ++i)
            if (posted[i].type == InterfaceManager::kWaveCountMessage) lines.push_back(posted[i].waveLine);
        return lines;
    }
    // The stack from the bottom, by the states' kinds.
    static std::vector<std::string> Stack() {
        std::vector<std::string> kinds;
        for (size_t i = 0; i < Logic().StateCount(); ++i) {
            const GameState* state = Logic().StateAt(i);
            kinds.push_back(dynamic_cast<const TitleState*>(state)     ? "title"
                            : dynamic_cast<const CreditsState*>(state) ? "credits"
                            : dynamic_cast<const ScoreState*>(state)   ? "score"
                            : dynamic_cast<const WinState*>(state)     ? "win"
                            : dynamic_cast<const IngameState*>(state)  ? "in-game"
                                                                       : "other");
        }
        return kinds;
    }

    test_support::TempFolder scores;
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
    Sys().shaderModel4 = true;  // instanced drawing, whose lists follow each load
    Objects().instanceBufferList.clear();
    Post(MenuMessage::kEnterTitle);
    ASSERT_TRUE(RunUntil([this] { return Top<TitleState>() && !InFlight() && loads == 3; }));
    Frames(5);
    Sys().shaderModel4 = false;
    EXPECT_FALSE(Objects().instanceBufferList.empty()) << "the reloaded level's instance lists were not built";
    // The first pop uncovers the level, whose Init starts its reload; the
    // second pop then leaves the title on top, over that load: no cut-scene
    // covers the title, so none uncovers it (announcing it again) later.
    EXPECT_EQ((std::vector<std::string>{"pop", "pop", "load"}), StackMessages(mark));
    const auto left = std::find_if(posted.begin() + long(mark), posted.end(),
                                   [](const Posted& p) { return p.type == MenuMessage::kEnterTitle; });
    const auto screens = std::count_if(left, posted.end(),
                                       [](const Posted& p) { return p.type == InterfaceManager::kStateChange; });
    EXPECT_EQ(2, screens) << "the level's screen, then the title's once";
    EXPECT_EQ(1u, Logic().StateCount());
    EXPECT_NE(nullptr, Top<TitleState>());
    EXPECT_FALSE(Logic().titleRequested) << "consumed by the uncovered level";
    EXPECT_TRUE(StatisticsCleared());
    EXPECT_EQ(3, loads);

    ASSERT_TRUE(StartGame()) << "a new game loads level one as the first one did";
    EXPECT_EQ(5, loads);
}

// "Start Game" clicked on the title while the level still reloads behind it
// starts the game once that load is in.
TEST_F(EndOfRunFlow, AGameStartedWhileTheLevelReloadsBehindTheTitleStartsOnceItIsIn) {
    DieOnLevelOne();
    Post(MenuMessage::kEnterTitle);
    ASSERT_TRUE(RunUntil([this] {
        const std::vector<std::string> stack = Stack();
        return InFlight() && std::find(stack.begin(), stack.end(), "in-game") == stack.end();
    }));
    ASSERT_EQ(3, loads);
    ASSERT_TRUE(StartGame()) << "the click was lost";
    EXPECT_EQ(5, loads);
}

TEST_F(EndOfRunFlow, LevelOnesEndShowsTheWinScreenAndContinueLoadsLevelTwoWithFreshStatistics) {
    SetStatistics();
    ASSERT_TRUE(ClearWavesUntil<WinState>());
    EXPECT_EQ((std::vector<std::string>{"title", "in-game", "win"}), Stack());
    EXPECT_TRUE(Logic().levelComplete);
    EXPECT_EQ(3u, Logic().enemiesKilled) << "shown on the win screen";
    const int before = loads;
    Post(MenuMessage::kEnterGame);
    ASSERT_TRUE(PlayingOn("level2"));
    EXPECT_EQ(before + 1, loads) << "one load, of the next level";
    EXPECT_TRUE(StatisticsCleared()) << "level two counts from zero";
    EXPECT_FALSE(Logic().levelComplete);
}

TEST_F(EndOfRunFlow, InfiniteModeGoesBackToTheLevelWhoseNextWaveIsTheFirstEndlessOne) {
    ReachTheChoice();
    const size_t mark = posted.size();
    Post(EndlessModeStartState::kInfiniteMode);
    Frame();
    EXPECT_TRUE(Logic().endlessMode);
    EXPECT_NE(nullptr, Top<EndlessModeStartState>()) << "the pop takes effect at the next update";
    Frame();
    EXPECT_EQ(std::vector<std::string>{"pop"}, StackMessages(mark));
    ASSERT_NE(nullptr, Ingame());
    EXPECT_EQ(12, Ingame()->CurrentLevel().liveEnemies) << "7 medium and 5 heavy, released in that frame";
    Frame();  // what a frame posts is seen in the next
    const std::vector<std::string> lines = WaveLines(mark);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("8 of infinite", lines.back()) << "after the line cleared when the choice came up";
}

TEST_F(EndOfRunFlow, StopNowStacksTheCreditsTheScoresAndTheWinScreenOnTop) {
    ReachTheChoice();
    SetStatistics();
    const int before = loads;
    Post(EndlessModeStartState::kStopNow);
    Frames(2);
    EXPECT_EQ((std::vector<std::string>{"title", "credits", "score", "win"}), Stack());
    EXPECT_TRUE(log.Has("player won"));
    EXPECT_EQ(before, loads);
    EXPECT_FALSE(StatisticsCleared()) << "kept for the score screen";
}

// Endless play ends at the player's death as a win; the run beats the table,
// the name is stored, then the credits, the title and a new game.
TEST_F(EndOfRunFlow, ADeathInEndlessPlayEndsAsAWinThroughTheScoresAndCreditsToANewGame) {
    ReachTheChoice();
    Post(EndlessModeStartState::kInfiniteMode);
    Frames(2);
    ScoreList& table = Module<InterfaceManager>::Instance()->scoreList;
    SetStatistics();
    Logic().enemiesKilled = table.entries.back().kills + 1;
    KillPlayer();
    ASSERT_TRUE(RunUntil([] { return Top<WinState>() != nullptr; }, 200));
    EXPECT_EQ((std::vector<std::string>{"title", "credits", "score", "win"}), Stack());
    EXPECT_EQ(0, CountPosted(GameLogic::kPushState, GameStateName::GameOver));

    Post(MenuMessage::kEnterGame);  // the win screen's "Continue"
    ASSERT_TRUE(RunUntil([] { return Top<ScoreState>() != nullptr; }, 5));
    EXPECT_FALSE(StatisticsCleared()) << "the last level's statistics reach the score screen";
    Event name("Text Box", addressee::kGameLogic, InterfaceManager::kUpdateScoreList);
    name.SetParam<std::string>(InterfaceManager::kParamName, "Ada");
    Module<EventManager>::Instance()->PublishEvent(name);
    Frame();
    EXPECT_TRUE(StatisticsCleared());
    ScoreList reread(table.path);
    reread.Init();
    int stored = 0;
    for (const ScoreEntry& entry : reread.entries) stored += entry.name == "Ada" && entry.accuracy == 40;
    EXPECT_EQ(1, stored);

    Post(MenuMessage::kEnterGame);  // the score screen's "Continue"
    ASSERT_TRUE(RunUntil([] { return Top<CreditsState>() != nullptr; }, 5));
    Post(MenuMessage::kEnterTitle);  // a click anywhere on the credits
    ASSERT_TRUE(RunUntil([] { return Top<TitleState>() != nullptr; }, 5));
    EXPECT_EQ(1u, Logic().StateCount());

    const int before = loads;
    const size_t mark = posted.size();
    mostInFlight = 0;
    ASSERT_TRUE(StartGame()) << log.Text();
    EXPECT_EQ(before + 2, loads) << "level one loaded as in the first game";
    EXPECT_EQ((std::vector<std::string>{"push 3", "push 8", "load", "pop", "push 8", "load", "pop"}),
              StackMessages(mark));
    EXPECT_EQ("level1", Logic().levelName);
    EXPECT_FALSE(Logic().endlessMode || Logic().titleRequested);
    EXPECT_EQ(1, mostInFlight) << "never two loads at once";
}

}  // namespace
}  // namespace game_flow_test
