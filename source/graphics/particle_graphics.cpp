// ParticleGraphics: the two particle programs and the atlas table they share.
// Main thread only, with the OpenGL context current.
#include "graphics/particle_graphics.h"

#include <GL/glew.h>

#include "graphics.h"

namespace {

// "tex_particle" is 480 x 480 pixels; a coordinate is the pixel over 479.
const float kPixelToTexCoord = 0.0020876827f;

struct PixelRect {
    int x0, y0, x1, y1;
};

// The atlas cells in cell order. Cell 19 is the square at (320, 320): the
// one at (280, 320) is in no cell. Cell 23 has no rectangle.
const PixelRect kCellRects[ParticleGraphics::kCells - 1] = {
    {0, 0, 119, 119},     {120, 0, 239, 119},   {0, 120, 119, 239},   {120, 120, 239, 239},
    {240, 0, 359, 119},   {360, 0, 479, 119},   {240, 120, 359, 239}, {360, 120, 479, 239},
    {0, 240, 239, 299},   {0, 300, 239, 359},   {0, 360, 239, 419},   {0, 420, 239, 479},
    {240, 240, 279, 279}, {280, 240, 319, 279}, {320, 240, 359, 279}, {240, 280, 279, 319},
    {280, 280, 319, 319}, {320, 280, 359, 319}, {240, 320, 279, 359}, {320, 320, 359, 359},
    {360, 240, 479, 359}, {240, 360, 359, 479}, {360, 360, 479, 479},
};

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
    for (int cell = 0; cell < kCells - 1; ++cell) {
        const PixelRect& r = kCellRects[cell];
        float(*corners)[2] = &texCoords[cell * kCornersPerCell];
        SetCorner(corners[0], r.x1, r.y1);
        SetCorner(corners[1], r.x1, r.y0);
        SetCorner(corners[2], r.x0, r.y0);
        SetCorner(corners[3], r.x0, r.y1);
    }
    HandTableTo(particleProgram, texCoords);
    HandTableTo(deferredParticleProgram, texCoords);
}
