#include "game_states/endless_mode_start_state.h"

#include "game_logic.h"
#include "game_states/state_events.h"
#include "interface_manager.h"
#include "system.h"

namespace {

// The run ends as a win: the credits, the high scores and the win screen,
// each shown when the one above it is dismissed.
void StopAndWin() {
    state_events::PopState(EndlessModeStartState::kSender);
    state_events::PopState(EndlessModeStartState::kSender);
    Module<System>::Instance()->Log("player won");
    for (GameStateName::Type state : {GameStateName::Credits, GameStateName::Score, GameStateName::Win})
        state_events::PushState(EndlessModeStartState::kSender, state);
}

}  // namespace

void EndlessModeStartState::Init() { state_events::ShowScreen(InterfaceState::EndlessModeStart); }

void EndlessModeStartState::HandleMessage(const Event& event) {
    GameLogic& game = *Module<GameLogic>::Instance();
    if (event.eventType == kStopNow) {
        if (!game.playerDied) StopAndWin();
    } else if (event.eventType == kInfiniteMode) {
        game.endlessMode = true;
        state_events::PopState(kSender);
    }
}
