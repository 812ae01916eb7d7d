// PauseState: the pause menu over a running level. Its Init shows the pause
// screen, releases the mouse and freezes the clock (the in-game state below
// resumes it when it is uncovered). Escape closes it; the screen's buttons
// resume play, go to the options, credits, controls or high-score screens,
// or leave for the title (popping itself and the in-game state, with
// GameLogic's titleRequested set so that the level starts afresh).
//
// Main thread only, on GameLogic's stack; holds no data.
#pragma once

#include "game_states/game_state.h"

class PauseState : public GameState {
public:
    // The sender label of the messages it posts.
    static constexpr const char* kName = "PauseState";

    void Init() override;
    void Update() override;
    void Exit() override {}
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new PauseState(*this); }
};
