// The OpenGL side of the widgets: every gl call of the interface lives here.
// The widgets draw in the renderer's overlay pass: a pixel projection (origin
// at the window's bottom-left corner, y up), texturing on, depth test off,
// blending by source alpha, the object lock held. Main thread only.
//
// Textures are looked up through Graphics::FrameTextureName: a name that is
// not stored binds texture 0 and is warned about once, never every frame.
#pragma once

#include <initializer_list>
#include <string>

#include "interface/interface_text.h"

class InterfaceObject;

namespace widget_drawing {

// A corner of a line strip, in window pixels.
struct Point {
    float x;
    float y;
};

// Binds the widget's texture, or texture 0 when it names none (or none is
// stored), then draws its rectangle in its colour at depth 0, texture
// coordinates (0, 0) at the lower-left corner and (1, 1) at the upper right.
void Quad(const InterfaceObject& widget);
// A line strip through `points` in `color`, untextured, `lineWidth` wide.
void LineStrip(std::initializer_list<Point> points, const Color4& color, float lineWidth);
// The text in its colour at its position truncated to whole pixels, scale 1,
// with the bitmap font (Graphics::PrintText). NUL ends it.
void Text(const InterfaceText& text);
// `text` in `color` from window pixel (x, y) at `scale` (Graphics::PrintText).
void Print(const std::string& text, const Color4& color, int x, int y, float scale);
// The identity model-view matrix: what every widget's Draw starts from.
void ResetModelView();

}  // namespace widget_drawing
