// The menus' roads clicked through in the game's own window: a game started
// from the title, the pause with Escape, resuming, the options over the
// pause, the way back to the title, aborting a mission, the credits and the
// quit question.
#include "interface/menu_game.h"

#include <cstdlib>
#include <vector>

#include "game_states/credits_state.h"
#include "game_states/end_of_level_states.h"
#include "game_states/ingame_state.h"
#include "game_states/pause_state.h"
#include "game_states/settings_states.h"

namespace menu_test {
namespace {

class MenuRoads : public MenuGame {
protected:
    // Points high in the middle of the window, clear of every menu's text.
    static std::vector<std::pair<int, int>> ScenePoints() {
        std::vector<std::pair<int, int>> points;
        for (int x = 560; x <= 700; x += 35)
            for (int y = 660; y <= 730; y += 35) points.push_back({x, y});
        return points;
    }
    std::vector<test_support::ScreenColor> SceneColours() const {
        std::vector<test_support::ScreenColor> colours;
        for (const auto& [x, y] : ScenePoints()) colours.push_back(Shown(x, y).value_or(test_support::ScreenColor{}));
        return colours;
    }
};

// One channel of the scene under a veil of half alpha.
bool Halved(int before, int after) { return std::abs(after - before / 2.0) <= 4.0; }

TEST_F(MenuRoads, PlayPauseResumeOptionsOverThePauseAndBackToTheTitle) {
    EXPECT_TRUE(ShowsColour(900, 600, kTitleColour)) << "the title's picture";
    StartPlaying();
    EXPECT_FALSE(Sys().IsPaused());
    const std::vector<test_support::ScreenColor> playing = SceneColours();

    Pause();
    const std::vector<test_support::ScreenColor> paused = SceneColours();
    for (size_t i = 0; i < playing.size(); ++i) {
        const test_support::ScreenColor& before = playing[i];
        const test_support::ScreenColor& after = paused[i];
        ASSERT_GT(before.r + before.g + before.b, 90) << "a point too dark to compare";
        EXPECT_TRUE(Halved(before.r, after.r) && Halved(before.g, after.g) && Halved(before.b, after.b))
            << "the veil halves the scene: " << before.r << " " << before.g << " " << before.b << " became "
            << after.r << " " << after.g << " " << after.b;
    }
    const double frozen = Sys().GetTime();
    Frames(10);
    EXPECT_TRUE(Sys().IsPaused());
    EXPECT_EQ(frozen, Sys().GetTime());

    const int loads = LevelLoads();
    Click("Resume Game");
    ASSERT_TRUE(RunUntil(OnTop<IngameState>, 10));
    const double resumed = Sys().GetTime();
    Frames(10);
    EXPECT_GT(Sys().GetTime(), resumed) << "the clock runs again";
    EXPECT_EQ(loads, LevelLoads()) << "resuming reloads nothing";

    Pause();
    Click("Options");
    ASSERT_TRUE(RunUntil([] { return OnTop<OptionsState>() && Ui().currentState == InterfaceState::Options; }, 10));
    Frames(2);
    EXPECT_TRUE(ShowsColour(900, 600, kSkyColour)) << "the options' picture";
    HoldKey("Escape");
    ASSERT_TRUE(RunUntil([] { return OnTop<PauseState>() && Ui().currentState == InterfaceState::Pause; }, 10));
    EXPECT_TRUE(Registry().Contains("Resume Game")) << "the pause screen built anew";
    EXPECT_EQ(2u + 1u, Logic().StateCount()) << "title, in-game, pause";

    Click("Main Menu");
    ASSERT_TRUE(RunUntil(
        [&] {
            return OnTop<TitleState>() && !Logic().IsLoadInFlight() && Logic().loadingDone &&
                   LevelLoads() == loads + 1;
        },
        1800))
        << log.Text();
    Frames(2);
    EXPECT_EQ(1u, Logic().StateCount());
    EXPECT_EQ(InterfaceState::Title, Ui().currentState);
    EXPECT_TRUE(ShowsColour(900, 600, kTitleColour));
    EXPECT_TRUE(Sys().IsPaused());
}

// Back at the title from the pause's "Main Menu", the level reloads behind
// the title, which shows at once. A player who clicks straight away, while
// that load runs or in the frames of its hand-over, gets what the button
// does: "Quit" asks and keeps asking, "Start Game" starts the game.
TEST_F(MenuRoads, AButtonClickedAsSoonAsTheTitleIsBackActs) {
    for (const char* button : {"Quit", "Start Game"}) {
        for (int wait = 0; wait <= 1; ++wait) {
            SCOPED_TRACE(std::string(button) + " clicked " + std::to_string(wait) + " frames after the title showed");
            if (!OnTop<IngameState>()) {
                ASSERT_NO_FATAL_FAILURE(StartPlaying());
            }
            ASSERT_NO_FATAL_FAILURE(Pause());
            const int loads = LevelLoads();
            const InterfaceObject* mainMenu = Registry().Find("Main Menu");
            ASSERT_NE(nullptr, mainMenu);
            PointAt(mainMenu->position.x + 20.0f, mainMenu->position.y + 20.0f);
            Xdo("mousedown 1");
            ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::Title; }, 30));
            Frames(wait);
            const InterfaceObject* widget = Registry().Find(button);
            ASSERT_NE(nullptr, widget);
            const int x = int(widget->position.x + 20.0f), y = Sys().height - 1 - int(widget->position.y + 20.0f);
            // Released, moved and pressed again within one frame.
            Xdo("mouseup 1 mousemove --window " + std::to_string(test_support::OwnDrawingWindow()) + " " +
                std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
            Frames(3);
            Xdo("mouseup 1");
            if (std::string(button) == "Quit") {
                Frames(20);
                ASSERT_EQ(InterfaceState::QuitConfirm, Ui().currentState)
                    << "the quit question never showed, or gave way to the title";
                HoldKey("Escape");
                ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::Title; }, 10));
            } else {
                EXPECT_TRUE(RunUntil(
                    [&] { return OnTop<IngameState>() && Logic().loadingDone && LevelLoads() == loads + 3; }, 1800))
                    << "the click was lost";
                Frames(20);
                ASSERT_TRUE(OnTop<IngameState>());
                EXPECT_EQ(loads + 3, LevelLoads()) << "the reload behind the title, then the game's two";
            }
            if (HasFailure()) return;
            ASSERT_TRUE(RunUntil([] { return Logic().loadingDone && !Logic().IsLoadInFlight(); }, 1800));
        }
    }
}

