// The game-state stack driven frame by frame without a window, for the
// in-game and pause states: a stand-in state at the bottom (the title's
// place), the events posted to "GameLogic" and to the modules the states
// write to recorded in order, and level loads run by the real loader on the
// test's thread. The hand-over's OpenGL half needs a window, so a finished
// load is handed over here by its flags alone (levelValid, loadingDone),
// which is all the states read of it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_logic/player_controller.h"
#include "game_states/ingame_state.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/clock.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"
#include "support/stopped_clock.h"
#include "system.h"

namespace game_flow_test {

// The bottom of the stack: counts how often it became the top.
class StandInState : public GameState {
public:
    void Init() override { ++inits; }
    void Update() override {}
    void Exit() override {}
    GameState* Clone() const override { return new StandInState(*this); }
    int inits = 0;
};

// One event as it was posted.
struct Posted {
    std::string to;
    std::string type;
    int state = -1;  // the "state" parameter of a stack message, if any
    std::string waveLine;  // the text of a wave line to the interface
};

class IngamePlay : public ::testing::Test {
protected:
    static constexpr double kStep = 1.0 / 60.0;
    static constexpr const char* kWatched[] = {addressee::kInterfaceManager, addressee::kCollisionManager,
                                               addressee::kBehaviorManager, addressee::kPhysics};

    void SetUp() override {
        EventManager& events = *Module<EventManager>::Instance();
        events.Init();
        events.RegisterClient(addressee::kGameLogic);
        for (const char* client : kWatched) events.RegisterClient(client);
        Module<ResourceManager>::Instance()->Init();
        Module<ObjectManager>::Instance()->Init();
        Module<LuaManager>::Instance()->Init();
        Module<SoundManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
        ClearKeys();
        System& system = Sys();
        system.frameTime.store(kStep);
        system.Pause(false);
        platform::SetClockTime(clock);
        GameLogic& logic = Logic();
        logic.loadingDone = true;
        logic.titleRequested = false;
        logic.levelValid = true;
        logic.endlessMode = false;
        logic.PushState(StandInState());
        log.Restart();
    }
    void TearDown() override {
        Module<GameLogic>::Instance()->Kill();  // empties the stack
        Module<BehaviorManager>::Instance()->ClearPendingObjects();
        Module<ObjectManager>::Instance()->particleSystemController.Clear();
        Module<SoundManager>::Instance()->Kill();
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        InterfaceManager& ui = *Module<InterfaceManager>::Instance();
        ui.ClearInterfaceObjects();
        ui.waveCountText.clear();
        ui.restartPending = false;
        Module<ObjectManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Kill();
        Sys().Pause(false);
    }

    static GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
    static System& Sys() { return *Module<System>::Instance(); }
    static ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
    static InputManager& Input() { return *Module<InputManager>::Instance(); }
    static void ClearKeys() {
        std::fill(std::begin(Input().keyDown), std::end(Input().keyDown), false);
        std::fill(std::begin(Input().keyPressed), std::end(Input().keyPressed), false);
    }

    // Posts a message to "GameLogic" as a button or another module would.
    static void Post(const std::string& type) {
        Module<EventManager>::Instance()->PublishEvent(Event("test", addressee::kGameLogic, type));
    }
    static void PostPush(GameStateName::Type state) {
        Event push("test", addressee::kGameLogic, GameLogic::kPushState);
        push.SetParam<GameStateName::Type>(GameLogic::kStateParam, state);
        Module<EventManager>::Instance()->PublishEvent(push);
    }
    static void PostChangeLevel(const std::string& key) {
        Event change("test", addressee::kGameLogic, IngameState::kChangeLevel);
        change.SetParam<std::string>(IngameState::kLevelParam, key);
        Module<EventManager>::Instance()->PublishEvent(change);
    }

