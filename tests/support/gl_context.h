// A real OpenGL context for the tests of GPU resources and their script
// calls: the game's own window
// set-up (System::InitGL) at 640 x 480, opened once per test program under
// the test's X server. Errors stay in the log text (no error-log files).
// A test may restart the video subsystem to get a brand-new context.
#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/x11_window.h"
#include "system.h"

namespace test_support {

class GLContextTest : public ::testing::Test {
protected:
    static System& Sys() { return *Module<System>::Instance(); }

    static void SetUpTestSuite() {
        System& system = Sys();
        system.running.store(false);
        system.fullScreen = false;
        system.width = 640;
        system.height = 480;
        // Xvfb resets itself when its last client leaves: a second connection
        // keeps it up while a test restarts the game's video.
        if (!serverHolder) serverHolder = new X11Display();
        if (!opened) opened = system.InitGL();
    }

    void SetUp() override {
        ASSERT_TRUE(opened) << "no OpenGL window (run under xvfb-run with SDL_VIDEODRIVER=x11)\n"
                            << Sys().GetLogText();
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    // The pending OpenGL error, cleared.
    static GLenum TakeGLError() {
        GLenum first = glGetError();
        while (glGetError() != GL_NO_ERROR) {
        }
        return first;
    }

    static std::vector<float> ReadBuffer(GLenum target, unsigned name) {
        glBindBuffer(target, name);
        GLint bytes = 0;
        glGetBufferParameteriv(target, GL_BUFFER_SIZE, &bytes);
        std::vector<float> values(size_t(bytes) / sizeof(float));
        if (bytes > 0) glGetBufferSubData(target, 0, bytes, values.data());
        glBindBuffer(target, 0);
        return values;
    }

    static GLint BufferBytes(GLenum target, unsigned name) {
        glBindBuffer(target, name);
        GLint bytes = -1;
        glGetBufferParameteriv(target, GL_BUFFER_SIZE, &bytes);
        glBindBuffer(target, 0);
        return bytes;
    }

    static GLint TextureLevelSize(unsigned name, int level, GLenum which) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
        return value;
    }

    static inline bool opened = false;
    static inline X11Display* serverHolder = nullptr;  // kept to the end
};

}  // namespace test_support
