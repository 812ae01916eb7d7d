#include "interface/slider_bar.h"

#include <cmath>

#include "input_manager.h"
#include "interface/button.h"
#include "interface/float_text.h"
#include "interface/text_box.h"
#include "interface/widget_drawing.h"
#include "resource_manager.h"
#include "system.h"

namespace {

const char* const kKnobTexture = "tex_slider";

int HalfWindowWidth() { return Module<System>::Instance()->width / 2; }

}  // namespace

SliderBar::SliderBar(int id, const Vector& position) : InterfaceObject(WidgetType::SliderBar, id, position) {
    TextBox* display = AddChild(new TextBox(NextChildId(), position));
    display->name = kDisplayText;
    display->SetSize(200.0f, 50.0f);
    const struct {
        const char* name;
        float shown;
    } kEnds[] = {{kMinText, minValue}, {kMaxText, maxValue}, {kCountText, value}};
    for (const auto& end : kEnds) {
        TextBox* text = AddChild(new TextBox(NextChildId(), position));
        text->name = end.name;
        text->SetSize(50.0f, 50.0f);
        text->text.text = FloatToString(end.shown);
        text->text.AlignBottomCenter();
    }
    Button* knob = AddChild(new Button(NextChildId(), position));
    knob->name = kKnob;
    knob->texture = Module<ResourceManager>::Instance()->GetResourceHandle(kKnobTexture);
    knob->HideBorders();
    knob->SetPressedColor(1.0f, 1.0f, 1.0f, 1.0f);
    knob->SetIdleColor(1.0f, 1.0f, 1.0f, 1.0f);
    knob->label.text.clear();
    knob->SetSize(10.0f, knob->height);
    const System& system = *Module<System>::Instance();
    SetSize(0.5f * float(system.width), 0.02f * float(system.height));
}

float SliderBar::Fraction() const {
    const float fraction = (value - minValue) / (maxValue - minValue);
    return std::isfinite(fraction) ? fraction : 0.0f;
}

float SliderBar::KnobX(float x, float trackWidth, float knobWidth) const {
    return x + Fraction() * trackWidth - knobWidth * 0.5f;
}

void SliderBar::SetSize(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
    position = Vector(float(HalfWindowWidth()) - newWidth * 0.5f, position.y, 0.0f, 0.0f);
    const float x = position.x, y = position.y, w = newWidth, h = newHeight;
    for (InterfaceObject* child : children) {
        const std::string& role = child->name;
        if (role != kMinText && role != kMaxText && role != kDisplayText && role != kKnob && role != kCountText)
            continue;
        child->SetSize(child->width, h);
        const float cw = child->width;
        Vector at(x, y, 0.0f, 0.0f);
        if (role == kMinText) {
            at.x = x - cw;
        } else if (role == kMaxText) {
            at.x = x + w;
        } else if (role == kDisplayText) {
            at = Vector(x + w * 0.5f - cw * 0.5f, y + h + 5.0f, 0.0f, 0.0f);
        } else if (role == kKnob) {
            at.x = KnobX(x, w, cw);
        } else {
            at = Vector(x + w * 0.5f - cw * 0.5f, y - h - 10.0f, 0.0f, 0.0f);
        }
        child->SetPosition(at);
    }
}

void SliderBar::SetPosition(const Vector& newPosition) {
    const Vector offset = newPosition - position;
    for (InterfaceObject* child : children) child->SetPosition(child->position + offset);
    position = newPosition;
}

void SliderBar::SetValue(float newValue) {
    value = newValue;
    if (InterfaceObject* knob = FindChild(kKnob))
        knob->SetPosition(Vector(KnobX(position.x, width, knob->width), position.y, 0.0f, 0.0f));
    if (auto* count = dynamic_cast<TextBox*>(FindChild(kCountText))) count->SetText(FloatToString(value));
}

void SliderBar::SetRange(float newMin, float newMax) {
    minValue = newMin;
    maxValue = newMax;
    SetValue(newMax);
}

void SliderBar::SetChildText(const char* childName, const std::string& text) {
    auto* box = dynamic_cast<TextBox*>(FindChild(childName));
    if (!box) return;
    box->text.text = text;
    box->text.AlignCenter();
}

void SliderBar::SetMinText(const std::string& text) { SetChildText(kMinText, text); }
void SliderBar::SetMaxText(const std::string& text) { SetChildText(kMaxText, text); }
void SliderBar::SetDisplayText(const std::string& text) { SetChildText(kDisplayText, text); }

void SliderBar::Draw() {
    const float x = position.x, y = position.y, right = x + width, top = y + height;
    widget_drawing::LineStrip({{right, top}, {right, y}, {x, y}, {x, top}, {x, y}, {right, y}, {right, top}}, color,
                              2.0f);
    DrawText();
    DrawChildren();
}

void SliderBar::Activate() {
    const float mouseX = (Module<InputManager>::Instance()->GetMousePosition().x + 1.0f) * float(HalfWindowWidth());
    if (held && width > 0.0f) SetValue(minValue + (mouseX - position.x) / width * (maxValue - minValue));
    ActivateChildren();
}
