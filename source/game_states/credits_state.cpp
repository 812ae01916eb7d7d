#include "game_states/credits_state.h"

#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "object_manager.h"

namespace {

constexpr const char* kSender = "CreditsState";

}  // namespace

void CreditsState::Init() {
    Module<ObjectManager>::Instance()->credits.Restart();
    state_events::SetGraphics(Graphics::kParamRenderingCredits, true);
    state_events::ShowScreen(InterfaceState::Credits);
}

void CreditsState::Update() {
    if (Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape)) state_events::PopState(kSender);
}

void CreditsState::Exit() { state_events::SetGraphics(Graphics::kParamRenderingCredits, false); }

void CreditsState::HandleMessage(const Event& event) {
    if (event.eventType == MenuMessage::kEnterPause || event.eventType == MenuMessage::kEnterTitle)
        state_events::PopState(kSender);
}
