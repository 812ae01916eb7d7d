#include "interface/panels.h"

#include "system.h"

Console::Console(int id, const Vector& /*position*/)
    : InterfaceObject(WidgetType::Console, id, Vector(0.0f, 0.0f, 0.0f, 0.0f)) {
    const float windowHeight = float(Module<System>::Instance()->height);
    editable = true;
    width = 2000.0f;
    height = 0.75f * windowHeight;
    position = Vector(0.0f, 0.75f * windowHeight, -1.0f, 0.0f);
}

void Console::SetText(const std::string& newText) { text.SetText(newText); }

Panel::Panel(int id, const Vector& position) : InterfaceObject(WidgetType::HackPanel, id, position) {
    color = Color4{0.0f, 0.0f, 0.0f, 0.75f};
    visible = false;
    width = height = 200.0f;
}
