// Graphics: the frame around its passes: the known state every frame starts
// from, the camera and lights, the choice between slide show and scene, and
// the end of the frame (overlays, buffer swap). Main thread, object lock held.
#include <GL/glew.h>
#include <SDL.h>

#include <exception>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "system.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// Pops (or pushes) the stack of `mode` to `depth` entries; leaves `mode` selected.
void SetStackDepth(GLenum mode, GLenum depthQuery, GLint depth) {
    glMatrixMode(mode);
    GLint current = 0;
    glGetIntegerv(depthQuery, &current);
    for (; current > depth; --current) glPopMatrix();
    for (; current < depth; ++current) glPushMatrix();
}

}  // namespace

template <class Pass>
void Graphics::RunPass(const char* name, Pass pass, int viewDepth) {
    try {
        pass();
        return;
    } catch (const std::exception& error) {
        reports->PassFailed(SOURCE_POS + name, error.what());
    } catch (...) {
        reports->PassFailed(SOURCE_POS + name, "unknown exception");
    }
    RecoverFromFailedPass(viewDepth);
}

void Graphics::BeginFrame() {
    // Whatever the last frame left behind (a pass that failed half-way), this
    // one starts from the window, no program and one entry on every stack;
    // otherwise a pushed matrix per failed frame would overflow the stack.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    SetStackDepth(GL_TEXTURE, GL_TEXTURE_STACK_DEPTH, 1);
    SetStackDepth(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH, 1);
    SetStackDepth(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH, 1);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glClearColor(graphics::kClearGrey[0], graphics::kClearGrey[1], graphics::kClearGrey[2], graphics::kClearGrey[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CHECK_FRAME_GL(*reports);
}

void Graphics::SetUpView() {
    CameraObject& camera = Objects().cameraObject;
    glMatrixMode(GL_MODELVIEW);
    camera.Update();
    glLoadIdentity();
    glPushMatrix();
    CHECK_FRAME_GL(*reports);
    glLoadMatrixf(camera.viewMat.DataPtr());
    // Light positions are taken through the view: they stay put in the world.
    ApplyLights();
    CHECK_FRAME_GL(*reports);
}

void Graphics::DrawFrameContent() {
    ObjectManager& objects = Objects();
    switch (ChooseFrameMode()) {
        case FrameMode::kSplash:
            RunPass("splash", [&] { RenderSplashScreen(objects.splashScreen); });
            break;
        case FrameMode::kCredits:
            RunPass("credits", [&] { RenderSplashScreen(objects.credits); });
            break;
        case FrameMode::kScene:
            // The credits always start from their first slide, as if never shown.
            objects.credits.Restart();
            DrawScene();
            break;
    }
}

void Graphics::DrawScene() {
    RunPass("geometry pass", [this] { GeometryPass(); });
    RunPass("particle pass", [this] { ParticlePass(); });
    RunPass("combine pass", [this] { CombinePass(); });
    RunPass("polish pass", [this] { PolishPass(); });
    RunPass("cockpit pass", [this] { CockpitPass(); });
}

void Graphics::RecoverFromFailedPass(int viewDepth) {
    // What the frame holds between its passes: no program, unit 0, no
    // lighting, depth on, the window's framebuffer (each scene pass binds its
    // own target) and the model-view as the next pass expects it.
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    SetStackDepth(GL_TEXTURE, GL_TEXTURE_STACK_DEPTH, 1);
    SetStackDepth(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH, 1);
    SetStackDepth(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH, viewDepth);
    if (viewDepth > 1)
        glLoadMatrixf(Objects().cameraObject.viewMat.DataPtr());
    else
        glLoadIdentity();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
}

void Graphics::EndFrame() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    CHECK_FRAME_GL(*reports);
    RunPass("screen overlays", [this] { RenderScreenOverlays(); }, 1);
    CHECK_FRAME_GL(*reports);
    SDL_GL_SwapBuffers();
    if (Module<System>::Instance()->screen) SDL_Flip(Module<System>::Instance()->screen);
}
