// The quit question: built by the InterfaceManager itself, over whatever
// screen showed, which "Quit Cancel" rebuilds.
#include "game_logic/addressees.h"
#include "interface/button.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "system.h"

namespace {

void AddAnswer(InterfaceManager& ui, const char* answer, float y, const char* message) {
    auto* button = dynamic_cast<Button*>(ui.CreateInterfaceObject(InterfaceManager::kButton, Vector()));
    if (!button) return;
    const System& system = *Module<System>::Instance();
    const float x = 0.5f * float(system.width) - 0.5f * button->width;
    button->SetPosition(Vector(x, y * float(system.height), 0.0f, 0.0f));
    button->SetSize(button->width + 10.0f, 40.0f);
    button->label.text = answer;
    button->name = answer;
    button->label.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    button->label.AlignCenter();
    button->SetIdleColor(1.0f, 1.0f, 1.0f, 0.0f);
    button->SetPressedColor(1.0f, 0.0f, 0.0f, 0.0f);
    button->AddEvent(Event(addressee::kInterfaceManager, addressee::kInterfaceManager, message));
    ui.AddInterfaceObject(button);
}

void AddQuestion(InterfaceManager& ui) {
    auto* question = dynamic_cast<TextBox*>(ui.CreateInterfaceObject(InterfaceManager::kTextBox, Vector()));
    if (!question) return;
    const System& system = *Module<System>::Instance();
    question->SetPosition(
        Vector(float(system.width / 2) - 0.5f * question->width, 0.8f * float(system.height), 0.0f, 0.0f));
    question->text.text = "Are you sure you want to quit?";
    question->text.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    question->text.AlignCenter();
    question->SetColor(1.0f, 1.0f, 1.0f, 0.0f);
    ui.AddInterfaceObject(question);
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
    AddQuestion(ui);
    AddAnswer(ui, "Yes", 0.5f, InterfaceManager::kQuit);
    AddAnswer(ui, "No", 0.4f, InterfaceManager::kQuitCancel);
}

}  // namespace message_handlers