TEST_F(MenuRoads, AbortMissionLeavesThePauseWithARestartRequested) {
    StartPlaying();
    Pause();
    Click("Abort Mission");
    // The pause gives way to the level, whose rebuilt head-up display turns
    // the request into the restart; the level answers it with the game-over
    // screen.
    ASSERT_TRUE(RunUntil(OnTop<GameOverState>, 30));
    EXPECT_FALSE(Ui().restartPending);
    EXPECT_EQ(3u, Logic().StateCount()) << "title, in-game, game over";
}

TEST_F(MenuRoads, TheCreditsLeaveOnAClickAnywhereAndTheQuitQuestionAsksFirst) {
    Click("Credits");
    ASSERT_TRUE(RunUntil([] { return OnTop<CreditsState>() && Ui().currentState == InterfaceState::Credits; }, 10));
    Frames(5);
    ClickAt(777, 123);
    ASSERT_TRUE(RunUntil([] { return TitleOnTop() && Ui().currentState == InterfaceState::Title; }, 10));
    Frames(2);
    EXPECT_TRUE(ShowsColour(900, 600, kTitleColour));

    Click("Quit");
    ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::QuitConfirm; }, 10));
    Frames(2);
    EXPECT_TRUE(ShowsColour(900, 600, 0xFF000000u)) << "a black screen behind the question";
    EXPECT_TRUE(Registry().Contains("Yes") && Registry().Contains("No"));
    HoldKey("Escape");
    ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::Title; }, 10));
    Frames(2);
    EXPECT_TRUE(ShowsColour(900, 600, kTitleColour));
    EXPECT_TRUE(Registry().Contains("Start Game"));

    Click("Quit");
    ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::QuitConfirm; }, 10));
    Click("Yes");
    EXPECT_TRUE(RunUntil([] { return !Sys().running.load(); }, 10));
}

}  // namespace
}  // namespace menu_test
