// The player's cockpit: its matrix in eye space, and its drawing over the
// finished picture. Main thread; the drawing runs inside the frame, with the
// object lock held.
#include <GL/glew.h>

#include <cmath>

#include "graphics.h"
#include "graphics/cockpit_object.h"
#include "graphics/frame_reports.h"
#include "object_manager.h"

Matrix CockpitObject::UpdateTransform() const {
    const Vector bob(0.0f, kBobHeight * std::sin(bobPhase), 0.0f, 0.0f);
    return QuatVecToMatrix(rot, baseOffset + moveOffset + bob).ScaleLinear(scale);
}

void Graphics::RenderCockpit() {
    const CockpitObject& cockpit = Module<ObjectManager>::Instance()->cockpit;
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    // Loaded, not multiplied: the cockpit sits in front of the eye whatever
    // the view.
    glPushMatrix();
    glLoadMatrixf(cockpit.UpdateTransform().DataPtr());
    if (Mesh* mesh = FrameMesh(cockpit.meshHandle)) meshGraphics.DrawMesh(*mesh);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    CHECK_FRAME_GL(*reports);
}
