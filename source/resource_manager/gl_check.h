// The OpenGL error check of the GPU-resource and graphics code: a pending
// error code is reported through System::Error as the reporting line's source
// position followed by the decimal code, and the work goes on.
//
// Main thread only (it reads the current context's error flag). Include it
// only from files that are allowed to call OpenGL.
#pragma once

#include <GL/glew.h>

#include <string>

#include "system.h"

inline void ReportGLError(const std::string& sourcePosition) {
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        Module<System>::Instance()->Error(sourcePosition + std::to_string(code));
}

#define CHECK_GL_ERROR() ReportGLError(SOURCE_POS)
