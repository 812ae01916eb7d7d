// TitleState: the title menu, the bottom of the stack once the splash is
// over. Its screen's buttons post the menu messages it answers: a new game,
// options, credits, key bindings, high scores. Escape toggles the quit
// question.
//
// Main thread. Init announces the title screen, stops the music, sends the
// version line, releases the mouse and pauses the clock (again on every
// return to it). Sends to "GameLogic", "InterfaceManager", "SoundManager".
#pragma once

#include "game_states/game_state.h"

class TitleState : public GameState {
public:
    void Init() override;
    void Update() override;
    void Exit() override {}
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new TitleState(*this); }
};
