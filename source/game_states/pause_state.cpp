// PauseState: the pause menu's screen, its Escape key and its six messages.
#include "game_states/pause_state.h"

#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "system.h"

void PauseState::Init() {
    state_events::ShowScreen(InterfaceState::Pause);
    System& system = *Module<System>::Instance();
    system.ReleaseMouse();
    system.Pause(true);
}

void PauseState::Update() {
    if (Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape)) state_events::PopState(kName);
}

void PauseState::HandleMessage(const Event& event) {
    const std::string& type = event.eventType;
    if (type == MenuMessage::kEnterGame) {
        state_events::PopState(kName);
    } else if (type == MenuMessage::kEnterHighScores) {
        state_events::PopState(kName);
        state_events::PushState(kName, GameStateName::Score);
    } else if (type == MenuMessage::kEnterOptions) {
        state_events::PushState(kName, GameStateName::Options);
    } else if (type == MenuMessage::kEnterCredits) {
        state_events::PushState(kName, GameStateName::Credits);
    } else if (type == MenuMessage::kEnterControls) {
        state_events::PushState(kName, GameStateName::Controls);
    } else if (type == MenuMessage::kEnterTitle) {
        state_events::LeaveForTitle(kName);
    }
}
