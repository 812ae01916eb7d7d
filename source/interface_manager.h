// InterfaceManager: a placeholder until its own issue builds the module.
// It will build the menus and the head-up display.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "interface/interface_state.h"
#include "module.h"

class InterfaceManager : public virtual Module<InterfaceManager> {
public:
    // Messages handled here that the game states send, and the parameter of
    // "State Change" (an InterfaceState::Type).
    static constexpr const char* kStateChange = "State Change";
    static constexpr const char* kStateParam = "state";
    static constexpr const char* kLoadTitle = "Load Title";
    static constexpr const char* kQuitConfirm = "Quit Confirm";
    static constexpr const char* kQuitCancel = "Quit Cancel";

    InterfaceManager() : Module<InterfaceManager>("InterfaceManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // The settings file (interface_manager/settings_file.h). LoadSettings sets
    // the key bindings and volumes from it, once at start-up. SaveSettings
    // writes every value in force; a handler that has just sent "Music
    // Volume" or "Sound Volume" passes the percentages it sent (the sound
    // module takes them in only at its next update), -1 for one not sent.
    void LoadSettings();
    void SaveSettings(int sentMusicPercent = -1, int sentSoundPercent = -1);

    // The screen now shown and the one before it; the sound module reads them
    // for the music level. Main thread only.
    InterfaceState::Type currentState = InterfaceState::Blank;
    InterfaceState::Type previousState = InterfaceState::Blank;
};
