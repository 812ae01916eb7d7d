// SplashState: the first state of every run. The start-up slides play while
// the first level loads; once both are over (or, after the load, a key skips
// the slides) it hands over to the title state.
//
// Main thread. Sends "Set" ("isRenderingSplash") to "Graphics", and at the
// hand-over "Load Title" to "InterfaceManager" and "Change State" 2 to
// "GameLogic". Handles no message.
#pragma once

#include "game_states/game_state.h"

class SplashState : public GameState {
public:
    // Shows the slides and marks them playing.
    void Init() override;
    // Runs only once the first load is handed over, so a key pressed while it
    // loads does not skip the slides.
    void Update() override;
    void Exit() override {}
    GameState* Clone() const override { return new SplashState(*this); }

private:
    void HandOver();
};
