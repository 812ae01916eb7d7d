// ScoreState: the high-score screen. It shows the InterfaceManager's score
// list as text lines under the screen's headings, and when the player enters
// a name it turns the run just played (GameLogic's statistics) into a new
// entry, if the run beats the tenth. Holds no data of its own.
//
// Main thread only, inside GameLogic's update. Sends "State Change",
// "Delete all Game Messages" and "Game Message" to "InterfaceManager" and
// "Pop State" to "GameLogic"; handles "Enter Game" (the screen's "Continue")
// and "Update Score List" (the name box's Enter, with the typed "name").
#pragma once

#include "game_states/game_state.h"

class ScoreState : public GameState {
public:
    void Init() override;
    void Update() override {}
    void Exit() override;
    // Whatever the message, the table is sent again afterwards.
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override { return new ScoreState(*this); }

    // Clears the text lines, then sends the heading and the ten rows.
    static void ShowHighScores();

private:
    // Inserts the run when it qualifies and clears the statistics. Throws
    // the typed-parameter errors when a qualifying event lacks its name.
    static void InsertRun(const Event& event);
};
