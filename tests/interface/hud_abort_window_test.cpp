// "Abort Mission" from the pause over level 1 in the real game (hud_play.h):
// the pause pops, the head-up display is built again, and at that build the
// restart the button asked for reaches the game flow, whose in-game state
// then shows the game-over screen over the level.
#include <gtest/gtest.h>

#include "game_states/end_of_level_states.h"
#include "game_states/pause_state.h"
#include "interface/hud_play.h"

namespace {

using namespace hud_play;

class HudAbort : public HudPlay {};

TEST_F(HudAbort, AbortMissionRestartsTheLevelThroughTheRebuiltDisplay) {
    test_support::LogCapture log;
    StartLevelOne(log);
    if (HasFatalFailure()) return;
    auto* play = dynamic_cast<IngameState*>(Logic().TopState());
    ASSERT_NE(play, nullptr);
    EXPECT_FALSE(play->restartPending);

    Xdo("keydown Escape");
    Frames(3);
    Xdo("keyup Escape");
    ASSERT_TRUE(RunUntil([] { return OnTop<PauseState>() && Registry().Contains("Abort Mission"); }, 60));
    EXPECT_FALSE(Registry().Contains("minimap"));

    Click("Abort Mission");
    bool rebuilt = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            rebuilt |= Registry().Contains("minimap");
            return OnTop<GameOverState>();
        },
        120))
        << log.Text();
    EXPECT_TRUE(rebuilt) << "the display came back before the game-over screen";
    EXPECT_TRUE(play->restartPending) << "the in-game state took the restart";
    EXPECT_FALSE(Module<InterfaceManager>::Instance()->restartPending) << "consumed by that build";
    EXPECT_EQ(Logic().StateCount(), 3u) << "title, level, game over";

    ShutDownGame();
}

}  // namespace
