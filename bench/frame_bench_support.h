// What the renderer's frame benchmarks share besides the first level's window
// (test_support::OpenFirstLevelWindow): the geometry targets bound as the
// frame binds them, and the CPU time of the whole process (the software
// rasteriser's threads included), which on a machine shared with other work
// is the steadier measure of what a frame costs. Main thread, with the
// window's OpenGL context current.
#pragma once

#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <ctime>

#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"

namespace bench_support {

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
