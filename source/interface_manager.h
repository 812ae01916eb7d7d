// InterfaceManager: a placeholder until its own issue builds the module.
// It will build the menus and the head-up display.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "interface/interface_state.h"
#include "interface/score_list.h"
#include "module.h"

class InterfaceManager : public virtual Module<InterfaceManager> {
public:
    InterfaceManager() : Module<InterfaceManager>("InterfaceManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // The screen now shown and the one before it; the sound module reads them
    // for the music level. Main thread only.
    InterfaceState::Type currentState = InterfaceState::Blank;
    InterfaceState::Type previousState = InterfaceState::Blank;

    // The high-score table, read from (or made in) the profile's score file
    // when the module is constructed. Main thread only.
    ScoreList scoreList;
};
