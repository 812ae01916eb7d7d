#include "graphics/debug_graphics.h"

#include <GL/glew.h>

#include <string>

#include "graphics.h"
#include "system.h"

namespace {

const Vector kGreen(0.0f, 1.0f, 0.0f, 1.0f);
const float kHalf = 0.5f;        // the wire box is the unit cube around the origin
const float kEndBoxSide = 0.1f;  // the solid cubes at a line's ends

// One "DebugDraw" event's parameters with their defaults. Reading throws the
// event's parameter error for a missing required one or a mistyped one.
struct Shape {
    explicit Shape(const Event& event);

    template <class T>
    static T Optional(const Event& event, const char* name, const T& fallback) {
        return event.Has(name) ? event.GetParam<T>(name) : fallback;
    }

    std::string type;
    Vector color, trans, scale, pointA, pointB;
    Quaternion rot;
};

Shape::Shape(const Event& event)
    : type(event.GetParam<std::string>(DebugGraphics::kParamType)),
      color(Optional(event, DebugGraphics::kParamColor, kGreen)) {
    if (type == DebugGraphics::kWireBox) {
        trans = Optional(event, DebugGraphics::kParamTrans, Vector(0.0f, 0.0f, 0.0f, 0.0f));
        rot = Optional(event, DebugGraphics::kParamRot, Quaternion(1.0f));
        scale = Optional(event, DebugGraphics::kParamScale, Vector(1.0f, 1.0f, 1.0f, 0.0f));
    } else if (type == DebugGraphics::kLine) {
        pointA = event.GetParam<Vector>(DebugGraphics::kParamPointA);
        pointB = event.GetParam<Vector>(DebugGraphics::kParamPointB);
    }
}

void SendSquare(float z) {
    glVertex3f(-kHalf, -kHalf, z);
    glVertex3f(kHalf, -kHalf, z);
    glVertex3f(kHalf, kHalf, z);
    glVertex3f(-kHalf, kHalf, z);
}

void SetColor(const Vector& color) { glColor4f(color.x, color.y, color.z, color.w); }

void DrawWireBox(const Shape& shape) {
    Matrix box = QuatVecToMatrix(shape.rot, shape.trans);
    const float scale[3] = {shape.scale.x, shape.scale.y, shape.scale.z};
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) box.m[column][row] *= scale[column];
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2.0f);
    glPushMatrix();
    glMultMatrixf(box.DataPtr());
    SetColor(shape.color);
    glBegin(GL_LINE_LOOP);
    SendSquare(-kHalf);
    glEnd();
    glBegin(GL_LINE_LOOP);
    SendSquare(kHalf);
    glEnd();
    glBegin(GL_LINES);
    for (float x : {-kHalf, kHalf})
        for (float y : {-kHalf, kHalf}) {
            glVertex3f(x, y, -kHalf);
            glVertex3f(x, y, kHalf);
        }
    glEnd();
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void DrawEndBox(const Mesh& box, const Vector& point, const Vector& color) {
    glPushMatrix();
    glTranslatef(point.x, point.y, point.z);
    glPushMatrix();
    glScalef(kEndBoxSide, kEndBoxSide, kEndBoxSide);
    SetColor(color);
    Module<Graphics>::Instance()->meshGraphics.DrawMeshGeometry(box);
    glPopMatrix();
    glPopMatrix();
}

void DrawLine(const Shape& shape, const Mesh& endBox) {
    glDisable(GL_TEXTURE_2D);
    glLineWidth(5.0f);
    SetColor(shape.color);
    glBegin(GL_LINE_LOOP);
    glVertex3f(shape.pointA.x, shape.pointA.y, shape.pointA.z);
    glVertex3f(shape.pointB.x, shape.pointB.y, shape.pointB.z);
    glEnd();
    DrawEndBox(endBox, shape.pointA, Vector(1.0f, 0.0f, 0.0f, 1.0f));
    DrawEndBox(endBox, shape.pointB, Vector(0.0f, 0.0f, 1.0f, 1.0f));
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

void DebugGraphics::Init() {
    boxMesh = Mesh::BuildBox(1.0f, 1.0f, 1.0f);
    boxMesh.useColor = true;
    boxMesh.useTexture = false;
    enabled = true;
}

void DebugGraphics::Queue(const Event& event) {
    static_cast<void>(Shape(event));  // throws here rather than in the frame
    if (eventQueue.size() >= kMaxQueued) {
        if (!overflowWarned)
            Module<System>::Instance()->Warning("DebugDraw: " + std::to_string(kMaxQueued) +
                                                " shapes wait already; further ones are dropped until they are drawn");
        overflowWarned = true;
        return;
    }
    eventQueue.push_back(event);
}

void DebugGraphics::Render() {
    if (!enabled || eventQueue.empty()) return;
    Graphics& graphics = *Module<Graphics>::Instance();
    const unsigned program = graphics.SaveAndClearProgram();
    // The shapes show the colours asked for, not lit by the scene's lights.
    const bool lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    for (const Event& event : eventQueue) {
        try {
            DrawShape(event);
        } catch (const std::exception& error) {
            // Only an event put into the queue without Queue's check gets here.
            Module<System>::Instance()->Warning(std::string("DebugDraw: shape not drawn: ") + error.what());
        }
    }
    if (lit) glEnable(GL_LIGHTING);
    graphics.RestoreProgram(program);
    eventQueue.clear();
    overflowWarned = false;
}

void DebugGraphics::DrawShape(const Event& event) {
    const Shape shape(event);
    if (shape.type == kWireBox)
        DrawWireBox(shape);
    else if (shape.type == kLine)
        DrawLine(shape, boxMesh);
}
