// CutSceneState: stands on top of the in-game state while a level loads and
// pops itself once the load has been handed over (its Update runs only then).
//
// Main thread. Handles "Cutscene Done" (scripts may send it); sends "Pop
// State" to "GameLogic".
#pragma once

#include "game_states/game_state.h"

class CutSceneState : public GameState {
public:
    static constexpr const char* kCutsceneDone = "Cutscene Done";

    // Not done: it then waits for "Cutscene Done". The state that "Push
    // State" 8 makes is done already.
    explicit CutSceneState(bool done = false) : cutsceneDone(done) {}

    void Init() override {}
    void Update() override;
    void Exit() override {}
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new CutSceneState(*this); }

    bool cutsceneDone;
};
