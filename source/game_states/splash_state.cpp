#include "game_states/splash_state.h"

#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "system.h"

namespace {

// The label the title's hand-over has always carried.
constexpr const char* kSender = "GameLogic:PauseState";

}  // namespace

void SplashState::Init() {
    state_events::SetGraphics(Graphics::kParamRenderingSplash, true);
    Module<System>::Instance()->SetSplashPlaying(true);
}

void SplashState::Update() {
    System& system = *Module<System>::Instance();
    if (Module<GameLogic>::Instance()->loadingDone && !system.IsSplashPlaying()) HandOver();
    if (Module<InputManager>::Instance()->AnyKeyPressed()) system.SetSplashPlaying(false);
}

void SplashState::HandOver() {
    Module<System>::Instance()->Log("splash screen over");
    state_events::Publish(Event(kSender, addressee::kInterfaceManager, InterfaceManager::kLoadTitle));
    Event change(kSender, addressee::kGameLogic, GameLogic::kChangeState);
    change.SetParam(GameLogic::kStateParam, GameStateName::Title);
    state_events::Publish(change);
    state_events::RebuildInstanceBuffersIfInstanced();
    state_events::SetGraphics(Graphics::kParamRenderingSplash, false);
}
