// The quit question: built by the InterfaceManager itself, over whatever
// screen showed, which "Quit Cancel" rebuilds.
#include "game_logic/addressees.h"
#include "interface/button.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "interface_manager/screen_widgets.h"
#include "system.h"

namespace {

// Centred across the window from a button's default width, 10 wider than that.
void AddAnswer(InterfaceManager& ui, const char* answer, float y, const char* message) {
    const System& system = *Module<System>::Instance();
    const float x = 0.5f * float(system.width) - 0.5f * ButtonBase::kDefaultWidth;
    screen_widgets::AddButton(ui, Vector(x, y * float(system.height), 0.0f, 0.0f), ButtonBase::kDefaultWidth + 10.0f,
                              40.0f, answer, answer, Color4{1.0f, 0.0f, 0.0f, 0.0f},
                              {screen_widgets::FromInterface(addressee::kInterfaceManager, message)});
}

}  // namespace

namespace message_handlers {

void ShowQuitQuestion(InterfaceManager& ui) {
    // Asked twice (a click and Escape in one frame), the second would make
    // the question its own screen to go back to, and "No" would never leave it.
    if (ui.currentState == InterfaceState::QuitConfirm) return;
    ui.ClearInterfaceObjects();
    ui.previousState = ui.currentState;
    ui.currentState = InterfaceState::QuitConfirm;
    screen_widgets::AddBanner(ui, "Are you sure you want to quit?");
    AddAnswer(ui, "Yes", 0.5f, InterfaceManager::kQuit);
    AddAnswer(ui, "No", 0.4f, InterfaceManager::kQuitCancel);
}

}  // namespace message_handlers
