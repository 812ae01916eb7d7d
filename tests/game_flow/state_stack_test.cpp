// GameLogic's stack of game states and its messages, without a window: the
// order of Exit, Init and the event shown to the top, the values that push
// or change nothing, a malformed "state", an Update before Init, and a
// cut-scene that waits for its message.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "game_flow/flow_support.h"
#include "game_states/cut_scene_state.h"
#include "game_states/title_state.h"
#include "input_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using namespace flow_test;

class StateStack : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Game().Kill();
    }
    void TearDown() override {
        Game().Kill();
        Module<EventManager>::Instance()->Kill();
    }

    // The stack [A] or [A, B], the journal started after the pushes.
    void Build(int states) {
        Game().PushState(RecordingState("A", journal));
        if (states > 1) Game().PushState(RecordingState("B", journal));
        journal.clear();
    }
    std::string TopName() const {
        const auto* top = dynamic_cast<const RecordingState*>(Game().TopState());
        return top ? top->name : std::string("other");
    }

    test_support::TempProfile profile;
    test_support::LogCapture log;
    Journal journal;
};

struct StackCase {
    const char* name;
    int states;  // on the stack before the event
    const char* eventType;
    std::optional<GameStateName::Type> state;
    Journal expected;        // what the recorders were told, in order
    size_t count;            // states on the stack afterwards
    const char* top;         // the recorder on top, or "other"
    std::function<bool(GameState*)> topCheck;  // for a state the event made
};

TEST_F(StateStack, EachMessageChangesTheStackFirstAndThenShowsTheEventToTheNewTop) {
    auto isCutSceneDone = [](GameState* top) {
        auto* cut = dynamic_cast<CutSceneState*>(top);
        return cut && cut->cutsceneDone;
    };
    auto isTitle = [](GameState* top) { return dynamic_cast<TitleState*>(top) != nullptr; };
    const StackCase cases[] = {
        {"push of None", 1, GameLogic::kPushState, GameStateName::None, {"A sees Push State"}, 1, "A", nullptr},
        {"push of 13", 1, GameLogic::kPushState, GameStateName::Type(13), {"A sees Push State"}, 1, "A", nullptr},
        {"change to the endless choice", 2, GameLogic::kChangeState, GameStateName::EndlessModeStart,
         {"B sees Change State"}, 2, "B", nullptr},
        {"change to None", 1, GameLogic::kChangeState, GameStateName::None, {"A sees Change State"}, 1, "A", nullptr},
        {"push of the cut-scene", 1, GameLogic::kPushState, GameStateName::CutScene, {"A Exit"}, 2, "other",
         isCutSceneDone},
        {"change of the top only", 2, GameLogic::kChangeState, GameStateName::Title, {"B Exit"}, 2, "other", isTitle},
        {"pop uncovers", 2, GameLogic::kPopState, std::nullopt, {"B Exit", "A Init", "A sees Pop State"}, 1, "A",
         nullptr},
        {"pop of the last", 1, GameLogic::kPopState, std::nullopt, {"A Exit"}, 0, "other", nullptr},
        {"another message", 1, "Enter Options", std::nullopt, {"A sees Enter Options"}, 1, "A", nullptr},
    };
    for (const StackCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game().Kill();
        Build(c.states);
        Game().ProcessEvent(c.state ? StateEvent(c.eventType, *c.state) : ToGame(c.eventType));
        EXPECT_EQ(journal, c.expected);
        EXPECT_EQ(Game().StateCount(), c.count);
        if (c.count > 0) {
            EXPECT_EQ(TopName(), c.top);
        }
        if (c.topCheck) {
            EXPECT_TRUE(c.topCheck(Game().TopState()));
        }
    }
}

// A key tapped while one state was on top and never read there (Escape on
// an end screen) is no press for the state that a push, a pop or a change
// puts on top; a key pressed afterwards is.
TEST_F(StateStack, APressSeenBeforeANewTopIsNotThatTopsPress) {
    InputManager& input = *Module<InputManager>::Instance();
    const auto tapEscape = [&] {
        const unsigned char none[InputManager::kSdlKeyCount] = {};
        input.LatchKeyDown(InputManager::kEscape);
        input.ScanKeys(none, InputManager::kSdlKeyCount);
        input.ScanMouseButtons(0);
        input.ApplyLatchedPresses();
    };
    const struct {
        const char* eventType;
        std::optional<GameStateName::Type> state;
    } cases[] = {
        {GameLogic::kPushState, GameStateName::Title},
        {GameLogic::kPopState, std::nullopt},
        {GameLogic::kChangeState, GameStateName::Title},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eventType);
        Game().Kill();
        Build(2);
        tapEscape();
        Game().ProcessEvent(c.state ? StateEvent(c.eventType, *c.state) : ToGame(c.eventType));
        EXPECT_FALSE(input.WasKeyPressed(InputManager::kEscape));
        tapEscape();
        EXPECT_TRUE(input.WasKeyPressed(InputManager::kEscape));
    }
}

TEST_F(StateStack, AnEmptyStackTakesPopsAndEventsQuietly) {
    Game().PopState();
    Game().ProcessEvent(ToGame(GameLogic::kPopState));
    Game().ProcessEvent(ToGame("Enter Title"));
    EXPECT_EQ(Game().StateCount(), 0u);
    EXPECT_EQ(Game().TopState(), nullptr);
}

TEST_F(StateStack, APushWithoutAUsableStateIsDroppedWithAWarningNamingIt) {
    Event missing = ToGame(GameLogic::kPushState);
    Event asInt = ToGame(GameLogic::kPushState);
    asInt.SetParam(GameLogic::kStateParam, 4);
    for (const Event& event : {missing, asInt}) {
        Build(1);
        log.Restart();
        Module<EventManager>::Instance()->PublishEvent(event);
        Game().DispatchEvents();
        EXPECT_TRUE(journal.empty()) << journal.front();
        EXPECT_EQ(Game().StateCount(), 1u);
        EXPECT_EQ(log.Count("dropped event \"Push State\""), 1) << log.Text();
        EXPECT_TRUE(log.Has("parameter \"state\"")) << log.Text();
        Game().Kill();
    }
}

// The module runs nothing, and takes none of its messages, until Init.
TEST_F(StateStack, UpdateBeforeInitDoesNothing) {
    Build(2);
    Game().loadingDone = true;
    Module<EventManager>::Instance()->PublishEvent(ToGame(GameLogic::kPopState));
    Game().Update();
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(Game().StateCount(), 2u);
    Game().DispatchEvents();  // the message waited
    EXPECT_EQ(Game().StateCount(), 1u);
}

// A cut-scene that is not done yet stays, even once the load is over,
// until a script says it is done.
TEST_F(StateStack, ACutSceneNotDoneWaitsForItsMessage) {
    Game().PushState(CutSceneState(false));
    Game().loadingDone = true;
    SentTo("GameLogic");
    Game().TopState()->Update();
    EXPECT_TRUE(SentTo("GameLogic").empty());
    Game().ProcessEvent(ToGame(CutSceneState::kCutsceneDone));
    Game().TopState()->Update();
    EXPECT_EQ(TypesOf(SentTo("GameLogic")), std::vector<std::string>{GameLogic::kPopState});
}

}  // namespace
