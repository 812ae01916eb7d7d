// Small OpenGL steps that the renderer's passes repeat: uniforms set by name
// (their locations are looked up at every set, never cached, so a program
// rebuilt after a change of video mode needs nothing renewed), textures bound
// on a unit, and the names of the render targets, read from the
// ResourceManager at each use because it rebuilds them after Init.
//
// Main thread only, with the OpenGL context current. Include only from the
// renderer's files.
#pragma once

#include <GL/glew.h>

#include "resource_manager.h"

namespace graphics {

// A uniform of the program in use; a name it does not declare is ignored.
inline void SetUniform(GLuint program, const char* name, GLint value) {
    glUniform1i(glGetUniformLocation(program, name), value);
}
inline void SetUniform(GLuint program, const char* name, GLfloat value) {
    glUniform1f(glGetUniformLocation(program, name), value);
}
inline void SetUniformMatrix(GLuint program, const char* name, const GLfloat* matrix) {
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, matrix);
}

// The colour the window and the combined target are cleared to.
const GLfloat kClearGrey[4] = {0.2f, 0.2f, 0.2f, 1.0f};

// Binds the texture on that unit, which stays the active one.
inline void BindTextureOn(GLuint unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

// The highest mip level at which the frame's programs may sample each target
// (the targets' GL_TEXTURE_MAX_LOD, set by the ResourceManager).
const GLint kGeometryHighestLevel = 1;
const GLint kDepthHighestLevel = 2;
const GLint kParticleHighestLevel = 4;

// Remakes the target's mipmaps from level 0, up to the highest level that is
// sampled: the levels above it are never read, and making the whole chain
// would cost the software rasteriser twice as much. Leaves it bound on the
// active unit.
inline void RegenerateMipmaps(GLuint texture, GLint highestLevel) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, highestLevel);
    glGenerateMipmapEXT(GL_TEXTURE_2D);
}

// The offscreen framebuffer and the roles of its five textures.
struct FrameTargets {
    GLuint frameBuffer, depthBuffer;
    GLuint geometry;  // colour of the mesh pass; sampled up to level 1
    GLuint depth;     // linear depth packed as colour; up to level 2
    GLuint normal;    // eye-space normals; level 0
    GLuint particle;  // particles and billboards; up to level 4
    GLuint combined;  // the combine pass's result; level 0
};

inline FrameTargets CurrentTargets() {
    const ResourceManager& r = *Module<ResourceManager>::Instance();
    return {r.frameBufferName, r.depthRenderBufferName, r.frameTex0, r.frameTex1,
            r.frameTex3, r.frameTex2, r.frameTex4};
}

}  // namespace graphics
