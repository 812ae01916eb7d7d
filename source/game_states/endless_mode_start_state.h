// EndlessModeStartState: the choice after level three's last scripted wave,
// pushed over the in-game state: stop now and win, or fight endless waves
// until death.
//
// "Stop Now" (ignored once the player has died) pops this state and the
// in-game state and stacks the credits, the score and the win screen, the
// win screen on top. "Infinite Mode" sets GameLogic's endlessMode and pops
// this state, so the level goes on. Anything else is ignored.
//
// Main thread. Init announces the choice screen every time the state
// becomes the top. Posts to "GameLogic" and "InterfaceManager" only.
#pragma once

#include "game_states/game_state.h"

class EndlessModeStartState : public GameState {
public:
    // The messages of the choice screen's two buttons.
    static constexpr const char* kStopNow = "Stop Now";
    static constexpr const char* kInfiniteMode = "Infinite Mode";
    static constexpr const char* kSender = "GameLogic:EndlessModeStartState";

    void Init() override;
    void Update() override {}
    void Exit() override {}
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new EndlessModeStartState(*this); }
};
