// Graphics: the passes of the deferred scene: the geometry buffer (colour,
// depth as colour, normals), the particle target, the combine pass into the
// combined target, the polish pass into the window, and the cockpit on top.
// Each pass binds the targets and program it draws with and leaves the state
// that the next one expects: blending off through the mesh pass and the two
// full-screen quads, on for particles, billboards and the cockpit; depth
// testing on (less-or-equal) between passes; program 0 after the cockpit.
//
// Main thread, object lock held, called by DrawScene in this order.
#include <GL/glew.h>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "system.h"

using graphics::BindTextureOn;
using graphics::CurrentTargets;
using graphics::FrameTargets;
using graphics::SetUniform;

namespace {

const GLenum kGeometryBuffers[3] = {GL_COLOR_ATTACHMENT0_EXT, GL_COLOR_ATTACHMENT1_EXT, GL_COLOR_ATTACHMENT2_EXT};

// Attaches the texture at level 0 as colour attachment `index` of the bound
// framebuffer object and tests that the framebuffer is complete.
void Attach(graphics::FrameReports& reports, GLuint index, GLuint texture) {
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT + index, GL_TEXTURE_2D, texture, 0);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT)
        reports.Fault(SOURCE_POS, "Problem binding framebuffer!");
}

void BindOffscreen(const FrameTargets& targets) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, targets.frameBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, targets.depthBuffer);
}

// Depth target on unit 1 as "depthTex", unit 0 active again.
void GiveDepthTarget(GLuint program, GLuint depthTexture) {
    BindTextureOn(1, depthTexture);
    SetUniform(program, "depthTex", 1);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace

void Graphics::GeometryPass() {
    const FrameTargets targets = CurrentTargets();
    BindOffscreen(targets);
    Attach(*reports, 0, targets.geometry);
    Attach(*reports, 1, targets.depth);
    Attach(*reports, 2, targets.normal);
    glDrawBuffers(3, kGeometryBuffers);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CHECK_FRAME_GL(*reports);
    glEnable(GL_LIGHTING);
    RenderMeshes();
    glDisable(GL_LIGHTING);
    graphics::RegenerateMipmaps(targets.depth, graphics::kDepthHighestLevel);
    graphics::RegenerateMipmaps(targets.geometry, graphics::kGeometryHighestLevel);
    glEnable(GL_TEXTURE_2D);
}

void Graphics::ParticlePass() {
    const FrameTargets targets = CurrentTargets();
    // Bound again so that this pass stands even when the one before it failed.
    BindOffscreen(targets);
    // Attachments 1 and 2 keep depth and normals but are not drawn into: the
    // particles and billboards meet the meshes through "depthTex" instead of
    // the depth buffer, which is cleared.
    Attach(*reports, 0, targets.particle);
    glUseProgram(particleGraphics.deferredParticleProgram);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GiveDepthTarget(particleGraphics.deferredParticleProgram, targets.depth);
    SetUniform(particleGraphics.deferredParticleProgram, "tex", 0);
    CHECK_FRAME_GL(*reports);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Particles and billboards are blended (the particle drawing also says so).
    glEnable(GL_BLEND);
    particleGraphics.RenderDeferred();
    glUseProgram(deferredBillboardProgram);
    GiveDepthTarget(deferredBillboardProgram, targets.depth);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    RenderBillboards();
    CHECK_FRAME_GL(*reports);
    graphics::RegenerateMipmaps(targets.particle, graphics::kParticleHighestLevel);
    CHECK_FRAME_GL(*reports);
}

void Graphics::CombinePass() {
    const FrameTargets targets = CurrentTargets();
    BindOffscreen(targets);
    glClearColor(graphics::kClearGrey[0], graphics::kClearGrey[1], graphics::kClearGrey[2], graphics::kClearGrey[3]);
    Attach(*reports, 0, targets.combined);
    CHECK_FRAME_GL(*reports);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLuint program = deferredCombineProgram;
    glUseProgram(program);
    BindTextureOn(3, targets.particle);
    SetUniform(program, "particleTex", 3);
    BindTextureOn(2, targets.normal);
    SetUniform(program, "normalTex", 2);
    BindTextureOn(1, targets.depth);
    SetUniform(program, "depthTex", 1);
    BindTextureOn(0, targets.geometry);
    SetUniform(program, "geomTex", 0);
    graphics::SetUniformMatrix(program, "perspMat", Module<ObjectManager>::Instance()->perspectMat.DataPtr());
    CHECK_FRAME_GL(*reports);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    DrawFullScreenQuad();
    CHECK_FRAME_GL(*reports);
}

void Graphics::PolishPass() {
    const FrameTargets targets = CurrentTargets();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    CHECK_FRAME_GL(*reports);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CHECK_FRAME_GL(*reports);
    const GLuint program = deferredPolishProgram;
    glUseProgram(program);
    CHECK_FRAME_GL(*reports);
    BindTextureOn(2, targets.depth);
    SetUniform(program, "depthTex", 2);
    BindTextureOn(1, FrameTextureName(kNoiseTexture));
    SetUniform(program, "noiseTex", 1);
    BindTextureOn(0, targets.combined);
    SetUniform(program, "combinedTex", 0);
    SetUniform(program, "t", float(Module<System>::Instance()->frameStartTime.load()));
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    // The quad has no edge inside the window: multisampling it (the window
    // may be multisampled) would only multiply the software rasteriser's work.
    glDisable(GL_MULTISAMPLE);
    DrawFullScreenQuad();
    glEnable(GL_MULTISAMPLE);
    CHECK_FRAME_GL(*reports);
}

void Graphics::CockpitPass() {
    glEnable(GL_BLEND);
    glUseProgram(cockpitProgram);
    RenderCockpit();
    glUseProgram(0);
}
