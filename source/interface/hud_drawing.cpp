#include "interface/hud_drawing.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "graphics.h"

namespace hud_drawing {

namespace {

GLenum ModeOf(Shape shape) {
    switch (shape) {
        case Shape::Quads: return GL_QUADS;
        case Shape::TriangleFan: return GL_TRIANGLE_FAN;
        case Shape::LineLoop: return GL_LINE_LOOP;
        case Shape::LineStrip: return GL_LINE_STRIP;
    }
    return GL_QUADS;
}

}  // namespace

void BindTexture(const std::string& name) {
    const unsigned texture = name.empty() ? 0 : Module<Graphics>::Instance()->FrameTextureName(name);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void Draw(Shape shape, const Corner* corners, size_t count, float z) {
    glBegin(ModeOf(shape));
    for (size_t i = 0; i < count; ++i) {
        const Corner& corner = corners[i];
        glColor4f(corner.color.r, corner.color.g, corner.color.b, corner.color.a);
        glTexCoord2f(corner.u, corner.v);
        glVertex3f(corner.x, corner.y, z);
    }
    glEnd();
}

void SetLineWidth(float width) { glLineWidth(width); }

void PlaceFrame(float x, float y, float degrees, float dx, float dy) {
    glLoadIdentity();
    glTranslatef(x, y, 0.0f);
    if (degrees != 0.0f) glRotatef(degrees, 0.0f, 0.0f, 1.0f);
    if (dx != 0.0f || dy != 0.0f) glTranslatef(dx, dy, 0.0f);
}

void TurnFrame(float degrees) { glRotatef(degrees, 0.0f, 0.0f, 1.0f); }

void ResetFrame() { glLoadIdentity(); }

void BeginDepthTest(float x, float y, float width, float height) {
    // Whole pixels covering the rectangle; glScissor clips to the window.
    const GLint left = GLint(std::floor(x)), bottom = GLint(std::floor(y));
    const GLsizei across = std::max(0, GLint(std::ceil(x + width)) - left);
    const GLsizei up = std::max(0, GLint(std::ceil(y + height)) - bottom);
    glEnable(GL_SCISSOR_TEST);
    glScissor(left, bottom, across, up);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
}

void EndDepthTest() { glDisable(GL_DEPTH_TEST); }

void Print(const std::string& text, const Color4& color, int x, int y, float scale) {
    glColor4f(color.r, color.g, color.b, color.a);
    Module<Graphics>::Instance()->PrintText(text.c_str(), x, y, scale);
}

}  // namespace hud_drawing
