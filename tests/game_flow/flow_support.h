// What the game-flow tests share: a game state that writes down every call
// it receives, the events a client has been sent, and GameLogic emptied
// between tests.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "event_manager.h"
#include "game_logic.h"
#include "game_states/game_state.h"

namespace flow_test {

using Journal = std::vector<std::string>;

// Writes "<name> Init", "<name> Update", "<name> Exit" and "<name> sees
// <eventType>" into the journal.
class RecordingState : public GameState {
public:
    RecordingState(std::string stateName, Journal& into) : name(std::move(stateName)), journal(&into) {}
    void Init() override { journal->push_back(name + " Init"); }
    void Update() override { journal->push_back(name + " Update"); }
    void Exit() override { journal->push_back(name + " Exit"); }
    void HandleMessage(const Event& event) override { journal->push_back(name + " sees " + event.eventType); }
    GameState* Clone() const override { return new RecordingState(*this); }

    std::string name;
    Journal* journal;
};

// Keeps a copy of every event shown to it.
class KeepingState : public GameState {
public:
    explicit KeepingState(std::vector<Event>& into) : kept(&into) {}
    void Init() override {}
    void Update() override {}
    void Exit() override {}
    void HandleMessage(const Event& event) override { kept->push_back(event); }
    GameState* Clone() const override { return new KeepingState(*this); }

    std::vector<Event>* kept;
};

inline std::vector<Event> OfType(const std::vector<Event>& events, const std::string& type) {
    std::vector<Event> matching;
    for (const Event& event : events)
        if (event.eventType == type) matching.push_back(event);
    return matching;
}

inline GameLogic& Game() { return *Module<GameLogic>::Instance(); }

// Everything sent to `client` since the last look, oldest first.
inline std::deque<Event> SentTo(const std::string& client) {
    return Module<EventManager>::Instance()->PollEvents(client);
}

inline std::vector<std::string> TypesOf(const std::deque<Event>& events) {
    std::vector<std::string> types;
    for (const Event& event : events) types.push_back(event.eventType);
    return types;
}

// An event to "GameLogic" of `type`.
inline Event ToGame(const std::string& type) { return Event("test", "GameLogic", type); }

inline Event StateEvent(const std::string& type, GameStateName::Type state) {
    Event event = ToGame(type);
    event.SetParam(GameLogic::kStateParam, state);
    return event;
}

}  // namespace flow_test
