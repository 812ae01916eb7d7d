// WinState and GameOverState: the screens that end a level, "Mission
// Complete" and "Mission Failed", each with the run's statistics.
//
// Both answer the buttons of their screens: "Enter Game" pops the state (the
// in-game state beneath restarts its level or loads the next; at the end of
// the game the score state beneath shows the table), "Enter Title" pops it
// and the state beneath and sets GameLogic's titleRequested. Both post to
// "GameLogic" and "InterfaceManager" only.
//
// Main thread. Init announces the screen and its eight statistics lines
// every time the state becomes the top. Exit clears the statistics, except a
// WinState leaving the third level, whose statistics the score state beneath
// then stores.
#pragma once

#include "game_states/game_state.h"

class WinState : public GameState {
public:
    static constexpr const char* kSender = "GameLogic:WinState";

    // Deletes the lines an earlier screen left, then the screen and the lines.
    void Init() override;
    void Update() override {}
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new WinState(*this); }
};

class GameOverState : public GameState {
public:
    static constexpr const char* kSender = "GameLogic:GameOverState";

    void Init() override;
    void Update() override {}
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new GameOverState(*this); }
};
