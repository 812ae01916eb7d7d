#include "game_states/endless_mode_start_state.h"

#include "game_logic.h"
#include "game_states/state_events.h"
#include "interface_manager.h"
#include "system.h"

namespace {

// This state and the in-game state below it go.
void StopAndWin() { state_events::WinTheRun(EndlessModeStartState::kSender, 2); }

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
