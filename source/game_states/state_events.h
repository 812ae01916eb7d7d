// The stack messages a game state posts to "GameLogic": each is queued and
// takes effect at GameLogic's next update. `from` labels the sender (free
// text, read by no receiver). Any thread may post; the states do on the main
// thread.
#pragma once

#include <string>

#include "game_states/game_state.h"

void PostPopState(const std::string& from);
void PostPushState(const std::string& from, GameStateName::Type state);
