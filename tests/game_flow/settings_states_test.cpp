// The options and key-binding states without a window, over the title: the
// screen each announces, the one pop that leaves it whichever way the player
// leaves, and Escape, which each press acts on once.
#include <gtest/gtest.h>

#include "game_flow/flow_support.h"
#include "game_states/settings_states.h"
#include "game_states/title_state.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using namespace flow_test;

InputManager& Input() { return *Module<InputManager>::Instance(); }

class SettingsStates : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Game().Kill();
        Input().Init();
        Game().PushState(TitleState());
        for (const char* client : {"GameLogic", "InterfaceManager", "SoundManager", "Graphics"}) SentTo(client);
    }
    void TearDown() override {
        Game().Kill();
        Module<EventManager>::Instance()->Kill();
    }
    // The state pushed over the title as the title's button asks for it.
    void Open(GameStateName::Type state) {
        Game().ProcessEvent(StateEvent(GameLogic::kPushState, state));
        SentTo("GameLogic");
    }
    // Hands GameLogic what the states sent it, as its next update would.
    static void Deliver() {
        for (const Event& event : SentTo("GameLogic")) Game().ProcessEvent(event);
    }
    static bool TitleOnTop() { return dynamic_cast<TitleState*>(Game().TopState()) != nullptr; }

    test_support::TempProfile profile;
    test_support::LogCapture log;
};

struct Screen {
    GameStateName::Type state;
    InterfaceState::Type screen;
    const char* name;
};
const Screen kScreens[] = {{GameStateName::Options, InterfaceState::Options, "OptionsState"},
                           {GameStateName::Controls, InterfaceState::Controls, "ControlsState"}};

TEST_F(SettingsStates, EachAnnouncesItsScreenAndLeavesWithOnePopForTitleOrPause) {
    for (const Screen& s : kScreens) {
        for (const char* leave : {"Enter Title", "Enter Pause"}) {
            SCOPED_TRACE(std::string(s.name) + " " + leave);
            Open(s.state);
            const std::deque<Event> announced = SentTo("InterfaceManager");
            ASSERT_EQ(TypesOf(announced), std::vector<std::string>{InterfaceManager::kStateChange});
            EXPECT_EQ(announced[0].GetParam<InterfaceState::Type>(InterfaceManager::kStateParam), s.screen);
            EXPECT_EQ(announced[0].from, "GameLogic");
            Game().ProcessEvent(ToGame(leave));
            const std::deque<Event> sent = SentTo("GameLogic");
            ASSERT_EQ(TypesOf(sent), std::vector<std::string>{GameLogic::kPopState});
            EXPECT_EQ(sent[0].from, s.name);
            Game().ProcessEvent(sent[0]);
            EXPECT_TRUE(TitleOnTop());
            EXPECT_EQ(Game().StateCount(), 1u) << "exactly one state popped";
            SentTo("InterfaceManager");  // the title's own announcements
        }
    }
}

TEST_F(SettingsStates, OtherMenuMessagesAreIgnored) {
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        Open(s.state);
        for (const char* message : {"Enter Options", "Enter Controls", "Enter Credits", "Enter Game",
                                    "Enter High Scores", "Options Apply"})
            Game().ProcessEvent(ToGame(message));
        EXPECT_TRUE(SentTo("GameLogic").empty()) << "nothing pushed, nothing popped";
        EXPECT_EQ(Game().StateCount(), 2u);
        Game().PopState();
    }
}

TEST_F(SettingsStates, EachEscapeActsOnce) {
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        Open(s.state);
        Input().keyPressed[InputManager::kEscape] = true;
        Game().TopState()->Update();
        Game().TopState()->Update();  // the same press, already used
        EXPECT_FALSE(Input().keyPressed[InputManager::kEscape]);
        Deliver();
        EXPECT_TRUE(TitleOnTop());
        SentTo("InterfaceManager");
        Game().TopState()->Update();
        EXPECT_TRUE(SentTo("InterfaceManager").empty()) << "the title saw the press that left " << s.name;
    }
}

}  // namespace
