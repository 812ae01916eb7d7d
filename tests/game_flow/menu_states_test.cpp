// The menu states without a window, over the title: the title, the credits,
// the options and the key bindings. What each announces when it becomes the
// top, how it answers the menu messages (one pop leaves a screen, whichever
// way the player leaves), and Escape, which each press acts on once.
#include <gtest/gtest.h>

#include "game_flow/flow_support.h"
#include "game_states/credits_state.h"
#include "game_states/ingame_state.h"
#include "game_states/settings_states.h"
#include "game_states/title_state.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface/game_message.h"
#include "interface_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using namespace flow_test;

constexpr int kEscape = InputManager::kEscape;

InputManager& Input() { return *Module<InputManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

class MenuStates : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Game().Kill();
        Input().Init();
        Module<InterfaceManager>::Instance()->currentState = InterfaceState::Title;
        Game().loadingDone = true;  // the level behind the title is in
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

// The screens over the title that Escape leaves.
struct Screen {
    GameStateName::Type state;
    InterfaceState::Type screen;
    const char* name;
};
const Screen kSettingsScreens[] = {{GameStateName::Options, InterfaceState::Options, "OptionsState"},
                                   {GameStateName::Controls, InterfaceState::Controls, "ControlsState"}};

TEST_F(MenuStates, TheTitleAnnouncesItsScreenStopsTheMusicShowsTheVersionAndFreesTheMouse) {
    Sys().Pause(false);
    Sys().mouseGrabbed = true;
    Game().TopState()->Init();  // as on a return to the title
    const std::deque<Event> toInterface = SentTo("InterfaceManager");
    ASSERT_EQ(TypesOf(toInterface), (std::vector<std::string>{"State Change", kGameMessageEvent}));
    EXPECT_EQ(toInterface[0].GetParam<InterfaceState::Type>(InterfaceManager::kStateParam), InterfaceState::Title);
    const GMessage version = toInterface[1].GetParam<GMessage>(kGameMessageData);
    EXPECT_EQ(version.key, "versionStringHandle");
    EXPECT_EQ(version.text, "version 1.01, svn rev 2291");
    EXPECT_TRUE(version.persistent && !version.typeOut);
    EXPECT_FLOAT_EQ(version.scale, 0.7f);
    EXPECT_FLOAT_EQ(version.position.x, 0.02f);
    EXPECT_FLOAT_EQ(version.position.y, 0.02f);
    const std::deque<Event> toSound = SentTo("SoundManager");
    ASSERT_EQ(TypesOf(toSound), std::vector<std::string>{SoundManager::kStopMusic});
    EXPECT_EQ(toSound[0].from, "InterfaceManager");
    EXPECT_FALSE(Sys().mouseGrabbed);
    EXPECT_TRUE(Sys().IsPaused());
}

TEST_F(MenuStates, EnterGameZeroesTheStatisticsThenPushesThePlayAndChoosesLevelOne) {
    GameLogic& game = Game();
    game.enemiesKilled = 4;
    game.shotsFired = 9;
    game.shotsHit = 3;
    game.damageShield = 12;
    game.damageArmor = 7;
    game.ProcessEvent(ToGame("Enter Game"));
    EXPECT_EQ(game.enemiesKilled + game.shotsFired + game.shotsHit + game.damageShield + game.damageArmor, 0u);
    const std::deque<Event> sent = SentTo("GameLogic");
    ASSERT_EQ(TypesOf(sent), (std::vector<std::string>{GameLogic::kPushState, IngameState::kChangeLevel}));
    EXPECT_EQ(sent[0].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::Ingame);
    EXPECT_EQ(sent[1].GetParam<std::string>(IngameState::kLevelParam), "zero");
}

TEST_F(MenuStates, TheTitleOpensEachScreenItsButtonsName) {
    const std::pair<const char*, std::optional<GameStateName::Type>> cases[] = {
        {"Enter Options", GameStateName::Options},   {"Enter Credits", GameStateName::Credits},
        {"Enter Controls", GameStateName::Controls}, {"Enter High Scores", GameStateName::Score},
        {"Enter Title", std::nullopt},               {"Enter Pause", std::nullopt},
    };
    for (const auto& [message, pushed] : cases) {
        SCOPED_TRACE(message);
        Game().ProcessEvent(ToGame(message));
        const std::deque<Event> sent = SentTo("GameLogic");
        ASSERT_EQ(sent.size(), pushed ? 1u : 0u);
        if (pushed) {
            EXPECT_EQ(sent[0].GetParam<GameStateName::Type>(GameLogic::kStateParam), *pushed);
        }
    }
}

// While the level reloads behind the title (after a run) the buttons show:
// what they send is held, then answered in order at the first update, which
// comes once the load is in.
TEST_F(MenuStates, MenuMessagesThatComeWhileTheLevelLoadsAreAnsweredOnceItIsIn) {
    Game().loadingDone = false;
    Game().ProcessEvent(ToGame("Enter Credits"));
    Game().ProcessEvent(ToGame("Enter Game"));
    Game().ProcessEvent(ToGame("Enter Title"));  // not the title's to answer: never held
    EXPECT_TRUE(SentTo("GameLogic").empty()) << "nothing starts on a half-loaded level";
    Game().loadingDone = true;
    Game().TopState()->Update();
    const std::deque<Event> sent = SentTo("GameLogic");
    ASSERT_EQ(TypesOf(sent),
              (std::vector<std::string>{GameLogic::kPushState, GameLogic::kPushState, IngameState::kChangeLevel}));
    EXPECT_EQ(sent[0].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::Credits);
    EXPECT_EQ(sent[1].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::Ingame);
    Game().TopState()->Update();
    EXPECT_TRUE(SentTo("GameLogic").empty()) << "each answered once";
}

// Escape asks whether to quit, and a second press while the question shows
// takes it back; each press is used up by the title.
TEST_F(MenuStates, EscapeOnTheTitleTogglesTheQuitQuestion) {
    InterfaceManager& interface = *Module<InterfaceManager>::Instance();
    for (auto [shown, answer] : {std::pair{InterfaceState::Title, "Quit Confirm"},
                                 std::pair{InterfaceState::QuitConfirm, "Quit Cancel"}}) {
        interface.currentState = shown;
        Input().keyPressed[kEscape] = true;
        Game().TopState()->Update();
        Game().TopState()->Update();
        EXPECT_FALSE(Input().keyPressed[kEscape]);
        EXPECT_EQ(TypesOf(SentTo("InterfaceManager")), std::vector<std::string>{answer});
    }
}

TEST_F(MenuStates, TheCreditsRollUntilLeftByAMenuMessage) {
    Open(GameStateName::Credits);
    ASSERT_NE(dynamic_cast<CreditsState*>(Game().TopState()), nullptr);
    std::deque<Event> toGraphics = SentTo("Graphics");
    ASSERT_EQ(toGraphics.size(), 1u);
    EXPECT_TRUE(toGraphics[0].GetParam<bool>(Graphics::kParamRenderingCredits));
    const std::deque<Event> toInterface = SentTo("InterfaceManager");
    ASSERT_EQ(TypesOf(toInterface), std::vector<std::string>{"State Change"});
    EXPECT_EQ(toInterface[0].GetParam<InterfaceState::Type>(InterfaceManager::kStateParam), InterfaceState::Credits);

    Game().TopState()->Update();  // no key: the roll goes on
    EXPECT_TRUE(SentTo("GameLogic").empty());

    // The menu messages that leave them pop them once each; leaving stops the roll.
    for (const char* message : {"Enter Pause", "Enter Title"}) {
        Game().ProcessEvent(ToGame(message));
        EXPECT_EQ(TypesOf(SentTo("GameLogic")), std::vector<std::string>{GameLogic::kPopState}) << message;
        Game().PopState();
        toGraphics = SentTo("Graphics");
        ASSERT_EQ(toGraphics.size(), 1u);
        EXPECT_FALSE(toGraphics[0].GetParam<bool>(Graphics::kParamRenderingCredits));
        Open(GameStateName::Credits);
        SentTo("Graphics");
    }
}

TEST_F(MenuStates, TheOptionsAndControlsAnnounceTheirScreenAndLeaveWithOnePopForTitleOrPause) {
    for (const Screen& s : kSettingsScreens) {
        for (const char* leave : {"Enter Title", "Enter Pause"}) {
            SCOPED_TRACE(std::string(s.name) + " " + leave);
            SentTo("InterfaceManager");
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
        }
    }
}

TEST_F(MenuStates, TheOptionsAndControlsIgnoreOtherMenuMessages) {
    for (const Screen& s : kSettingsScreens) {
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

// Escape leaves the credits, the options and the controls; the press is used
// up, so the title below never sees it.
TEST_F(MenuStates, EachEscapeLeavesAScreenOnce) {
    for (const GameStateName::Type state : {GameStateName::Credits, GameStateName::Options, GameStateName::Controls}) {
        SCOPED_TRACE(state);
        Open(state);
        Input().keyPressed[kEscape] = true;
        Game().TopState()->Update();
        Game().TopState()->Update();  // the same press, already used
        EXPECT_FALSE(Input().keyPressed[kEscape]);
        Deliver();
        EXPECT_TRUE(TitleOnTop());
        SentTo("InterfaceManager");
        Game().TopState()->Update();
        EXPECT_TRUE(SentTo("InterfaceManager").empty()) << "the title saw the press that left the screen";
    }
}

}  // namespace
