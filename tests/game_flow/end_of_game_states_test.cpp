// The states that end a level or the game: the statistics lines of the win
// and game-over screens, what those states clear when they are left, the
// messages they answer, and the endless-mode choice.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "event_manager.h"
#include "game_logic.h"
#include "game_states/end_of_level_states.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/menu_messages.h"
#include "game_states/run_statistics.h"
#include "interface_manager.h"
#include "support/log_capture.h"

namespace {

struct Statistics {
    uint32_t kills, shield, armor, fired, hit;
};

class EndOfGame : public ::testing::Test {
protected:
    EndOfGame() {
        Drain("GameLogic");
        Drain("InterfaceManager");
        game.ResetStatistics();
        game.titleRequested = false;
        game.playerDied = false;
        game.endlessMode = false;
        game.levelName = "level1";
    }
    static std::deque<Event> Drain(const char* client) {
        return Module<EventManager>::Instance()->PollEvents(client);
    }
    static std::vector<std::string> Types(const std::deque<Event>& events) {
        std::vector<std::string> types;
        for (const Event& event : events) types.push_back(event.eventType);
        return types;
    }
    void Set(const Statistics& s) {
        game.enemiesKilled = s.kills, game.damageShield = s.shield, game.damageArmor = s.armor;
        game.shotsFired = s.fired, game.shotsHit = s.hit;
    }
    bool Cleared() const {
        return game.enemiesKilled == 0 && game.damageShield == 0 && game.damageArmor == 0 &&
               game.shotsFired == 0 && game.shotsHit == 0;
    }