    // One frame of GameLogic's part of the loop: its messages, then the top.
    void Frame() {
        clock += kStep;
        platform::SetClockTime(clock);
        Sys().frameStartTime.store(Sys().GetTime());
        EventManager& events = *Module<EventManager>::Instance();
        events.Update();
        for (const char* client : kWatched)
            for (const Event& event : events.PollEvents(client)) {
                Record(event);
                if (interfaceAnswers && event.to == addressee::kInterfaceManager)
                    Module<InterfaceManager>::Instance()->ProcessEvent(event);
            }
        for (const Event& event : events.PollEvents(addressee::kGameLogic)) {
            Record(event);
            Deliver(event);
        }
        GameLogic& logic = Logic();
        if (logic.loadingDone && logic.TopState()) logic.TopState()->Update();
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) Frame();
    }
    // Frames until `done` holds, at most `limit`; false when it never did.
    bool RunUntil(const std::function<bool()>& done, int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Frame();
        }
        return done();
    }

    // The in-game state on top of the stack, or null.
    static IngameState* Ingame() { return dynamic_cast<IngameState*>(Logic().TopState()); }
    // "Enter Game" as the title answers it, then frames until play begins.
    bool EnterGame() {
        PostPush(GameStateName::Ingame);
        PostChangeLevel(IngameState::kFirstLevel);
        return RunUntil([this] { return Ingame() && Logic().loadingDone && loads == 2 && !InFlight(); });
    }
    // A load asked for and not yet handed over here.
    bool InFlight() const { return loads > handedOver; }

    int CountPosted(const std::string& type, int state = -1) const {
        int count = 0;
        for (const Posted& p : posted) count += p.type == type && (state < 0 || p.state == state);
        return count;
    }
    // The stack messages posted to "GameLogic" since `from`, as text: "pop",
    // "push 8", "load".
    std::vector<std::string> StackMessages(size_t from = 0) const {
        std::vector<std::string> out;
        for (size_t i = from; i < posted.size(); ++i) {
            const Posted& p = posted[i];
            if (p.to != addressee::kGameLogic) continue;
            if (p.type == GameLogic::kPopState) out.push_back("pop");
            if (p.type == GameLogic::kPushState) out.push_back("push " + std::to_string(p.state));
            if (p.type == GameLogic::kLoadLevelThread) out.push_back("load");
        }
        return out;
    }

    sound_test::RecordingSoundLayer layer;  // before anything loads a sample
    // The real interface module also handles what is sent to it (its
    // registry of widgets then shows the screens the states ask for).
    bool interfaceAnswers = false;
    test_support::LogCapture log;
    std::vector<Posted> posted;
    int loads = 0;       // "Load Level Thread" messages run
    int handedOver = 0;  // "Level Loaded" messages handed over
    double clock = 1000.0;
    test_support::StoppedClock stoppedClock;  // the frames set the time

private:
    void Record(const Event& event) {
        Posted p{event.to, event.eventType, -1, std::string()};
        if (event.Has(GameLogic::kStateParam)) {
            if (event.to == addressee::kGameLogic)
                p.state = event.GetParam<GameStateName::Type>(GameLogic::kStateParam);
        }
        if (event.eventType == InterfaceManager::kWaveCountMessage)
            p.waveLine = event.GetParam<std::string>(InterfaceManager::kMessageParam);
        posted.push_back(p);
    }
    void Deliver(const Event& event) {
        GameLogic& logic = Logic();
        if (event.eventType == GameLogic::kLoadLevelThread) {
            ++loads;
            logic.loadingDone = false;
            logic.LoadLevel();
        } else if (event.eventType == GameLogic::kLevelLoaded) {
            ++handedOver;
            logic.levelValid = event.GetParam<bool>(GameLogic::kValidParam);
            logic.loadingDone = true;
        } else {
            logic.ProcessEvent(event);
            return;
        }
        if (logic.TopState()) logic.TopState()->HandleMessage(event);
    }
};

}  // namespace game_flow_test
