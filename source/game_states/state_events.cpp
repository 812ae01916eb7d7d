#include "game_states/state_events.h"

#include "event_manager.h"
#include "game_logic.h"

void PostPopState(const std::string& from) {
    Module<EventManager>::Instance()->PublishEvent(Event(from, "GameLogic", GameLogic::kPopState));
}

void PostPushState(const std::string& from, GameStateName::Type state) {
    Event push(from, "GameLogic", GameLogic::kPushState);
    push.SetParam<GameStateName::Type>(GameLogic::kStateParam, state);
    Module<EventManager>::Instance()->PublishEvent(push);
}
