// CreditsState: the credits roll, repeating until the player leaves with
// Escape, "Enter Pause" or "Enter Title".
//
// Main thread. Sends "Set" ("isRenderingCredits") to "Graphics", "State
// Change" 4 to "InterfaceManager" and "Pop State" to "GameLogic". Consumes the
// Escape press it acts on, so the state below never sees it.
#pragma once

#include "game_states/game_state.h"

class CreditsState : public GameState {
public:
    // Starts the roll from its first slide and announces the credits screen.
    void Init() override;
    void Update() override;
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new CreditsState(*this); }
};
