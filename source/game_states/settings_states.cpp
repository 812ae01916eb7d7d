#include "game_states/settings_states.h"

#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"

void SettingsScreenState::Init() { state_events::ShowScreen(screen); }

void SettingsScreenState::Update() {
    if (Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape)) state_events::PopState(name);
}

void SettingsScreenState::HandleMessage(const Event& event) {
    if (event.eventType == MenuMessage::kEnterTitle || event.eventType == MenuMessage::kEnterPause)
        state_events::PopState(name);
}
