// TitleState: the title menu, the bottom of the stack once the splash is
// over. Its screen's buttons post the menu messages it answers: a new game,
// options, credits, key bindings, high scores. Escape toggles the quit
// question.
//
// After a run the level reloads behind the title, which shows at once and
// stands over that load itself: a menu message that comes while it runs is
// held and answered, in order, at the first update after the hand-over (no
// game or menu starts on a half-loaded level), and that update has the
// instance lists rebuilt from the new level's objects.
//
// Main thread. Init announces the title screen, stops the music, sends the
// version line, releases the mouse and pauses the clock (again on every
// return to it). Sends to "GameLogic", "InterfaceManager", "SoundManager".
#pragma once

#include <string>
#include <vector>

#include "game_states/game_state.h"

class TitleState : public GameState {
public:
    void Init() override;
    // Runs only once the level is loaded (GameLogic gates it).
    void Update() override;
    void Exit() override {}
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new TitleState(*this); }

private:
    void Answer(const std::string& message);

    std::vector<std::string> heldMessages;  // menu messages that came during a load
    bool levelLoadingBehind = false;        // Init found a load running
};
