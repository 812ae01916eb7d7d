// The widgets that let the player choose: ResolutionSelector (type 1), the
// options screen's list of the screen resolutions the display accepts;
// RadioButton (type 14) with its two RadioOptions (type 15), one choice out
// of two (full screen or window); CheckBox (type 2), an on/off box. Only a
// RadioOption posts its events (once, when it becomes selected); the others
// are read by the options screen when the player applies them.
// Main thread only.
#pragma once

#include <string>

#include "interface/interface_object.h"

class ResolutionSelector : public InterfaceObject {
public:
    static constexpr const char* kCaption = "Resolution Selected: ";

    // A caption text box, then one button per mode that the display accepts
    // (System::IsVideoModeOK, full screen unless `windowed`); the three wide
    // modes are offered only for full screen. The selector itself is clear.
    ResolutionSelector(int id, bool windowed, const Vector& position);
    // Each child's Activate; a clicked mode becomes the selection and the
    // caption names it; each mode's outline is red when selected, else white.
    void Activate() override;

    std::string selection;  // the chosen mode text ("1024x768"); "" at first

private:
    void AddModeButton(const char* text, float x, float y);
};

class RadioOption : public InterfaceObject {
public:
    // 50 x 50, clear, with a white 50 x 50 outline and a white label at its corner.
    RadioOption(int id, const Vector& position);
    void DrawText() override;
    // A click on an option not yet selected selects it, posts its events
    // and clears its siblings; then it shows "tex_radio" when selected.
    void Activate() override;

    InterfaceText label;
    bool selected = false;
};

class RadioButton : public InterfaceObject {
public:
    // Two options, at x + 50 (label at x) and x + 130 (label at x + 180);
    // the white title 400 pixels to the left; itself clear and unsized.
    RadioButton(int id, const Vector& position);
    void DrawText() override;
    void Activate() override { ActivateChildren(); }
    // The title's text, re-aligned.
    void SetText(const std::string& newText);
    // On the option at `index` (counting options from 0); no such option,
    // nothing happens.
    void SetOptionText(int index, const std::string& newText);
    void SelectOption(int index);
    // Whether the second option is selected; false with fewer than two.
    bool IsOptionSelected() const;

    InterfaceText title;

private:
    RadioOption* Option(int index) const;
};

class CheckBox : public InterfaceObject {
public:
    // 50 x 50, clear; a text box 100 pixels to the left, a white outline.
    CheckBox(int id, const Vector& position);
    void DrawText() override;
    // A click toggles `ticked`; shows "tex_radio" while ticked.
    void Activate() override;

    bool ticked = false;
    InterfaceText label;
};
