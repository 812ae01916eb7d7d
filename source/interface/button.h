// Buttons and their outline: Borders (type 5), the rectangle outline that a
// button shows around itself; ButtonBase, what every pressable button shares
// (an outline as its first child, idle and pressed colours, a centred
// label); Button (type 0), the clickable labelled rectangle of the menus.
// Screens make buttons through the InterfaceManager's factory, then set
// names, colours, texts and events. Main thread only.
#pragma once

#include "interface/interface_object.h"

class Borders : public InterfaceObject {
public:
    // Black, lines 2 pixels wide.
    Borders(int id, const Vector& position);
    // The closed rectangle in `color`, untextured; nothing when not
    // visible. No text, no children.
    void Draw() override;
    void Activate() override {}

    float lineWidth = 2.0f;
};

class ButtonBase : public InterfaceObject {
public:
    // The size a button is made with.
    static constexpr float kDefaultWidth = 200.0f;
    static constexpr float kDefaultHeight = 75.0f;

    // Moves the outline along; the label goes to the button's corner and is
    // not re-aligned (screens align it again).
    void SetPosition(const Vector& newPosition) override;
    // Sizes the outline alike.
    void SetSize(float newWidth, float newHeight) override;
    void DrawText() override;
    // Sets idleColor and the colour shown now.
    void SetIdleColor(float r, float g, float b, float a);
    void SetPressedColor(float r, float g, float b, float a) { pressedColor = Color4{r, g, b, a}; }
    // The outline made with the button (its first child).
    InterfaceObject* Outline() const { return FirstChild(); }

    Color4 pressedColor;  // shown on the frame of a click
    Color4 idleColor;     // shown on every other frame
    InterfaceText label;  // owned by the button; starts as its name, centred

protected:
    // 200 x 75 with its white outline of the same size as first child.
    ButtonBase(int type, int id, const Vector& position);
    // The outline's alpha follows the hover: 1 over the button, else 0.
    void ShowOutlineOnHover();
};

class Button : public ButtonBase {
public:
    Button(int id, const Vector& position);
    // A click shows pressedColor and posts the events, and does nothing
    // else that frame; otherwise idleColor, the outline (and with dimLabel
    // the label at half alpha) shown by hover, the outline always with
    // borderAlwaysShown.
    void Activate() override;

    bool borderAlwaysShown = false;
    bool dimLabel = false;
};
