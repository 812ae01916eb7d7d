// A key belongs to the screen it was pressed on. Escape, tapped (down and up
// between two frames) or held, on a screen that does not read it, through
// the game's own window with xdotool: "Mission Failed", then Retry, plays
// on unpaused; the high-score table, then Continue, shows the title without
// the quit question. Escape on a screen that reads it (play, the title)
// acts as before.
#include "interface/menu_game.h"

#include "game_states/end_of_level_states.h"
#include "game_states/score_state.h"
#include "interface/button.h"

namespace menu_test {
namespace {

constexpr int kEscape = InputManager::kEscape;

class ScreenKeys : public MenuGame {
protected:
    // Escape tapped or held, and frames until the input module has seen
    // it: a tap leaves its press unread, a hold has been seen down and up.
    void Escape(bool tapped) {
        if (tapped) {
            Xdo("key Escape");
            ASSERT_TRUE(RunUntil([] { return Input().keyPressed[kEscape]; }, kInputFrames)) << "the tap never arrived";
            return;
        }
        Xdo("keydown Escape");
        ASSERT_TRUE(SeesDown(kEscape)) << "the press never arrived";
        Frames(2);
        Xdo("keyup Escape");
        ASSERT_TRUE(SeesDown(kEscape, false)) << "the release never arrived";
    }
    // Frames until `shown` holds, then a few more: enough for a press left
    // from the screen before to act on the new one (it would within two).
    void SettleOn(const std::function<bool()>& shown, int limit) {
        ASSERT_TRUE(RunUntil(shown, limit)) << log.Text();
        Frames(10);
    }
    // A click on the middle of the button captioned `caption` (the end
    // screens' buttons have no names of their own).
    void ClickCaptioned(const std::string& caption) {
        const InterfaceObject* found = nullptr;
        for (const auto& entry : Registry())
            if (auto* button = dynamic_cast<const Button*>(entry.widget); button && button->label.text == caption)
                found = button;
        ASSERT_NE(nullptr, found) << "no button " << caption << " on screen " << Ui().currentState;
        ClickAt(found->position.x + 0.5f * found->width, found->position.y + 0.5f * found->height);
    }
    static bool Playing() {
        return OnTop<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() && !Sys().IsPaused() &&
               Ui().currentState == InterfaceState::Ingame;
    }
};

TEST_F(ScreenKeys, EscapeOnMissionFailedDoesNotPauseTheRetry) {
    ASSERT_NO_FATAL_FAILURE(StartPlaying());
    for (bool tapped : {true, false}) {
        SCOPED_TRACE(tapped ? "tapped" : "held");
        ASSERT_NO_FATAL_FAILURE(Pause());  // Escape in play pauses
        Click("Abort Mission");
        ASSERT_TRUE(RunUntil([] { return OnTop<GameOverState>() && Ui().currentState == InterfaceState::GameOver; },
                             kInputFrames))
            << log.Text();
        ASSERT_NO_FATAL_FAILURE(Escape(tapped));
        ClickCaptioned("Retry");
        ASSERT_NO_FATAL_FAILURE(SettleOn(Playing, 1800));
        EXPECT_TRUE(Playing()) << "top " << (OnTop<PauseState>() ? "the pause" : "another state") << ", screen "
                               << Ui().currentState;
    }
}

TEST_F(ScreenKeys, EscapeOnTheHighScoresLeavesTheTitleWithoutTheQuitQuestion) {
    const auto title = [] { return TitleOnTop() && Ui().currentState == InterfaceState::Title; };
    for (bool tapped : {true, false}) {
        SCOPED_TRACE(tapped ? "tapped" : "held");
        Click("High Scores");
        ASSERT_TRUE(RunUntil([] { return OnTop<ScoreState>() && Ui().currentState == InterfaceState::Score; },
                             kInputFrames));
        ASSERT_NO_FATAL_FAILURE(Escape(tapped));
        ClickCaptioned("Continue");
        ASSERT_NO_FATAL_FAILURE(SettleOn(title, kInputFrames));
        EXPECT_TRUE(title()) << "screen " << Ui().currentState;
    }
    // On the title Escape asks, and asks no more when pressed again.
    for (auto shown : {InterfaceState::QuitConfirm, InterfaceState::Title}) {
        Xdo("key Escape");
        EXPECT_TRUE(RunUntil([&] { return Ui().currentState == shown; }, kInputFrames)) << shown;
    }
}

}  // namespace
}  // namespace menu_test
