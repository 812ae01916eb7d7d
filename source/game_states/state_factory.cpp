#include "game_states/state_factory.h"

#include "game_states/credits_state.h"
#include "game_states/cut_scene_state.h"
#include "game_states/end_of_level_states.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/ingame_state.h"
#include "game_states/pause_state.h"
#include "game_states/score_state.h"
#include "game_states/settings_states.h"
#include "game_states/splash_state.h"
#include "game_states/title_state.h"

std::unique_ptr<GameState> MakeGameState(GameStateName::Type state) {
    switch (state) {
        case GameStateName::Pause:
            return std::make_unique<PauseState>();
        case GameStateName::Ingame:
            return std::make_unique<IngameState>();
        case GameStateName::Splash:
            return std::make_unique<SplashState>();
        case GameStateName::Title:
            return std::make_unique<TitleState>();
        case GameStateName::Credits:
            return std::make_unique<CreditsState>();
        case GameStateName::CutScene:
            return std::make_unique<CutSceneState>(true);
        case GameStateName::Options:
            return std::make_unique<OptionsState>();
        case GameStateName::Controls:
            return std::make_unique<ControlsState>();
        case GameStateName::Score:
            return std::make_unique<ScoreState>();
        case GameStateName::GameOver:
            return std::make_unique<GameOverState>();
        case GameStateName::Win:
            return std::make_unique<WinState>();
        case GameStateName::EndlessModeStart:
            return std::make_unique<EndlessModeStartState>();
        case GameStateName::None:
            break;
    }
    return nullptr;
}
