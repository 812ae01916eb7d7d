// ParticleGraphics::RenderDeferred: every live particle of the store as one
// immediate-mode batch of quads, each vertex carrying the particle's centre,
// its atlas cell, size and rotation and its corner number; the vertex shader
// builds the camera-facing quad. Main thread, object lock held by the frame.
#include <GL/glew.h>

#include <algorithm>

#include "graphics.h"
#include "graphics/particle_graphics.h"
#include "object_manager.h"

namespace {

constexpr const char* kAtlasTexture = "tex_particle";
constexpr const char* kParticleAttrib = "particleAttrib";
constexpr const char* kCornerAttrib = "cornerAttrib";

// Row `row` of the column-major view matrix as (x, y, z, 0).
void SetViewRow(GLuint program, const char* name, const Matrix& view, int row) {
    glUniform4f(glGetUniformLocation(program, name), view.m[0][row], view.m[1][row], view.m[2][row], 0.0f);
}

// A cell outside the atlas would index past the shader's table.
float AtlasCell(int32_t variant) {
    return float(std::clamp(variant, 0, ParticleGraphics::kDefinedCells - 1));
}

void DrawParticles(const std::vector<Particle>& particles, GLint particleAttrib, GLint cornerAttrib) {
    glBegin(GL_QUADS);
    for (const Particle& p : particles) {
        if (p.isFree) continue;
        glColor4f(p.color.x, p.color.y, p.color.z, p.color.w);
        if (particleAttrib >= 0) glVertexAttrib4f(particleAttrib, AtlasCell(p.variant), p.width, p.height, p.rotation);
        for (int corner = 0; corner < 4; ++corner) {
            if (cornerAttrib >= 0) glVertexAttrib4f(cornerAttrib, float(corner), 0.0f, 0.0f, 0.0f);
            glVertex3f(p.position.x, p.position.y, p.position.z);
        }
    }
    glEnd();
}

}  // namespace

void ParticleGraphics::RenderDeferred() {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    const GLuint program = deferredParticleProgram;
    const Matrix& view = objects.cameraObject.viewMat;
    SetViewRow(program, "right", view, 0);
    SetViewRow(program, "up", view, 1);
    SetViewRow(program, "view", view, 2);
    const GLint particleAttrib = glGetAttribLocation(program, kParticleAttrib);
    const GLint cornerAttrib = glGetAttribLocation(program, kCornerAttrib);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);  // particles never hide each other or later passes
    // Missing: warned once by the look-up, and nothing drawn.
    const unsigned atlas = Module<Graphics>::Instance()->FrameTextureName(kAtlasTexture);
    if (atlas != 0) {
        glBindTexture(GL_TEXTURE_2D, atlas);
        DrawParticles(objects.particleSystemController.particles, particleAttrib, cornerAttrib);
    }
    glDepthMask(GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