    GameLogic& game = *Module<GameLogic>::Instance();
};

const std::string kPad = "                 ";  // a six-character label padded to 23

// One table over the counters: the eight lines' texts under their padded
// labels, and for every row the lines' keys, places and shared look.
TEST_F(EndOfGame, StatisticsLinesShowTheCountersUnderTheirLabelsInTheirPlaces) {
    struct Row {
        Statistics stats;
        std::string kills, shield, armor, total, fired, hit, accuracy;
    };
    const Row rows[] = {
        {{0, 0, 0, 0, 0}, "0", "0", "0", "0", "0", "0", "N/A"},
        {{12, 120, 35, 4, 3}, "12", "120", "35", "155", "4", "3", "75%"},
        {{1, 0, 7, 3, 1}, "1", "0", "7", "7", "3", "1", "33%"},
        {{29, 1, 1, 100, 29}, "29", "1", "1", "2", "100", "29", "28%"},
        {{2, 0, 0, 4, 5}, "2", "0", "0", "0", "4", "5", "100%"},
        {{4294967295u, 4294967295u, 1, 4294967295u, 4294967295u}, "4294967295", "4294967295", "1",
         "4294967296", "4294967295", "4294967295", "100%"},
    };
    const char* const keys[] = {"kills",       "damage taken", "damage shield", "damage armor",
                                "damage total", "shots fired", "shots hit",     "accuracy"};
    const float places[][2] = {{0.1f, 0.8f},  {0.2f, 0.7f}, {0.1f, 0.65f}, {0.1f, 0.6f},
                               {0.1f, 0.55f}, {0.1f, 0.45f}, {0.1f, 0.4f}, {0.1f, 0.35f}};
    for (const Row& row : rows) {
        Set(row.stats);
        const std::vector<GMessage> lines = StatisticsLines(game);
        ASSERT_EQ(lines.size(), 8u);
        const std::vector<std::string> texts = {
            "Enemy Units Destroyed: " + row.kills, "Damage Taken",
            "Shield:" + std::string(16, ' ') + row.shield, "Armor:" + kPad + row.armor,
            "Total:" + kPad + row.total, "Shots Fired:" + std::string(11, ' ') + row.fired,
            "Shots Hit:" + std::string(13, ' ') + row.hit, "Accuracy:" + std::string(14, ' ') + row.accuracy,
        };
        for (size_t i = 0; i < lines.size(); ++i) {
            const GMessage& line = lines[i];
            EXPECT_EQ(line.text, texts[i]) << "line " << i;
            EXPECT_EQ(line.key, keys[i]);
            EXPECT_TRUE(line.position.x == places[i][0] && line.position.y == places[i][1] &&
                        line.position.z == 0.0f && line.position.w == 0.0f)
                << line.key;
            EXPECT_TRUE(line.color.x == 1.0f && line.color.y == 1.0f && line.color.z == 1.0f && line.color.w == 1.0f);
            EXPECT_TRUE(line.typeOut && line.persistent) << line.key;
            EXPECT_TRUE(line.letterTime == 0.0125f && line.displayTime == 4.0f && line.scale == 1.0f) << line.key;
        }
    }
}

// Win clears old lines first; game over does not. Then the screen, then the
// eight lines, all from "GameLogic".
TEST_F(EndOfGame, InitAnnouncesTheScreenAndItsEightLines) {
    struct Case {
        GameState* state;
        bool deletesLines;
        InterfaceState::Type screen;
    };
    WinState win;
    GameOverState gameOver;
    for (const Case& c : {Case{&win, true, InterfaceState::Win}, Case{&gameOver, false, InterfaceState::GameOver}}) {
        Set({3, 0, 0, 4, 3});
        c.state->Init();
        std::deque<Event> posted = Drain("InterfaceManager");
        ASSERT_EQ(posted.size(), c.deletesLines ? 10u : 9u);
        if (c.deletesLines) {
            EXPECT_EQ(posted.front().eventType, "Delete all Game Messages");
            posted.pop_front();
        }
        EXPECT_EQ(posted[0].eventType, "State Change");
        EXPECT_EQ(posted[0].GetParam<InterfaceState::Type>("state"), c.screen);
        for (size_t i = 1; i < posted.size(); ++i) EXPECT_EQ(posted[i].eventType, "Game Message");
        EXPECT_EQ(posted[8].GetParam<GMessage>("data").text, "Accuracy:" + std::string(14, ' ') + "75%");
        for (const Event& event : posted) EXPECT_EQ(event.from, "GameLogic");
        EXPECT_TRUE(Drain("GameLogic").empty());
        EXPECT_FALSE(Cleared()) << "announcing clears nothing";
    }
}

TEST_F(EndOfGame, LeavingClearsTheStatisticsExceptAWinOfTheLastLevel) {
    struct Case {
        const char* level;
        bool win;
        bool clears;
    };
    const Case cases[] = {{"level1", true, true},   {"level2", true, true},   {"level3", true, false},
                          {"level1", false, true},  {"level3", false, true}};
    for (const Case& c : cases) {
        game.levelName = c.level;
        Set({5, 6, 7, 8, 9});
        WinState win;
        GameOverState gameOver;
        (c.win ? static_cast<GameState&>(win) : gameOver).Exit();
        EXPECT_EQ(Cleared(), c.clears) << c.level << (c.win ? " win" : " game over");
    }
}

TEST_F(EndOfGame, MenuMessagesPopOnceForTheGameAndTwiceForTheTitle) {
    WinState win;
    GameOverState gameOver;
    for (GameState* state : {static_cast<GameState*>(&win), static_cast<GameState*>(&gameOver)}) {
        const std::string sender = state == &win ? WinState::kSender : GameOverState::kSender;
        state->HandleMessage(Event("InterfaceManager", "GameLogic", MenuMessage::kEnterGame));
        std::deque<Event> posted = Drain("GameLogic");
        ASSERT_EQ(Types(posted), std::vector<std::string>{"Pop State"});
        EXPECT_EQ(posted[0].from, sender);
        EXPECT_FALSE(game.titleRequested);

        state->HandleMessage(Event("InterfaceManager", "GameLogic", MenuMessage::kEnterTitle));
        posted = Drain("GameLogic");
        EXPECT_EQ(Types(posted), (std::vector<std::string>{"Pop State", "Pop State"}));
        EXPECT_TRUE(game.titleRequested);
        game.titleRequested = false;

        Set({1, 2, 3, 4, 5});
        for (const char* other : {"Stop Now", "Infinite Mode", "Enter Options", "enter game"})
            state->HandleMessage(Event("InterfaceManager", "GameLogic", other));
        EXPECT_TRUE(Drain("GameLogic").empty() && Drain("InterfaceManager").empty());
        EXPECT_FALSE(game.titleRequested || Cleared());
    }
}

TEST_F(EndOfGame, StopNowEndsTheRunAsAWinUnlessThePlayerHasDied) {
    EndlessModeStartState choice;
    choice.Init();
    const std::deque<Event> screen = Drain("InterfaceManager");
    ASSERT_EQ(screen.size(), 1u);
    EXPECT_EQ(screen[0].GetParam<InterfaceState::Type>("state"), InterfaceState::EndlessModeStart);

    game.playerDied = true;
    choice.HandleMessage(Event("InterfaceManager", "GameLogic", EndlessModeStartState::kStopNow));
    EXPECT_TRUE(Drain("GameLogic").empty());

    game.playerDied = false;
    test_support::LogCapture log;
    choice.HandleMessage(Event("InterfaceManager", "GameLogic", EndlessModeStartState::kStopNow));
    const std::deque<Event> posted = Drain("GameLogic");
    EXPECT_EQ(Types(posted), (std::vector<std::string>{"Pop State", "Pop State", "Push State", "Push State",
                                                       "Push State"}));
    std::vector<GameStateName::Type> pushed;
    for (const Event& event : posted) {
        EXPECT_EQ(event.from, "GameLogic:EndlessModeStartState");
        if (event.eventType == "Push State") pushed.push_back(event.GetParam<GameStateName::Type>("state"));
    }
    EXPECT_EQ(pushed, (std::vector<GameStateName::Type>{GameStateName::Credits, GameStateName::Score,
                                                        GameStateName::Win}));
    EXPECT_EQ(log.Text(), "player won\n");
    EXPECT_FALSE(game.endlessMode);
}

TEST_F(EndOfGame, InfiniteModePopsOnceAndOtherMessagesAreIgnored) {
    EndlessModeStartState choice;
    for (const char* other : {MenuMessage::kEnterTitle, MenuMessage::kEnterGame, "stop now"})
        choice.HandleMessage(Event("InterfaceManager", "GameLogic", other));
    EXPECT_TRUE(Drain("GameLogic").empty() && !game.endlessMode);

    game.playerDied = true;  // the choice to fight on needs no living player
    choice.HandleMessage(Event("InterfaceManager", "GameLogic", EndlessModeStartState::kInfiniteMode));
    EXPECT_EQ(Types(Drain("GameLogic")), std::vector<std::string>{"Pop State"});
    EXPECT_TRUE(game.endlessMode);
}

}  // namespace
