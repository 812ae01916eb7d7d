// ParticleGraphics: the two particle programs and the atlas table they share.
// Main thread only, with the OpenGL context current.
#include "graphics/particle_graphics.h"

#include <GL/glew.h>

#include "graphics.h"

namespace {

// A texture coordinate of the atlas is the pixel over 479.
const float kPixelToTexCoord = 0.0020876827f;

void SetCorner(float* corner, int x, int y) {
    corner[0] = float(x) * kPixelToTexCoord;
    corner[1] = float(y) * kPixelToTexCoord;
}

void HandTableTo(GLuint program, const float (*table)[2]) {
    glUseProgram(program);
    glUniform2fv(glGetUniformLocation(program, "texCoord"), ParticleGraphics::kTexCoordCount, &table[0][0]);
    glUseProgram(0);
}

}  // namespace

void ParticleGraphics::LoadShaders() {
    Graphics& graphics = *Module<Graphics>::Instance();
    particleProgram = graphics.LoadShaderProgram("shaders/particle_vert.glsl", "shaders/particle_frag.glsl");
    deferredParticleProgram =
        graphics.LoadShaderProgram("shaders/deferred_particle_vert.glsl", "shaders/deferred_particle_frag.glsl");
    for (int cell = 0; cell < kDefinedCells; ++cell) {
        const AtlasCell& r = kAtlasCells[cell];
        float(*corners)[2] = &texCoords[cell * kCornersPerCell];
        SetCorner(corners[0], r.x1, r.y1);
        SetCorner(corners[1], r.x1, r.y0);
        SetCorner(corners[2], r.x0, r.y0);
        SetCorner(corners[3], r.x0, r.y1);
    }
    HandTableTo(particleProgram, texCoords);
    HandTableTo(deferredParticleProgram, texCoords);
}
