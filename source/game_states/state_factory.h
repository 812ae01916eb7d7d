// The state that a "Push State" or "Change State" names: a fresh prototype
// for GameLogic's stack operations to clone.
// Main thread (GameLogic's event handling); no shared state. Each state
// added to the game gets its case here.
#pragma once

#include <memory>

#include "game_states/game_state.h"

// Null for None and for values outside the table (nothing is logged).
std::unique_ptr<GameState> MakeGameState(GameStateName::Type state);
