// The in-game state on the stack with level 1 loaded by the real loader: the
// first push and its two loads, one load per Init, level changes, restarts,
// Escape and the pause, the player's death and the end of a run, the wreck,
// and a level that cannot be played.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_flow/ingame_play.h"
#include "game_states/end_of_level_states.h"
#include "game_states/menu_messages.h"
#include "interface/game_message_widget.h"
#include "support/temp_folder.h"

namespace game_flow_test {
namespace {

using Messages = std::vector<std::string>;

class IngameStateTest : public IngamePlay {
protected:
    void SetUp() override {
        IngamePlay::SetUp();
        ASSERT_TRUE(EnterGame()) << log.Text();
        ASSERT_TRUE(Logic().levelValid) << log.Text();
        mark = posted.size();
        log.Restart();
    }
    // Pushes the pause over the game and pops it again: the in-game state's
    // Init runs once more, and what it posted is recorded.
    void Uncover() {
        Input().keyPressed[InputManager::kEscape] = true;
        Frames(2);
        ASSERT_EQ(nullptr, Ingame()) << "the pause is on top";
        Input().keyPressed[InputManager::kEscape] = true;
        Frame();
        uncovered = posted.size();
        Frames(2);
    }
    static void SetPlayerHp(int hp) {
        ObjectLock lock;
        Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp()->hp = hp;
    }
    size_t mark = 0;       // posted before the test's own frames
    size_t uncovered = 0;  // posted before the last Uncover's Init
};

TEST_F(IngameStateTest, TheFirstPushLoadsLevelOneTwiceInTurnThenPlays) {
    // SetUp ran the whole road; read it back from the start.
    const std::string all = Sys().GetLogText();
    const std::string first = "GameLogic::Instance().levelScript = ./scripts/load_level_1.lua";
    EXPECT_TRUE(test_support::InOrder(all, {"newLevel = zero", first,
                                            "GameLogic::Instance().levelFile = ./resource/levels/level1.xml",
                                            "newLevel = zero", "Starting LoadLevel()", "level Loaded", first,
                                            "Starting LoadLevel()", "level Loaded"}));
    EXPECT_EQ((Messages{"push 3", "push 8", "load", "push 8", "load"}),
              [&] {
                  Messages m;
                  for (const std::string& s : StackMessages())
                      if (s != "pop") m.push_back(s);
                  return m;
              }());
    EXPECT_EQ(2u, Logic().StateCount());
    EXPECT_EQ("level1", Logic().previousLevelName) << "the second load changed nothing";
    EXPECT_TRUE(Sys().IsMouseGrabbed());
    EXPECT_FALSE(Sys().IsPaused());
    Frames(5);
    EXPECT_EQ(2, loads) << "play loads nothing more";
}

// A return to play keeps the wave line, which the display's rebuild shows
// again; only the start of a load clears it. (A frame records the clients
// one after another, each one's events in the order they were posted.)
TEST_F(IngameStateTest, EachInitAnnouncesPlayInOrderAndOnlyALoadClearsTheWaveLine) {
    struct Row {
        const char* road;
        bool restart;
        Messages announced;
    };
    const Row rows[] = {
        {"back from the pause", false,
         {"InterfaceManager:State Change", "CollisionManager:Set", "BehaviorManager:Set"}},
        {"a restart", true,
         {"InterfaceManager:State Change", "InterfaceManager:Wave Count Message \"\"", "CollisionManager:Set",
          "BehaviorManager:Set", "Physics:ClearForces"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.road);
        Ingame()->restartPending = row.restart;
        Uncover();
        Messages announced;
        for (size_t i = uncovered; i < posted.size() && announced.size() < row.announced.size(); ++i) {
            const Posted& p = posted[i];
            if (p.to == addressee::kGameLogic) continue;
            const bool line = p.type == InterfaceManager::kWaveCountMessage;
            announced.push_back(p.to + ":" + p.type + (line ? " \"" + p.waveLine + "\"" : ""));
        }
        EXPECT_EQ(row.announced, announced);
        ASSERT_TRUE(RunUntil([this] { return Ingame() && Logic().loadingDone && !InFlight(); }));
    }
}

// The real interface handed what the stack posts: the pause screen replaces
// the display, and "Resume Game" brings the display back with the line of
// the wave still being fought.
TEST_F(IngameStateTest, TheInterfaceShowsTheKeptWaveLineAgainAfterThePause) {
    Frames(2);  // the level's first wave is announced (recorded, not handled)
    Module<ResourceManager>::Instance()->LoadCategory("all_first");  // the display's pictures
    InterfaceManager& ui = *Module<InterfaceManager>::Instance();
    ui.waveCountText = "2 of 3";
    interfaceAnswers = true;
    const InterfaceObjectList& registry = Objects().interObjList;
    Input().keyPressed[InputManager::kEscape] = true;
    ASSERT_TRUE(RunUntil([&] { return ui.currentState == InterfaceState::Pause; }, 10));
    EXPECT_FALSE(registry.Contains("Wave Message"));
    Post(MenuMessage::kEnterGame);
    // Bounded: a frame hands on each step (the pop, the build, its lines).
    ASSERT_TRUE(RunUntil([&] { return ui.currentState == InterfaceState::Ingame && registry.Contains("minimap"); }, 10));
    Frames(3);
    EXPECT_EQ("2 of 3", ui.waveCountText);
    const auto* line = dynamic_cast<const GameMessage*>(registry.Find("Wave Message"));
    ASSERT_NE(nullptr, line) << "the wave line is gone";
    EXPECT_EQ("Wave 2 of 3", line->fullText);
}

TEST_F(IngameStateTest, ARestartAndALevelChangeTogetherLoadOnce) {
    Ingame()->restartPending = true;
    Logic().titleRequested = true;
    PostChangeLevel(IngameState::kFirstLevel);
    Frame();
    Uncover();
    ASSERT_TRUE(RunUntil([this] { return Ingame() && loads == 3 && !InFlight() && Logic().loadingDone; }));
    Frames(5);
    EXPECT_EQ((Messages{"push 0", "pop", "push 8", "load", "pop"}), StackMessages(mark));
    EXPECT_FALSE(Ingame()->restartPending);
    EXPECT_FALSE(Logic().titleRequested);
    EXPECT_EQ(3, loads);
}

TEST_F(IngameStateTest, AnUnknownLevelKeyIsWarnedAtTheNextInitAndLoadsNothing) {
    PostChangeLevel("nowhere");
    Frame();
    EXPECT_FALSE(log.Has("Invalid Level"));
    Uncover();
    EXPECT_EQ(1, log.Count("nowhere: Invalid Level"));
    EXPECT_EQ((Messages{"push 0", "pop"}), StackMessages(mark));
    EXPECT_EQ("level1", Ingame()->CurrentLevel().levelName);
}

TEST_F(IngameStateTest, RestartAsksForTheGameOverScreenAndReloadsWhenUncovered) {
    Post(IngameState::kRestart);
    Frames(2);
    EXPECT_EQ(1, CountPosted(GameLogic::kPushState, GameStateName::GameOver));
    EXPECT_EQ(2, loads);
    Post(MenuMessage::kEnterGame);  // the game-over screen's "Retry" uncovers the level
    ASSERT_TRUE(RunUntil([this] { return Ingame() && loads == 3 && !InFlight(); }));
    EXPECT_FALSE(Ingame()->restartPending);
    Frames(5);
    EXPECT_EQ(3, loads);
}

// A death in endless play takes the same road (EndRun); the end-of-run flow
// test follows it through the real stack.
TEST_F(IngameStateTest, InEndlessPlayRestartEndsInTheWinSequence) {
    Logic().endlessMode = true;
    Post(IngameState::kRestart);
    Frames(2);
    EXPECT_TRUE(log.Has("player won"));
    EXPECT_EQ((Messages{"pop", "push 4", "push 11", "push 10"}), StackMessages(mark));
}

TEST_F(IngameStateTest, EscapePausesWithTheClockFrozenAndResumesWithoutALoad) {
    Input().keyPressed[InputManager::kEscape] = true;
    Frames(2);
    EXPECT_FALSE(Input().keyPressed[InputManager::kEscape]) << "the press was consumed";
    EXPECT_TRUE(Sys().IsPaused());
    EXPECT_FALSE(Sys().IsMouseGrabbed());
    const double frozen = Sys().GetTime();
    Frames(3);
    EXPECT_EQ(frozen, Sys().GetTime());
    Input().keyPressed[InputManager::kEscape] = true;
    Frames(2);
    ASSERT_NE(nullptr, Ingame());
    EXPECT_FALSE(Sys().IsPaused());
    EXPECT_EQ((Messages{"push 0", "pop"}), StackMessages(mark));
}

TEST_F(IngameStateTest, ADeadPlayerGetsItsEffectOnceAndTheGameOverScreenAfterTwoAndAHalfSeconds) {
    SetPlayerHp(0);
    const auto& emitters = Objects().particleSystemController.nameToId;
    int effectFrames = 0;
    int frame = 0;
    while (CountPosted(GameLogic::kPushState, GameStateName::GameOver) == 0 && frame < 200) {
        const size_t before = emitters.size();
        Frame();
        ++frame;
        effectFrames += emitters.size() > before;
    }
    EXPECT_EQ(1, effectFrames) << "the death effect starts in the first frame only";
    // Posted after 150 frames of the timer (151 at most), seen a frame later.
    EXPECT_GE(frame, 151);
    EXPECT_LE(frame, 152);
    EXPECT_EQ(frame - 1, log.Count("player died")) << "in every frame until the game-over screen covers the level";
    EXPECT_TRUE(Logic().playerDied);
    EXPECT_NE(nullptr, dynamic_cast<GameOverState*>(Logic().TopState()));
}

TEST_F(IngameStateTest, NoDeathWhileTheLevelIsComplete) {
    Logic().levelComplete = true;
    SetPlayerHp(-5);
    Frames(200);
    EXPECT_FALSE(log.Has("player died"));
    EXPECT_EQ(0, CountPosted(GameLogic::kPushState, GameStateName::GameOver));
}

TEST_F(IngameStateTest, TheWreckFallsAndSettlesToFourUnits) {
    SetPlayerHp(0);
    Frames(140);  // settled before the game-over screen covers the level at 2.5 s
    EXPECT_LE(Ingame()->hoverHeight, 4.0f);
    EXPECT_GT(Ingame()->hoverHeight, 4.0f - 10.0f * float(kStep));
    ObjectLock lock;
    const GameObject& player = *Objects().GetGameObject(GameObject::kPlayerName);
    EXPECT_EQ(player.trans.y, Objects().cameraObject.target.y) << "the camera rides the wreck";
}

TEST_F(IngameStateTest, APlayerGoneFromTheTableStopsNoFrame) {
    SetPlayerHp(0);
    Frame();
    {
        ObjectLock lock;
        Objects().KillGameObject(*Objects().GetGameObject(GameObject::kPlayerName));
    }
    Frames(200);  // the dead-player motion and the death check run without it
    EXPECT_EQ(1, log.Count("WARNING: game_logic/player_parts.cpp")) << log.Text();
    Ingame()->restartPending = false;
    Frames(3);  // and so does the controller
    EXPECT_EQ(1, log.Count("WARNING: game_logic/player_parts.cpp"));
    EXPECT_EQ(0, CountPosted(GameLogic::kPushState, GameStateName::GameOver)) << "nobody is there to die";
}

// A level whose script makes no player: the loader reports it, and the game
// goes back to the title without a crash.
class UnplayableLevel : public IngamePlay {
protected:
    void SetUp() override {
        const std::filesystem::path run = std::filesystem::current_path();
        for (const char* shared : {"resource", "shaders"})
            std::filesystem::create_directory_symlink(run / shared, std::filesystem::path(folder.Path()) / shared);
        folder.WriteFile("scripts/load_level_1.lua", "-- a level without a player\n");
        std::filesystem::current_path(folder.Path());
        IngamePlay::SetUp();
        previous = run;
    }
    void TearDown() override {
        IngamePlay::TearDown();
        std::filesystem::current_path(previous);
    }
    test_support::TempFolder folder;
    std::filesystem::path previous;
};

TEST_F(UnplayableLevel, LeadsBackToTheTitle) {
    PostPush(GameStateName::Ingame);
    PostChangeLevel(IngameState::kFirstLevel);
    ASSERT_TRUE(RunUntil([this] { return loads == 1 && !InFlight() && Logic().StateCount() == 1; })) << log.Text();
    EXPECT_NE(nullptr, dynamic_cast<StandInState*>(Logic().TopState()));
    EXPECT_EQ(1, loads) << "the pending second load is dropped";
    EXPECT_EQ(1, log.Count("Level load of ./scripts/load_level_1.lua failed"));
    EXPECT_FALSE(Logic().titleRequested);
    Frames(5);
    EXPECT_EQ(1, loads);
}

}  // namespace
}  // namespace game_flow_test
