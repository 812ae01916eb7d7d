#include "interface/widget_drawing.h"

#include <GL/glew.h>

#include "graphics.h"
#include "interface/interface_object.h"

namespace widget_drawing {

namespace {

void SetColor(const Color4& color) { glColor4f(color.r, color.g, color.b, color.a); }

unsigned TextureName(const Handle& texture) {
    if (texture.id.empty()) return 0;
    return Module<Graphics>::Instance()->FrameTextureName(texture.id);
}

}  // namespace

void Quad(const InterfaceObject& widget) {
    glBindTexture(GL_TEXTURE_2D, TextureName(widget.texture));
    const float x = widget.position.x, y = widget.position.y;
    const float right = x + widget.width, top = y + widget.height;
    SetColor(widget.color);
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(right, top, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x, top, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x, y, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(right, y, 0.0f);
    glEnd();
}

void LineStrip(std::initializer_list<Point> points, const Color4& color, float lineWidth) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glLineWidth(lineWidth);
    SetColor(color);
    glBegin(GL_LINE_STRIP);
    for (const Point& point : points) glVertex3f(point.x, point.y, 0.0f);
    glEnd();
}

void Text(const InterfaceText& text) {
    SetColor(text.color);
    Module<Graphics>::Instance()->PrintText(text.text.c_str(), int(text.position.x), int(text.position.y), 1.0f);
}

void Print(const std::string& text, const Color4& color, int x, int y, float scale) {
    SetColor(color);
    Module<Graphics>::Instance()->PrintText(text.c_str(), x, y, scale);
}

void ResetModelView() { glLoadIdentity(); }

}  // namespace widget_drawing
