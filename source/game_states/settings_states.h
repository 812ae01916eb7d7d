// OptionsState and ControlsState: the options screen (screen mode, volumes)
// and the key-binding screen, pushed over the title or the pause menu. Each
// announces its screen in Init; its buttons' "Enter Title" or "Enter Pause",
// or Escape, pop it, back to whichever menu lies beneath. They hold no data;
// the screens' Apply and Ok are the InterfaceManager's.
//
// Main thread, on GameLogic's stack. Send "State Change" to
// "InterfaceManager" and "Pop State" to "GameLogic". An Escape that a
// key-binding button takes to cancel its capture never reaches them: the
// button consumes the press.
#pragma once

#include "game_states/game_state.h"
#include "interface/interface_state.h"

// What the two states share: the screen they show and the name they sign with.
class SettingsScreenState : public GameState {
public:
    void Init() override;
    void Update() override;
    void Exit() override {}
    void HandleMessage(const Event& event) override;

protected:
    SettingsScreenState(const char* name, InterfaceState::Type screen) : name(name), screen(screen) {}

private:
    const char* name;
    InterfaceState::Type screen;
};

class OptionsState : public SettingsScreenState {
public:
    static constexpr const char* kName = "OptionsState";
    OptionsState() : SettingsScreenState(kName, InterfaceState::Options) {}
    GameState* Clone() const override { return new OptionsState(*this); }
};

class ControlsState : public SettingsScreenState {
public:
    static constexpr const char* kName = "ControlsState";
    ControlsState() : SettingsScreenState(kName, InterfaceState::Controls) {}
    GameState* Clone() const override { return new ControlsState(*this); }
};
