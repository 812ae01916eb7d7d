// InterfaceManager: a placeholder until its own issue builds the module.
// It will build the menus and the head-up display.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "interface/interface_state.h"
#include "module.h"

class InterfaceManager : public virtual Module<InterfaceManager> {
public:
    // Messages the interface will handle, and their parameters: the screen
    // to build ("state", an InterfaceState::Type) and the head-up display's
    // wave line ("message", a string; empty clears it).
    static constexpr const char* kStateChange = "State Change";
    static constexpr const char* kStateParam = "state";
    static constexpr const char* kWaveCountMessage = "Wave Count Message";
    static constexpr const char* kMessageParam = "message";

    InterfaceManager() : Module<InterfaceManager>("InterfaceManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // The screen now shown and the one before it; the sound module reads them
    // for the music level. Main thread only.
    InterfaceState::Type currentState = InterfaceState::Blank;
    InterfaceState::Type previousState = InterfaceState::Blank;
};
