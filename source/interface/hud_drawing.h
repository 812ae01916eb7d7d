// The OpenGL side of the head-up display's widgets (gauges, minimap,
// crosshair, hit wedges): every gl call they make lives here, beside
// widget_drawing.h, which serves the menus' widgets.
//
// Same pass and rules as widget_drawing.h: the renderer's overlay pass (pixel
// projection, origin at the window's bottom-left corner, y up; texturing on,
// depth test off, blending by source alpha), the object lock held, main
// thread only. Textures are named, and looked up through
// Graphics::FrameTextureName: one that is not stored binds texture 0 and is
// warned about once, never every frame.
#pragma once

#include <cstddef>
#include <string>

#include "interface/interface_text.h"

namespace hud_drawing {

// One corner of a shape: window pixels (or pixels of the current model-view
// frame), its colour and its texture coordinates.
struct Corner {
    float x;
    float y;
    Color4 color;
    float u = 0.0f;
    float v = 0.0f;
};

enum class Shape { Quads, TriangleFan, LineLoop, LineStrip };

// Binds the named texture, or texture 0 for "" (or a name not stored).
void BindTexture(const std::string& name);
// Draws `count` corners as `shape` at depth z, each in its own colour.
void Draw(Shape shape, const Corner* corners, size_t count, float z = 0.0f);
template <size_t N>
void Draw(Shape shape, const Corner (&corners)[N], float z = 0.0f) {
    Draw(shape, corners, N, z);
}
void SetLineWidth(float width);

// The model-view matrix: identity, moved to (x, y), turned by `degrees`
// about the screen's normal, then moved by (dx, dy) in the turned frame.
void PlaceFrame(float x, float y, float degrees = 0.0f, float dx = 0.0f, float dy = 0.0f);
// Turns the current frame by `degrees` about the screen's normal.
void TurnFrame(float degrees);
// Back to the identity, what the next widget expects.
void ResetFrame();

// Depth testing for shapes laid over each other in z. Turning it on first
// clears the depth the frame left inside the window rectangle (x, y, width,
// height), so that nothing drawn before the overlays hides what follows.
void BeginDepthTest(float x, float y, float width, float height);
void EndDepthTest();

// `text` in `color` from window pixel (x, y) at `scale` (Graphics::PrintText).
void Print(const std::string& text, const Color4& color, int x, int y, float scale);

}  // namespace hud_drawing
