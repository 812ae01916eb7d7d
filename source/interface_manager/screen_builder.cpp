// InterfaceManager::BuildInterface's choice of a screen's builder.
#include "interface_manager.h"
#include "interface_manager/screens.h"

namespace screens {

void BuildWidgets(InterfaceManager& ui, InterfaceState::Type screen) {
    switch (screen) {
        case InterfaceState::Pause: BuildPause(ui); break;
        case InterfaceState::Title: BuildTitle(ui); break;
        case InterfaceState::Ingame: BuildHud(ui); break;
        case InterfaceState::Credits: BuildCredits(ui); break;
        case InterfaceState::Options: BuildOptions(ui); break;
        case InterfaceState::Controls: BuildControls(ui); break;
        case InterfaceState::GameOver: BuildGameOver(ui); break;
        case InterfaceState::Win: BuildWin(ui); break;
        case InterfaceState::EndlessModeStart: BuildEndlessModeStart(ui); break;
        case InterfaceState::Score: BuildScore(ui); break;
        default: break;
    }
}

}  // namespace screens
