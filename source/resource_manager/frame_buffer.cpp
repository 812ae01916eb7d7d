// The renderer's offscreen framebuffer: five window-sized colour textures,
// the framebuffer object and its depth renderbuffer. The renderer attaches
// the textures itself; only the depth buffer is attached here.
// Main thread only, with the OpenGL context current.
#include <GL/glew.h>

#include "resource_manager.h"
#include "resource_manager/gl_check.h"
#include "resource_manager/gl_texture_setup.h"

namespace {

GLuint MakeFrameTexture(GLsizei width, GLsizei height, GLint maxLevel) {
    const GLuint name = NewBoundTexture(GL_CLAMP);
    UseMipmapLevels(maxLevel);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

void DeleteTextureName(unsigned& name) {
    if (glIsTexture(name)) glDeleteTextures(1, &name);
    name = 0;
}

}  // namespace

void ResourceManager::BuildFrameBuffer() {
    const System& system = *Module<System>::Instance();
    const GLsizei width = system.width, height = system.height;
    // The creation order is part of the renderer's contract (its passes
    // sample each at its own highest level).
    frameTex0 = MakeFrameTexture(width, height, 1);
    frameTex1 = MakeFrameTexture(width, height, 2);
    frameTex3 = MakeFrameTexture(width, height, 0);
    frameTex2 = MakeFrameTexture(width, height, 4);
    frameTex4 = MakeFrameTexture(width, height, 0);
    CHECK_GL_ERROR();

    glGenFramebuffersEXT(1, &frameBufferName);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBufferName);
    glGenRenderbuffersEXT(1, &depthRenderBufferName);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthRenderBufferName);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 depthRenderBufferName);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    CHECK_GL_ERROR();
}

void ResourceManager::FreeFrameBuffer() {
    // The names are zeroed once freed: OpenGL hands freed names out again,
    // and a second free must not delete whatever now carries them.
    for (unsigned* name : {&frameTex0, &frameTex1, &frameTex2, &frameTex3, &frameTex4})
        DeleteTextureName(*name);
    if (glIsRenderbufferEXT(depthRenderBufferName))
        glDeleteRenderbuffersEXT(1, &depthRenderBufferName);
    depthRenderBufferName = 0;
    if (glIsFramebufferEXT(frameBufferName)) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteFramebuffersEXT(1, &frameBufferName);
    }
    frameBufferName = 0;
}
