// What the renderer's benchmarks share: the game's window at a benchmark's
// size with the first level loaded as the game flow will load it and the
// renderer initialised, the camera at the player's start looking towards the
// basin's centre (half sky, half ground), and the CPU time of the whole
// process (the software rasteriser's threads included), which on a machine
// shared with other work is the steadier measure of what a frame costs.
// Needs a display: run under xvfb-run with SDL_VIDEODRIVER=x11.
#pragma once

#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <ctime>
#include <filesystem>

#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "support/first_level_scene.h"
#include "system.h"

namespace bench_support {

// False when there is no window or the level did not load. Runs in the run
// folder, whatever folder the program is started from.
inline bool OpenFirstLevelWindow(int width, int height) {
    std::filesystem::current_path(QUELL_RUN_DIR);  // the game's relative paths
    System& system = *Module<System>::Instance();
    system.running.store(false);
    system.fullScreen = false;
    system.width = width;
    system.height = height;
    if (!system.InitGL() || !test_support::LoadFirstLevelScene()) return false;
    Module<Graphics>::Instance()->Init();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock;
    if (!objects.HasGameObject("player")) return false;
    objects.cameraObject.mode = 0;
    objects.cameraObject.target = objects.GetGameObject("player")->trans;
    objects.cameraObject.yaw = 3.14159265f;
    objects.cameraObject.pitch = 0.0f;
    return true;
}

// The geometry targets bound as the frame binds them, the view loaded.
inline void BindGeometryBuffer(const graphics::FrameTargets& targets) {
    static const GLenum buffers[3] = {GL_COLOR_ATTACHMENT0_EXT, GL_COLOR_ATTACHMENT1_EXT, GL_COLOR_ATTACHMENT2_EXT};
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, targets.frameBuffer);
    const GLuint attached[3] = {targets.geometry, targets.depth, targets.normal};
    for (GLuint i = 0; i < 3; ++i)
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT + i, GL_TEXTURE_2D, attached[i], 0);
    glDrawBuffers(3, buffers);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Module<ObjectManager>::Instance()->cameraObject.viewMat.DataPtr());
}

inline double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Measures the process's CPU time from construction to Finish, reported per
// iteration as "process_cpu_ms"; an OpenGL error fails the benchmark.
class ProcessCpu {
public:
    void Finish(benchmark::State& state) const {
        if (glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
        if (state.iterations() > 0)
            state.counters["process_cpu_ms"] = (ProcessCpuSeconds() - start) * 1000.0 / double(state.iterations());
    }

private:
    double start = ProcessCpuSeconds();
};

}  // namespace bench_support
