// The pause menu over a stand-in state: what its Init does, Escape, and the
// stack messages it answers its six menu messages with.
#include <gtest/gtest.h>

#include "game_flow/ingame_play.h"
#include "game_states/menu_messages.h"
#include "game_states/pause_state.h"
#include "interface_manager.h"

namespace game_flow_test {
namespace {

class PauseStateTest : public IngamePlay {
protected:
    void OpenPause() {
        Logic().Kill();
        Logic().PushState(StandInState());  // the title's place
        Logic().PushState(StandInState());  // the game's place
        Sys().mouseGrabbed = true;
        Logic().PushState(PauseState());
        Logic().titleRequested = false;
        mark = posted.size();
    }
    size_t mark = 0;
};

TEST_F(PauseStateTest, ItShowsThePauseScreenWithTheMouseFreeAndTheClockStopped) {
    OpenPause();
    EXPECT_FALSE(Sys().IsMouseGrabbed());
    EXPECT_TRUE(Sys().IsPaused());
    Frame();
    ASSERT_EQ(1, CountPosted(InterfaceManager::kStateChange));
    Input().keyPressed[InputManager::kEscape] = true;
    Frames(2);
    EXPECT_EQ((std::vector<std::string>{"pop"}), StackMessages(mark));
    EXPECT_NE(nullptr, dynamic_cast<StandInState*>(Logic().TopState()));
}

TEST_F(PauseStateTest, AnswersEachMenuMessageWithItsStackMessages) {
    struct Case {
        const char* message;
        std::vector<std::string> posted;
    };
    const Case cases[] = {
        {MenuMessage::kEnterGame, {"pop"}},
        {MenuMessage::kEnterHighScores, {"pop", "push 11"}},
        {MenuMessage::kEnterOptions, {"push 5"}},
        {MenuMessage::kEnterCredits, {"push 4"}},
        {MenuMessage::kEnterControls, {"push 6"}},
        {MenuMessage::kEnterTitle, {"pop", "pop"}},
        {MenuMessage::kEnterPause, {}},
    };
    for (const Case& c : cases) {
        OpenPause();
        Post(c.message);
        Frames(2);
        EXPECT_EQ(c.posted, StackMessages(mark)) << c.message;
        EXPECT_EQ(c.message == std::string(MenuMessage::kEnterTitle), Logic().titleRequested) << c.message;
    }
    // "Enter Title" left the stand-in (the title's place) alone on the stack.
    OpenPause();
    Post(MenuMessage::kEnterTitle);
    Frames(2);
    EXPECT_EQ(1u, Logic().StateCount());
}

}  // namespace
}  // namespace game_flow_test
