// The state that a "Push State" or "Change State" names: a fresh prototype
// for GameLogic's stack operations to clone.
#pragma once

#include <memory>

#include "game_states/game_state.h"

// Null for None and for values outside the table (nothing is logged).
std::unique_ptr<GameState> MakeGameState(GameStateName::Type state);
