#include "interface/controls_button.h"

#include "input_manager.h"
#include "interface/float_text.h"
#include "interface_manager.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }

}  // namespace

ControlsButton::ControlsButton(int id, const Vector& position)
    : ButtonBase(WidgetType::ControlsButton, id, position) {}

std::string ControlsButton::CountdownText(const std::string& caption, float secondsLeft) {
    std::string seconds = FloatToString(secondsLeft);
    seconds.resize(4, '\0');
    return caption + seconds;
}

void ControlsButton::Activate() {
    if (!capturing) {
        if (clicked && !Ui().keyCapture) {
            StartCapture();
        } else {
            color = idleColor;
            ShowOutlineOnHover();
        }
        return;
    }
    captureCountdown -= float(Module<System>::Instance()->frameTime.load());
    if (captureCountdown <= 0.0f)
        EndCapture();
    else
        ShowCountdown();
    InputManager& input = Input();
    if (input.lastKey != InputManager::kNoKey) {
        if (input.lastKey == InputManager::kEscape) {
            if (capturing) EndCapture();
            input.WasKeyPressed(InputManager::kEscape);  // consumed here, not by the screen
        } else {
            key = input.lastKey;
            EndCapture();
        }
        input.lastKey = InputManager::kNoKey;
    }
    if (!Ui().keyCapture)
        if (int* binding = Binding()) *binding = key;
}

void ControlsButton::StartCapture() {
    Input().lastKey = InputManager::kNoKey;
    Ui().keyCapture = true;
    capturing = true;
    color = pressedColor;
    PublishEvents();
}

void ControlsButton::ShowCountdown() {
    label.text = CountdownText(name, captureCountdown);
    label.AlignCenter();
}

void ControlsButton::EndCapture() {
    capturing = false;
    label.text = name + InterfaceManager::GetKeyName(key);
    label.AlignCenter();
    captureCountdown = captureTime;
    Ui().keyCapture = false;
}

int* ControlsButton::Binding() const {
    InputManager& input = Input();
    const struct {
        const char* caption;
        int* binding;
    } kBindings[] = {{"Forward: ", &input.forward}, {"Back: ", &input.back},     {"Left: ", &input.left},
                     {"Right: ", &input.right},     {"Dash: ", &input.dash},     {"Jump: ", &input.jump},
                     {"Lasers: ", &input.laser},    {"Missiles: ", &input.missile}};
    for (const auto& entry : kBindings)
        if (name == entry.caption) return entry.binding;
    return nullptr;
}
