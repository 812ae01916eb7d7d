#include "interface_manager/screen_widgets.h"

#include "interface/button.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "system.h"

namespace screen_widgets {

Window WindowSize() {
    const System& system = *Module<System>::Instance();
    return {float(system.width), float(system.height)};
}

Event FromInterface(const char* addressee, const char* type) {
    return Event(Module<InterfaceManager>::Instance()->GetModuleName(), addressee, type);
}

TextBox* MakeTextBox(InterfaceManager& ui, const Vector& at, float width, float height, const std::string& text,
                     Color4 textColor, Color4 boxColor) {
    auto* box = static_cast<TextBox*>(ui.CreateInterfaceObject(InterfaceManager::kTextBox, Vector()));
    if (!box) return nullptr;
    box->SetSize(width, height);
    box->SetPosition(at);
    box->SetText(text);
    box->text.SetTextColor(textColor.r, textColor.g, textColor.b, textColor.a);
    box->SetColor(boxColor.r, boxColor.g, boxColor.b, boxColor.a);
    return box;
}

void AddHeading(InterfaceManager& ui, float x, float y, const std::string& text, Color4 textColor) {
    TextBox* box = MakeTextBox(ui, Vector(x, y, 0.0f, 0.0f), 600.0f, 50.0f, text, textColor, kClear);
    if (!box) return;
    box->text.AlignCenter();
    ui.AddInterfaceObject(box);
}

void AddButton(InterfaceManager& ui, const Vector& at, float width, float height, const std::string& label,
               const std::string& name, Color4 pressed, const std::vector<Event>& events) {
    auto* button = static_cast<Button*>(ui.CreateInterfaceObject(InterfaceManager::kButton, Vector()));
    if (!button) return;
    button->SetSize(width, height);
    button->SetPosition(at);
    if (!name.empty()) button->name = name;
    button->label.text = label;
    button->label.SetTextColor(kWhite.r, kWhite.g, kWhite.b, kWhite.a);
    button->label.AlignCenter();
    button->SetIdleColor(kClear.r, kClear.g, kClear.b, kClear.a);
    button->SetPressedColor(pressed.r, pressed.g, pressed.b, pressed.a);
    for (const Event& event : events) button->AddEvent(event);
    ui.AddInterfaceObject(button);
}

}  // namespace screen_widgets
