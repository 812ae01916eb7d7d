#include "game_states/end_of_level_states.h"

#include "game_logic.h"
#include "game_states/level_states.h"
#include "game_states/menu_messages.h"
#include "game_states/run_statistics.h"
#include "game_states/state_events.h"

namespace {

// The level whose win ends the game; the score state below its win screen
// stores the statistics, so they outlive the win screen.
constexpr const char* kLastLevel = LevelThree::kCategory;

void AnswerMenuMessage(const Event& event, const char* sender) {
    if (event.eventType == MenuMessage::kEnterTitle) {
        state_events::LeaveForTitle(sender);
    } else if (event.eventType == MenuMessage::kEnterGame) {
        state_events::PopState(sender);
    }
}

}  // namespace

void WinState::Init() { PostStatisticsScreen(InterfaceState::Win, true); }

void WinState::Exit() {
    GameLogic& game = *Module<GameLogic>::Instance();
    if (game.levelName != kLastLevel) game.ResetStatistics();
}

void WinState::HandleMessage(const Event& event) { AnswerMenuMessage(event, kSender); }

void GameOverState::Init() { PostStatisticsScreen(InterfaceState::GameOver, false); }

void GameOverState::Exit() { Module<GameLogic>::Instance()->ResetStatistics(); }

void GameOverState::HandleMessage(const Event& event) { AnswerMenuMessage(event, kSender); }
