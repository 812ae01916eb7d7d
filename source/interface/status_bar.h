// StatusBar (type 9, factory kind 9; no keyword, so no generated name): one
// gauge of a game object's statistics, read from its StatsComp every frame.
// "health" (hp of healthMax) and "shield" (sp of shield) are trapezoids at
// the bottom centre of the window; "boost" (bp of boost) is an arc of up to
// 30 small flat squares around the minimap's middle (W - 100, H - 100). The fill
// follows value / maximum, unclamped above, so a value above the maximum
// draws wider; a value of 0 or below fills nothing, and a maximum of 0 or
// below draws the background and outline only.
// The places are fixed by the window size, whatever the widget's rectangle.
//
// The bar has one Borders child (its outline box), kept sized with it and
// never drawn; `secondColor` is kept and never drawn either.
//
// Threads: main thread only. Draw runs inside the frame's object lock and
// reads the object's StatsComp under it without taking it again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "interface/interface_object.h"

class StatusBar : public InterfaceObject {
public:
    static constexpr const char* kHealth = "health";
    static constexpr const char* kShield = "shield";
    static constexpr const char* kBoost = "boost";

    StatusBar(int id, const Vector& position);

    // Nothing when objectName or statName is empty, the object is missing
    // or has no StatsComp, or statName is none of the three. Object lock held.
    void Draw() override;
    void Activate() override {}
    // Moves the label and the outline child along.
    void SetPosition(const Vector& newPosition) override;
    // Sizes the outline child alike, width and height exchanged when vertical.
    void SetSize(float newWidth, float newHeight) override;

    InterfaceText label;  // printed after the health and shield gauges, never after the boost arc
    Color4 secondColor;
    std::string objectName;
    std::string statName;
    uint8_t vertical = 0;

private:
    // The trapezoid gauges; no fill without a ratio.
    void DrawTrapezoid(bool health, std::optional<float> ratio) const;
    void DrawBoostArc(float ratio) const;
};
