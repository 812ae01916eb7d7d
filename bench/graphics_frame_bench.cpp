// The renderer's frame at 1024x768 on this machine's OpenGL, with the first
// level's sky, ground and scenery (drawn one by one) loaded as the game flow
// will load them:
//   WholeFrame   the whole deferred pipeline and the buffer swap;
//   FillFloor    the same five targets only cleared and covered by one
//                full-screen quad each, and the swap: the floor of fill cost;
// and where the frame's time goes: the mesh pass alone, the mipmap
// regeneration of its three sampled targets, and the combine and polish
// quads. Runs in the run folder, whatever folder it is started from. Every
// measurement ends with glFinish, so the work is done, not only
// queued. Besides the wall time, "process_cpu_ms" is the CPU time of all the
// process's threads per iteration (the software rasteriser's threads
// included): on a machine shared with other work it is the steadier measure
// of what a frame costs. Needs a display: run under xvfb-run with
// SDL_VIDEODRIVER=x11.
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <vector>

#include "frame_bench_support.h"
#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "support/first_level_scene.h"

namespace {

using bench_support::ProcessCpu;

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }

// One window, the level and the renderer, made on first use.
bool SceneReady() {
    static const bool ready = test_support::OpenFirstLevelWindow(1024, 768);
    return ready;
}

bool Skip(benchmark::State& state) {
    if (SceneReady()) return false;
    state.SkipWithError("no window or no level (run under xvfb-run with SDL_VIDEODRIVER=x11)");
    return true;
}

void BM_WholeFrame(benchmark::State& state) {
    if (Skip(state)) return;
    const ProcessCpu cpu;
    for (auto _ : state) {
        TheGraphics().Update();
        glFinish();
    }
    cpu.Finish(state);
}

void CoverTarget(GLuint texture) {
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    TheGraphics().DrawFullScreenQuad();
}

void BM_FillFloor(benchmark::State& state) {
    if (Skip(state)) return;
    const graphics::FrameTargets targets = graphics::CurrentTargets();
    glUseProgram(0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    const ProcessCpu cpu;
    for (auto _ : state) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, targets.frameBuffer);
        for (GLuint texture : {targets.geometry, targets.depth, targets.normal, targets.particle, targets.combined})
            CoverTarget(texture);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDrawBuffer(GL_BACK);
        SDL_GL_SwapBuffers();
        glFinish();
    }
    cpu.Finish(state);
}

void BM_MeshPass(benchmark::State& state) {
    if (Skip(state)) return;
    const graphics::FrameTargets targets = graphics::CurrentTargets();
    TheGraphics().Update();  // the camera's view
    bench_support::BindGeometryBuffer(targets);
    ObjectLock lock;
    const ProcessCpu cpu;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_LIGHTING);
        TheGraphics().RenderMeshes();
        glDisable(GL_LIGHTING);
        glFinish();
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    cpu.Finish(state);
}

void BM_MipmapRegeneration(benchmark::State& state) {
    if (Skip(state)) return;
    const graphics::FrameTargets targets = graphics::CurrentTargets();
    glActiveTexture(GL_TEXTURE0);
    const ProcessCpu cpu;
    for (auto _ : state) {
        graphics::RegenerateMipmaps(targets.depth, graphics::kDepthHighestLevel);
        graphics::RegenerateMipmaps(targets.geometry, graphics::kGeometryHighestLevel);
        graphics::RegenerateMipmaps(targets.particle, graphics::kParticleHighestLevel);
        glFinish();
    }
    cpu.Finish(state);
}

// One full-screen quad with a program of the frame into the combined target
// (the window's back buffer for the polish program), its inputs bound.
void BM_FullScreenPass(benchmark::State& state, bool polish) {
    if (Skip(state)) return;
    const graphics::FrameTargets targets = graphics::CurrentTargets();
    Graphics& graphics = TheGraphics();
    const GLuint program = polish ? graphics.deferredPolishProgram : graphics.deferredCombineProgram;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, polish ? 0 : targets.frameBuffer);
    if (!polish) glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, targets.combined, 0);
    glDrawBuffer(polish ? GL_BACK : GL_COLOR_ATTACHMENT0_EXT);
    glUseProgram(program);
    struct Input {
        GLuint unit, texture;
        const char* sampler;
    };
    const GLuint noise = graphics.FrameTextureName(Graphics::kNoiseTexture);
    const Input combine[4] = {{3, targets.particle, "particleTex"}, {2, targets.normal, "normalTex"},
                              {1, targets.depth, "depthTex"}, {0, targets.geometry, "geomTex"}};
    const Input polishing[3] = {{2, targets.depth, "depthTex"}, {1, noise, "noiseTex"}, {0, targets.combined, "combinedTex"}};
    for (const Input& input : polish ? std::vector<Input>(polishing, polishing + 3) : std::vector<Input>(combine, combine + 4)) {
        graphics::BindTextureOn(input.unit, input.texture);
        graphics::SetUniform(program, input.sampler, GLint(input.unit));
    }
    glDisable(GL_BLEND);
    glDisable(GL_MULTISAMPLE);  // as the frame draws its quads
    const ProcessCpu cpu;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        graphics.DrawFullScreenQuad();
        glFinish();
    }
    glEnable(GL_MULTISAMPLE);
    glUseProgram(0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    cpu.Finish(state);
}

void BM_CombinePass(benchmark::State& state) { BM_FullScreenPass(state, false); }
void BM_PolishPass(benchmark::State& state) { BM_FullScreenPass(state, true); }

}  // namespace

BENCHMARK(BM_WholeFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeshPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MipmapRegeneration)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CombinePass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PolishPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
