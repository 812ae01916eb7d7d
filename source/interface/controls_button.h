// ControlsButton (type 17): a button of the key-binding screen. A click
// starts a capture (one at a time across all of them, through the
// InterfaceManager's keyCapture) that shows the seconds left and takes the
// next key the InputManager reports (its lastKey); the key is bound at once
// to the InputManager action that the button's name chooses ("Forward: ",
// "Back: ", ..., "Missiles: "). After captureTime seconds without a key the
// old key is shown and written back. Escape is never bound: it cancels the
// capture like a timeout, and the button consumes that Escape press so the
// screen does not also close on it. Main thread only.
#pragma once

#include <string>

#include "input_manager.h"
#include "interface/button.h"

// The eight key-binding buttons, in their screen's order (two columns of
// four): the caption each shows and is named by, and the binding it sets.
struct KeyBinding {
    const char* caption;
    int InputManager::*key;
};
inline constexpr KeyBinding kKeyBindings[] = {
    {"Forward: ", &InputManager::forward}, {"Back: ", &InputManager::back},   {"Left: ", &InputManager::left},
    {"Right: ", &InputManager::right},     {"Dash: ", &InputManager::dash},   {"Jump: ", &InputManager::jump},
    {"Lasers: ", &InputManager::laser},    {"Missiles: ", &InputManager::missile},
};

class ControlsButton : public ButtonBase {
public:
    ControlsButton(int id, const Vector& position);
    void Activate() override;

    // The label text while capturing: the name and the first four
    // characters of the seconds left, NUL-filled to four ("Jump: 7.5\0").
    static std::string CountdownText(const std::string& caption, float secondsLeft);

    std::string keyName;
    float captureTime = 10.0f;       // seconds to wait for a key
    float captureCountdown = 10.0f;  // seconds left while capturing
    bool capturing = false;
    int key = 0;  // the bound key code; the screen sets it from the binding

private:
    void StartCapture();
    void ShowCountdown();
    // Leaves the capture with `key` shown; clears the shared capture flag.
    void EndCapture();
    // The InputManager binding that the name chooses, or null for any other name.
    int* Binding() const;
};
