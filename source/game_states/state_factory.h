// The state that a "Push State" or "Change State" names: a fresh prototype
// for GameLogic's stack operations to clone.
#pragma once

#include <memory>

#include "game_states/game_state.h"

// Null for None and for values outside the table (nothing is logged), and for
// a state this build does not have yet (one warning per state).
std::unique_ptr<GameState> MakeGameState(GameStateName::Type state);
