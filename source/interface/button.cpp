#include "interface/button.h"

#include "interface/widget_drawing.h"

Borders::Borders(int id, const Vector& position) : InterfaceObject(WidgetType::Box, id, position) {
    color = Color4{0.0f, 0.0f, 0.0f, 1.0f};
}

void Borders::Draw() {
    if (!visible) return;
    const float x = position.x, y = position.y, right = x + width, top = y + height;
    widget_drawing::LineStrip({{right, top}, {x, top}, {x, y}, {right, y}, {right, top}}, color, lineWidth);
}

ButtonBase::ButtonBase(int type, int id, const Vector& position) : InterfaceObject(type, id, position) {
    SetSize(kDefaultWidth, kDefaultHeight);
    label.text = name;
    label.owner = this;
    label.AlignCenter();
    Borders* outline = AddChild(new Borders(NextChildId(), position));
    outline->color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    outline->SetSize(kDefaultWidth, kDefaultHeight);
}

void ButtonBase::SetPosition(const Vector& newPosition) {
    position = newPosition;
    label.position = newPosition;
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box) child->position = newPosition;
}

void ButtonBase::SetSize(float newWidth, float newHeight) {
    InterfaceObject::SetSize(newWidth, newHeight);
    for (InterfaceObject* child : children)
        if (child->type == WidgetType::Box) child->SetSize(newWidth, newHeight);
}

void ButtonBase::DrawText() { widget_drawing::Text(label); }

void ButtonBase::SetIdleColor(float r, float g, float b, float a) {
    idleColor = Color4{r, g, b, a};
    color = idleColor;
}

void ButtonBase::ShowOutlineOnHover() {
    if (InterfaceObject* outline = Outline()) outline->color.a = hover ? 1.0f : 0.0f;
}

Button::Button(int id, const Vector& position) : ButtonBase(WidgetType::Button, id, position) {}

void Button::Activate() {
    if (clicked) {
        color = pressedColor;
        PublishEvents();
        return;
    }
    color = idleColor;
    if (dimLabel) label.color.a = hover ? 1.0f : 0.5f;
    ShowOutlineOnHover();
    if (borderAlwaysShown && Outline()) Outline()->color.a = 1.0f;
}
