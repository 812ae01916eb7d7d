// Particles: the catalogue's heaviest explosion (type 3: the cyan set with
// its own sparks, plus debris and more sparks, about 74 particles) started
// until 4,000 particles live, then one more whenever fewer than 4,000 live,
// so each frame emits, steps and retires particles as play does.
//   ParticleUpdate          one ParticleSystemController::Update (no window);
//   ParticleUpdateAndDraw   Update plus ParticleGraphics::RenderDeferred into
//                           the particle target at 1024x768, as the frame's
//                           particle pass draws it over the first level
//                           (ended by glFinish, so the drawing is done).
// "per_particle" is the time of a frame divided by the particles live.
// The drawing needs a display: run under xvfb-run with SDL_VIDEODRIVER=x11;
// without one it is skipped.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "platform/random.h"
#include "support/first_level_scene.h"
#include "system.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;
constexpr int kHeaviestExplosion = 3;
constexpr int kTargetLive = 4000;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }
ParticleSystemController& Controller() { return Objects().particleSystemController; }

int LiveCount() {
    int live = 0;
    for (const Particle& p : Controller().particles) live += p.isFree ? 0 : 1;
    return live;
}

// An explosion somewhere in a box ahead of `centre`.
void Explode(const Vector& centre) {
    const float x = 30.0f * RandSignedFloat();
    const float y = 10.0f * RandFloat();
    const float z = 20.0f * RandSignedFloat();
    Controller().CreateEffect(kHeaviestExplosion, 1.0f, "", centre + Vector(x, y, z), Vector());
}

// Explosions until kTargetLive particles live, all emitted and not yet aged.
void FillTo4000(const Vector& centre) {
    Module<System>::Instance()->running.store(false);
    Module<System>::Instance()->frameTime.store(kStep);
    platform::SeedRandom(19);
    Controller().Clear();
    while (LiveCount() < kTargetLive) {
        Explode(centre);
        Controller().Update(0.0f, 0.0f);
    }
}

// Runs `frame` per iteration with a steady ~4,000 live particles.
template <class Frame>
void RunParticleFrames(benchmark::State& state, const Vector& centre, Frame frame) {
    FillTo4000(centre);
    double liveTotal = 0.0;
    float time = 0.0f;
    for (auto _ : state) {
        frame(time);
        time += kStep;
        state.PauseTiming();
        const int live = LiveCount();
        liveTotal += live;
        if (live < kTargetLive) Explode(centre);
        state.ResumeTiming();
    }
    state.counters["live"] = benchmark::Counter(liveTotal / double(state.iterations()));
    state.counters["per_particle"] =
        benchmark::Counter(liveTotal, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Controller().Clear();
}

void BM_ParticleUpdate(benchmark::State& state) {
    RunParticleFrames(state, Vector(0, 5, 0), [](float time) { Controller().Update(time, kStep); });
}

// One window with the first level and the renderer, made on first use.
bool SceneReady() {
    static const bool ready = test_support::OpenFirstLevelWindow(1024, 768);
    return ready;
}

// The particle pass's set-up: the particle target bound and cleared, the
// program current with the geometry depth on unit 1, the view loaded.
void BeginParticlePass(const graphics::FrameTargets& targets) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, targets.frameBuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, targets.particle, 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLuint program = TheGraphics().particleGraphics.deferredParticleProgram;
    glUseProgram(program);
    graphics::BindTextureOn(1, targets.depth);
    graphics::SetUniform(program, "depthTex", 1);
    glActiveTexture(GL_TEXTURE0);
    graphics::SetUniform(program, "tex", 0);
    glEnable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Objects().cameraObject.viewMat.DataPtr());
}

void BM_ParticleUpdateAndDraw(benchmark::State& state) {
    if (!SceneReady()) {
        state.SkipWithError("no window or no level (run under xvfb-run with SDL_VIDEODRIVER=x11)");
        return;
    }
    TheGraphics().Update();  // the camera's view and the level's depth target
    const graphics::FrameTargets targets = graphics::CurrentTargets();
    const Vector eye = Objects().cameraObject.target;
    RunParticleFrames(state, eye + Vector(0, 0, 60), [&targets](float time) {
        Controller().Update(time, kStep);
        BeginParticlePass(targets);
        {
            ObjectLock lock;
            TheGraphics().particleGraphics.RenderDeferred();
        }
        glFinish();
    });
    glUseProgram(0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
}

}  // namespace

BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParticleUpdateAndDraw)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
