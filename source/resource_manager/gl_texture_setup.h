// The sampling set-up that every texture the resource manager makes on the
// GPU starts with, shared by the resource uploads and the offscreen
// framebuffer. Main thread only, with the OpenGL context current; include it
// only from files that are allowed to call OpenGL.
#pragma once

#include <GL/glew.h>

// A new texture name, bound to GL_TEXTURE_2D, with `wrap` on both axes and
// linear magnification. Its minification filter is still to be chosen.
inline GLuint NewBoundTexture(GLint wrap) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

// Trilinear minification over levels 0..maxLevel of the bound texture, the
// levels made by the driver whenever level 0 changes.
inline void UseMipmapLevels(GLint maxLevel) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_LOD, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LOD, maxLevel);
}
