// InterfaceText: the text label that most widgets embed by value: its text,
// colour and start position, and the alignment it was last placed with in
// its owner's rectangle. Color4: a widget's or a text's r, g, b, a.
//
// Placement measures nothing of the font: the horizontal centring term is
// 16 x s x s per character and the vertical one 16 x s, s being the System's
// text spacing (fontSpacing). Drawing belongs to the embedding widget's
// DrawText (interface/widget_drawing.h). Main thread only; plain values.
#pragma once

#include <string>

#include "geom/vector.h"

class InterfaceObject;

struct Color4 {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

// Cells of a 3 x 3 grid counted from the top left; four of them place text.
namespace TextAlignment {
enum Type {
    TopLeft = 0,
    TopCenter = 1,
    TopRight = 2,
    MiddleLeft = 3,
    Center = 4,
    MiddleRight = 5,
    BottomLeft = 6,
    BottomCenter = 7,
    BottomRight = 8,
};
constexpr int kNone = -1;  // no alignment recorded yet
}  // namespace TextAlignment

class InterfaceText {
public:
    // The four placements. Without an owner they do nothing at all; with an
    // empty text only BottomLeft moves it, but each records its alignment.
    void AlignMiddleLeft();
    void AlignCenter();
    void AlignBottomLeft();
    void AlignBottomCenter();
    // 3, 4, 6 and 7 place the text as above; 0, 1, 2, 5 and 8 are only
    // recorded (with an owner); anything else, kNone included, does nothing.
    // Widgets call it with `alignment` after they change the text or move.
    void SetAlignment(int number);
    // Replaces the text and places it again with the recorded alignment.
    void SetText(const std::string& newText) {
        text = newText;
        SetAlignment(alignment);
    }
    void SetTextColor(float r, float g, float b, float a) { color = Color4{r, g, b, a}; }

    std::string text;
    Color4 color{0.0f, 0.0f, 0.0f, 1.0f};
    Vector position{0.0f, 0.0f, 0.0f, 0.0f};  // x, y: where the first glyph starts
    int alignment = TextAlignment::kNone;
    // The widget whose rectangle the alignment refers to; not owned.
    InterfaceObject* owner = nullptr;

private:
    // 16 x s x s x n, the half-width that centring takes off.
    float HalfWidth() const;
    // 16 x s, half a character cell's height at scale s.
    static float HalfHeight();
};
