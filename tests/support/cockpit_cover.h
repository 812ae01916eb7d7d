// The pixels the cockpit covers in a window of any size: the cockpit drawn
// alone as the frame's cockpit pass draws it (the cockpit program,
// Graphics::RenderCockpit, the game's projection for that size) into a
// target of its own, at a given lag and bob. Main thread, with the renderer
// initialised and "mesh_cockpit" stored; the window's framebuffer, viewport,
// projection and the cockpit's own state are left as they were.
#pragma once

#include <GL/glew.h>

#include <vector>

#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"

namespace test_support {

class CockpitCover {
public:
    CockpitCover(int width, int height, const Vector& moveOffset, float bobPhase)
        : width(width), height(height), covered(size_t(width) * height, false) {
        // Drawn over black and over white: a pixel is covered when either
        // picture differs from what was cleared (the cockpit may blend).
        const std::vector<unsigned char> overBlack = Draw(0.0f, moveOffset, bobPhase);
        const std::vector<unsigned char> overWhite = Draw(1.0f, moveOffset, bobPhase);
        for (size_t i = 0; i < covered.size(); ++i)
            for (int c = 0; c < 3; ++c) covered[i] = covered[i] || overBlack[i * 4 + c] != 0 || overWhite[i * 4 + c] != 255;
    }

    // x from the left edge, y from the top edge.
    bool At(int x, int y) const { return covered[size_t(height - 1 - y) * width + x]; }
    // The covered share (0 to 1) of the box of the window's middle, `across`
    // of its width and `down` of its height (1, 1: the whole window).
    double ShareOfMiddle(double across, double down) const {
        const int x0 = int(width * (1.0 - across) / 2), x1 = width - x0;
        const int y0 = int(height * (1.0 - down) / 2), y1 = height - y0;
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += At(x, y);
        return double(count) / (double(x1 - x0) * (y1 - y0));
    }

private:
    std::vector<unsigned char> Draw(float clear, const Vector& moveOffset, float bobPhase) {
        Graphics& graphics = *Module<Graphics>::Instance();
        ObjectManager& objects = *Module<ObjectManager>::Instance();
        GLuint texture = 0, target = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffersEXT(1, &target);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glViewport(0, 0, width, height);
        glClearColor(clear, clear, clear, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Matrix projection, inverse;
        Graphics::MakeProjection(width, height, projection, inverse);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadMatrixf(projection.DataPtr());
        glMatrixMode(GL_MODELVIEW);
        {
            ObjectLock lock;
            CockpitObject& cockpit = objects.cockpit;
            const CockpitObject kept = cockpit;
            cockpit.meshHandle = Handle("mesh_cockpit");
            cockpit.moveOffset = moveOffset;
            cockpit.bobPhase = bobPhase;
            glUseProgram(graphics.cockpitProgram);
            graphics.RenderCockpit();
            glUseProgram(0);
            cockpit = kept;
        }
        std::vector<unsigned char> pixels(size_t(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteFramebuffersEXT(1, &target);
        glDeleteTextures(1, &texture);
        using graphics::kClearGrey;
        glClearColor(kClearGrey[0], kClearGrey[1], kClearGrey[2], kClearGrey[3]);
        return pixels;
    }

    int width, height;
    std::vector<bool> covered;  // bottom row first
};

}  // namespace test_support
