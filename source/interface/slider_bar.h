// SliderBar (type 7): a horizontal track, centred on the window, with a knob
// the player drags, used for the volumes and the mouse sensitivity. Built
// from five children found by name: the text boxes "displayText" (caption
// above), "minText" (left), "maxText" (right), "countText" (value below)
// and the button "slider" (the knob). It posts nothing: the options screen
// reads `value` when the player applies it. Main thread only.
//
// A range of zero width (maxValue equal to minValue) keeps the knob at the
// left end and a drag sets minValue; a track of no width ignores drags; no
// position ever becomes not-a-number.
#pragma once

#include <string>

#include "interface/interface_object.h"

class SliderBar : public InterfaceObject {
public:
    static constexpr const char* kDisplayText = "displayText";
    static constexpr const char* kMinText = "minText";
    static constexpr const char* kMaxText = "maxText";
    static constexpr const char* kCountText = "countText";
    static constexpr const char* kKnob = "slider";

    // Range 0..100, value 50, white; the track half the window wide and
    // 2% of it high, centred across the window at the given height.
    SliderBar(int id, const Vector& position);
    // The track's two sides and bottom in `color`, then the children.
    void Draw() override;
    // While the button is held inside the track, the value follows the
    // mouse; then each child's Activate.
    void Activate() override;
    // Moves all five children by the same offset.
    void SetPosition(const Vector& newPosition) override;
    // Sizes the track, centres it across the window and lays out the children.
    void SetSize(float newWidth, float newHeight) override;

    // Not limited to the range: the knob moves to the value's place and
    // "countText" shows it.
    void SetValue(float newValue);
    // Sets the range and the value to its maximum; the end texts stay.
    void SetRange(float newMin, float newMax);
    // The text of "minText", "maxText" or "displayText", centred.
    void SetMinText(const std::string& text);
    void SetMaxText(const std::string& text);
    void SetDisplayText(const std::string& text);

    float minValue = 0.0f;
    float maxValue = 100.0f;
    float value = 50.0f;

private:
    // Where the value lies along the track, 0 at the left end: 0 whenever
    // the range is empty or the result is not a number.
    float Fraction() const;
    // The knob's left edge for the track's corner `x`.
    float KnobX(float x, float trackWidth, float knobWidth) const;
    void SetChildText(const char* childName, const std::string& text);
};
