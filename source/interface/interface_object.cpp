#include "interface/interface_object.h"

#include "event_manager.h"
#include "interface/widget_drawing.h"

const char* WidgetKeyword(int type) {
    switch (type) {
        case WidgetType::Button: return "BUTTON";
        case WidgetType::TextBox: return "TEXTBOX";
        case WidgetType::CheckBox: return "CHECKBOX";
        case WidgetType::MiniMap: return "MINIMAP";
        case WidgetType::Crosshair: return "CROSSHAIR";
        case WidgetType::Box: return "BOX";
        case WidgetType::Console: return "CONSOLE";
        case WidgetType::SliderBar: return "SLIDERBAR";
        case WidgetType::HackPanel: return "HACKPANEL";
        case WidgetType::PlayerDamageIndicator: return "PLYRDMGINDICATOR";
        case WidgetType::FullMap: return "FULLMAP";
        case WidgetType::RadioButton: return "RADIOBUTTON";
        case WidgetType::RadioOption: return "RADIOOPTION";
        case WidgetType::GameMessage: return "GAMEMESSAGE";
        case WidgetType::ControlsButton: return "CONTROLSBUTTON";
        default: return nullptr;
    }
}

std::string WidgetName(int type, int id) {
    const char* keyword = WidgetKeyword(type);
    if (!keyword) return std::string();
    // The console and the panel are one of a kind.
    if (type == WidgetType::Console || type == WidgetType::HackPanel) return keyword;
    return keyword + std::to_string(id);
}

InterfaceObject::InterfaceObject(int type, int id, const Vector& position)
    : name(WidgetName(type, id)), type(type), id(id), position(position) {}

InterfaceObject::~InterfaceObject() {
    for (InterfaceObject* child : children) delete child;
}

void InterfaceObject::Draw() {
    widget_drawing::Quad(*this);
    DrawText();
    DrawChildren();
}

void InterfaceObject::DrawChildren() {
    for (InterfaceObject* child : children) {
        widget_drawing::ResetModelView();
        child->Draw();
    }
}

void InterfaceObject::Activate() {
    ActivateChildren();
    if (clicked) PublishEvents();
}

void InterfaceObject::ActivateChildren() {
    for (InterfaceObject* child : children) child->Activate();
}

void InterfaceObject::PublishEvents() const {
    EventManager& post = *Module<EventManager>::Instance();
    for (const Event& event : events) post.PublishEvent(event);
}

void InterfaceObject::SetSize(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
}

void InterfaceObject::SetBorderColor(float r, float g, float b, float a) {
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box) child->SetColor(r, g, b, a);
}

void InterfaceObject::HideBorders() {
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box) child->visible = false;
}

InterfaceObject* InterfaceObject::FindChild(const std::string& childName) const {
    for (InterfaceObject* child : children)
        if (child->name == childName) return child;
    return nullptr;
}
