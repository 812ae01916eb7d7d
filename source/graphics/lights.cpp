// Graphics: the scene's fixed-function lights and the projection.
// Main thread, with the OpenGL context current.
#include <GL/glew.h>

#include <algorithm>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "object_manager.h"

namespace {

const GLfloat kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};

void SetLight(GLenum light, const LightObject& source) {
    GLfloat values[4];
    source.position.ToFloatArray(values);
    glLightfv(light, GL_POSITION, values);
    source.ambient.ToFloatArray(values);
    glLightfv(light, GL_AMBIENT, values);
    source.diffuse.ToFloatArray(values);
    glLightfv(light, GL_DIFFUSE, values);
    source.specular.ToFloatArray(values);
    glLightfv(light, GL_SPECULAR, values);
    glLightf(light, GL_CONSTANT_ATTENUATION, source.constantAtten);
    glLightf(light, GL_LINEAR_ATTENUATION, source.linearAtten);
    glLightf(light, GL_QUADRATIC_ATTENUATION, source.quadraticAtten);
    glEnable(light);
}

// A light the list no longer holds: off, and black for the mesh shaders,
// which sum every light OpenGL has (they cannot see which are enabled).
void SwitchOff(GLenum light) {
    glDisable(light);
    glLightfv(light, GL_AMBIENT, kBlack);
    glLightfv(light, GL_DIFFUSE, kBlack);
    glLightfv(light, GL_SPECULAR, kBlack);
}

}  // namespace

void Graphics::ApplyLights() {
    const std::vector<LightObject>& lights = Module<ObjectManager>::Instance()->lightObjectList;
    GLint available = 8;
    glGetIntegerv(GL_MAX_LIGHTS, &available);
    if (lights.size() > size_t(available))
        reports->WarnOnce("lights", std::to_string(lights.size()) + " lights in the scene; OpenGL offers " +
                                        std::to_string(available) + ", the rest are left out");
    const GLint used = GLint(std::min(lights.size(), size_t(available)));
    for (GLint i = 0; i < used; ++i) SetLight(GL_LIGHT0 + GLenum(i), lights[size_t(i)]);
    for (GLint i = used; i < available; ++i) SwitchOff(GL_LIGHT0 + GLenum(i));
}

void Graphics::MakeProjection(int width, int height, Matrix& perspect, Matrix& invPerspect) {
    const float aspect = float(double(width) / double(height));
    perspect.PerspectiveMat(kFieldOfView, aspect, kNearPlane, kFarPlane);
    invPerspect.InvPerspectiveMat(kFieldOfView, aspect, kNearPlane, kFarPlane);
}
