// PauseState: the pause menu's screen, its Escape key and its six messages.
#include "game_states/pause_state.h"

#include "event_manager.h"
#include "game_logic.h"
#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "system.h"

void PauseState::Init() {
    Event screen("GameLogic", "InterfaceManager", InterfaceManager::kStateChange);
    screen.SetParam<InterfaceState::Type>(InterfaceManager::kStateParam, InterfaceState::Pause);
    Module<EventManager>::Instance()->PublishEvent(screen);
    System& system = *Module<System>::Instance();
    system.ReleaseMouse();
    system.Pause(true);
}

void PauseState::Update() {
    if (Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape)) PostPopState(kName);
}

void PauseState::HandleMessage(const Event& event) {
    const std::string& type = event.eventType;
    if (type == kEnterGame) {
        PostPopState(kName);
    } else if (type == kEnterHighScores) {
        PostPopState(kName);
        PostPushState(kName, GameStateName::Score);
    } else if (type == kEnterOptions) {
        PostPushState(kName, GameStateName::Options);
    } else if (type == kEnterCredits) {
        PostPushState(kName, GameStateName::Credits);
    } else if (type == kEnterControls) {
        PostPushState(kName, GameStateName::Controls);
    } else if (type == kEnterTitle) {
        // The first pop uncovers the in-game state, whose Init consumes the
        // flag; the second leaves the title on top.
        PostPopState(kName);
        PostPopState(kName);
        Module<GameLogic>::Instance()->titleRequested = true;
    }
}
