// Small helpers the game states share to post their events. Main thread (the
// states' own); each publishes at once and takes no lock.
#pragma once

#include <string>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "graphics.h"
#include "interface/game_message.h"
#include "interface_manager.h"

namespace state_events {

inline void Publish(Event event) { Module<EventManager>::Instance()->PublishEvent(std::move(event)); }

// "Set" to "Graphics" with one of its bool properties.
inline void SetGraphics(const char* property, bool value) {
    Event set(addressee::kGameLogic, addressee::kGraphics, Graphics::kSet);
    set.SetParam(property, value);
    Publish(set);
}

// "State Change" to "InterfaceManager", from "GameLogic": the interface
// builds `screen`.
inline void ShowScreen(InterfaceState::Type screen) {
    Event change(addressee::kGameLogic, addressee::kInterfaceManager, InterfaceManager::kStateChange);
    change.SetParam(InterfaceManager::kStateParam, screen);
    Publish(change);
}

// The head-up display's wave line ("Wave Count Message"), from the in-game
// state; "" clears it.
inline void ShowWaveLine(const std::string& text) {
    Event line(IngameState::kName, addressee::kInterfaceManager, InterfaceManager::kWaveCountMessage);
    line.SetParam(InterfaceManager::kMessageParam, text);
    Publish(line);
}

// "Change Level" to "GameLogic": the in-game state loads the level of that
// key (IngameState::kFirstLevel and on) at its next Init.
inline void ChangeLevel(const std::string& from, const std::string& key) {
    Event change(from, addressee::kGameLogic, IngameState::kChangeLevel);
    change.SetParam(IngameState::kLevelParam, key);
    Publish(change);
}

// "Delete all Game Messages" to "InterfaceManager", from "GameLogic".
inline void ClearLines() {
    Publish(Event(addressee::kGameLogic, addressee::kInterfaceManager, kDeleteAllGameMessagesEvent));
}

inline void PopState(const std::string& from) {
    Publish(Event(from, addressee::kGameLogic, GameLogic::kPopState));
}

inline void PushState(const std::string& from, GameStateName::Type state) {
    Event push(from, addressee::kGameLogic, GameLogic::kPushState);
    push.SetParam(GameLogic::kStateParam, state);
    Publish(push);
}

// A state over the in-game state leaves for the title: it and the in-game
// state are popped, and GameLogic's titleRequested has the level start
// afresh (the first pop uncovers the in-game state, whose Init consumes the
// flag; the second leaves the title on top).
void LeaveForTitle(const std::string& from);

// The run ends as a win: logs "player won", pops `pops` states and stacks the
// credits, the high scores and the win screen, the win screen on top, each
// shown when the one above it is dismissed.
void WinTheRun(const std::string& from, int pops);

// After a level load, when instanced drawing is in use, the per-mesh
// instance lists are built again from the new level's objects.
void RebuildInstanceBuffersIfInstanced();

}  // namespace state_events
