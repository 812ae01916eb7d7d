#include "interface/text_box.h"

#include <algorithm>

#include "event_manager.h"
#include "game_logic.h"
#include "input_manager.h"
#include "interface/widget_drawing.h"
#include "interface_manager.h"

TextBox::TextBox(int id, const Vector& position) : InterfaceObject(WidgetType::TextBox, id, position) {
    width = kDefaultWidth;
    height = kDefaultHeight;
    text.position = position;
    text.owner = this;
}

void TextBox::DrawText() { widget_drawing::Text(text); }

void TextBox::Activate() {
    if (!editable || Module<InterfaceManager>::Instance()->selectedName != name) return;
    InputManager& input = *Module<InputManager>::Instance();
    const std::string typed = input.GetText();
    // The line feed first: ten characters and Enter must still submit.
    const size_t enter = typed.find('\n');
    if (enter != std::string::npos) {
        Submit(typed.substr(0, std::min(enter, kMaxLength)));
        return;
    }
    text.text = typed;
    if (text.text.size() > kMaxLength) {
        text.text.resize(kMaxLength);
        input.PadText();
    }
}

void TextBox::Submit(const std::string& typed) {
    text.text = typed;
    Module<InterfaceManager>::Instance()->selectedName = InterfaceManager::kNoneSelected;
    if (name != kNameInput) return;
    Event update("Text Box", Module<InterfaceManager>::Instance()->GetModuleName(), InterfaceManager::kUpdateScoreList);
    update.SetParam<std::string>(InterfaceManager::kParamName, typed);
    EventManager& post = *Module<EventManager>::Instance();
    post.PublishEvent(update);
    update.to = Module<GameLogic>::Instance()->GetModuleName();
    post.PublishEvent(update);
}

void TextBox::SetPosition(const Vector& newPosition) {
    position = newPosition;
    text.position = newPosition;
    text.SetAlignment(text.alignment);
}

void TextBox::SetText(const std::string& newText) { text.SetText(newText); }
