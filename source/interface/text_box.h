// TextBox (type 1): a line of text, which can also take typed text: while it
// is `editable` and the InterfaceManager's selected widget, it shows the
// InputManager's entry buffer, at most ten characters. Enter (a line feed in
// the buffer) deselects it; the box named "NameInput" then posts "Update
// Score List" with the name typed before the Enter to "InterfaceManager" and
// "GameLogic". Main thread only.
#pragma once

#include <string>

#include "interface/interface_object.h"

class TextBox : public InterfaceObject {
public:
    // The high-score screen's name entry.
    static constexpr const char* kNameInput = "NameInput";
    static constexpr size_t kMaxLength = 10;
    // The size a box is made with.
    static constexpr float kDefaultWidth = 400.0f;
    static constexpr float kDefaultHeight = 50.0f;

    // 400 x 50; an empty black text at the box's corner, no alignment.
    TextBox(int id, const Vector& position);
    void DrawText() override;
    // The name entry (see the file comment); posts nothing of `events`.
    void Activate() override;
    // Moves the box and its text, then re-aligns the text.
    void SetPosition(const Vector& newPosition) override;
    // Replaces the text and re-aligns it.
    void SetText(const std::string& newText);

    InterfaceText text;

private:
    void Submit(const std::string& typed);
};
