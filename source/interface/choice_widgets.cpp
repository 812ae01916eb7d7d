#include "interface/choice_widgets.h"

#include "interface/button.h"
#include "interface/text_box.h"
#include "interface/widget_drawing.h"
#include "system.h"

namespace {

// Made from the name alone: these run every frame, and the store look-up
// would list the store and log an error on every frame of a miss. Drawing
// warns once instead.
const char* const kTickTexture = "tex_radio";
const Color4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const Color4 kClearWhite{1.0f, 1.0f, 1.0f, 0.0f};
const Color4 kRed{1.0f, 0.0f, 0.0f, 1.0f};

// The look of a selected (or ticked) box: the mark, or nothing.
void ShowTick(InterfaceObject& box, bool on) {
    box.color = on ? kWhite : kClearWhite;
    box.texture = on ? Handle(kTickTexture) : Handle();
}

struct ModeChoice {
    const char* text;
    int width, height;
    float x, y;  // fractions of the window
    bool wide;   // offered for full screen only
};

const ModeChoice kModes[] = {
    {"800x600", 800, 600, 0.15f, 0.7f, false},   {"1024x768", 1024, 768, 0.15f, 0.6f, false},
    {"1280x1024", 1280, 1024, 0.15f, 0.5f, false}, {"1024x600", 1024, 600, 0.6f, 0.7f, true},
    {"1280x768", 1280, 768, 0.6f, 0.6f, true},   {"1440x900", 1440, 900, 0.6f, 0.5f, true},
};

}  // namespace

// ---- ResolutionSelector ---------------------------------------------------------------

ResolutionSelector::ResolutionSelector(int id, bool windowed, const Vector& position)
    : InterfaceObject(WidgetType::TextBox, id, position) {
    color.a = 0.0f;
    const System& system = *Module<System>::Instance();
    const float w = float(system.width), h = float(system.height);
    TextBox* caption = AddChild(new TextBox(NextChildId(), Vector(0.05f * w, 0.8f * h, 0.0f, 0.0f)));
    caption->color.a = 0.0f;
    caption->text.color = kWhite;
    caption->SetSize(500.0f, 35.0f);
    caption->text.text = kCaption;
    caption->text.AlignMiddleLeft();
    for (const ModeChoice& mode : kModes) {
        if (mode.wide && windowed) continue;
        if (system.IsVideoModeOK(mode.width, mode.height, !windowed)) AddModeButton(mode.text, mode.x * w, mode.y * h);
    }
}

void ResolutionSelector::AddModeButton(const char* text, float x, float y) {
    Button* mode = AddChild(new Button(NextChildId(), Vector(x, y, 0.0f, 0.0f)));
    mode->name = text;
    mode->label.text = text;
    mode->SetSize(150.0f, 37.5f);
    mode->label.color = kWhite;
    mode->label.AlignCenter();
    mode->SetIdleColor(1.0f, 1.0f, 1.0f, 0.0f);
    mode->SetPressedColor(1.0f, 0.0f, 0.0f, 0.0f);
}

void ResolutionSelector::Activate() {
    for (InterfaceObject* child : children) {
        child->Activate();
        if (child->type != WidgetType::Button) continue;
        if (child->clicked) {
            selection = child->name;
            if (auto* caption = dynamic_cast<TextBox*>(FirstChild())) {
                caption->text.text = kCaption + selection;
                caption->text.AlignMiddleLeft();
            }
        }
        if (InterfaceObject* outline = child->FirstChild()) outline->color = child->name == selection ? kRed : kWhite;
    }
}

// ---- RadioOption ---------------------------------------------------------------------

RadioOption::RadioOption(int id, const Vector& position) : InterfaceObject(WidgetType::RadioOption, id, position) {
    width = height = 50.0f;
    Borders* outline = AddChild(new Borders(NextChildId(), position));
    outline->SetSize(50.0f, 50.0f);
    outline->color = kWhite;
    color = kClearWhite;
    label.color = kWhite;
    label.position = position;
}

void RadioOption::DrawText() { widget_drawing::Text(label); }

void RadioOption::Activate() {
    ActivateChildren();
    if (clicked && !selected) {
        selected = true;
        PublishEvents();
        if (parent)
            for (InterfaceObject* sibling : parent->children)
                if (sibling->type == type && sibling->name != name)
                    if (auto* option = dynamic_cast<RadioOption*>(sibling)) option->selected = false;
    }
    ShowTick(*this, selected);
}

// ---- RadioButton ---------------------------------------------------------------------

RadioButton::RadioButton(int id, const Vector& position) : InterfaceObject(WidgetType::RadioButton, id, position) {
    const float x = position.x, y = position.y, z = position.z;
    RadioOption* first = AddChild(new RadioOption(NextChildId(), Vector(x + 50.0f, y, z, 0.0f)));
    first->label.position.x -= 50.0f;
    RadioOption* second = AddChild(new RadioOption(NextChildId(), Vector(x + 130.0f, y, z, 0.0f)));
    second->label.position.x += 50.0f;
    title.position = Vector(x - 400.0f, y, z, 0.0f);
    title.color = kWhite;
    color = Color4{0.0f, 0.0f, 0.0f, 0.0f};
}

void RadioButton::DrawText() { widget_drawing::Text(title); }

void RadioButton::SetText(const std::string& newText) { title.SetText(newText); }

RadioOption* RadioButton::Option(int index) const {
    int seen = 0;
    for (InterfaceObject* child : children) {
        if (child->type != WidgetType::RadioOption) continue;
        if (seen++ == index) return dynamic_cast<RadioOption*>(child);
    }
    return nullptr;
}

void RadioButton::SetOptionText(int index, const std::string& newText) {
    if (RadioOption* option = Option(index)) option->label.text = newText;
}

void RadioButton::SelectOption(int index) {
    RadioOption* chosen = Option(index);
    if (!chosen) return;
    chosen->selected = true;
    for (InterfaceObject* child : children)
        if (child->name != chosen->name)
            if (auto* option = dynamic_cast<RadioOption*>(child)) option->selected = false;
}

bool RadioButton::IsOptionSelected() const {
    const RadioOption* second = Option(1);
    return second && second->selected;
}

// ---- CheckBox ------------------------------------------------------------------------

CheckBox::CheckBox(int id, const Vector& position) : InterfaceObject(WidgetType::CheckBox, id, position) {
    width = height = 50.0f;
    AddChild(new TextBox(NextChildId(), Vector(position.x - 100.0f, position.y, position.z, 0.0f)));
    Borders* outline = AddChild(new Borders(NextChildId(), position));
    outline->SetSize(50.0f, 50.0f);
    outline->color = kWhite;
    color = kClearWhite;
    label.owner = this;
}

void CheckBox::DrawText() { widget_drawing::Text(label); }

void CheckBox::Activate() {
    ActivateChildren();
    if (clicked) ticked = !ticked;
    ShowTick(*this, ticked);
}
