// The renderer's passes timed inside the real frame, each one closed by
// glFinish so that its time holds its rasterising too. Graphics runs its
// passes in private, so the clock finds their borders by the OpenGL calls
// that open them: while armed, it stands in for three of GLEW's function
// pointers (glBindFramebufferEXT, glUseProgram, glGenerateMipmapEXT), marks
// a border and calls the driver's function. In a scene frame the draw
// framebuffer is bound five times: the window (the frame's start), the
// offscreen targets for the geometry, particle and combine passes, the
// window again (polish). Within the geometry pass its mipmaps follow its
// meshes; within the particle pass the billboards (the laser shots) open
// with their program and its target's mipmaps follow them. The cockpit pass
// opens with the cockpit program and closes with program 0; the interface
// overlays and the buffer swap come last.
//
// The glFinish at each border takes away the overlap the software
// rasteriser otherwise finds between one pass's rasterising and the next
// one's set-up: compare the marked frame with an unmarked one.
//
// Main thread, with the window's OpenGL context current; Install after GLEW
// is initialised (a later glewInit undoes it).
#pragma once

#include <GL/glew.h>

#include <array>
#include <chrono>

#include "frame_bench_support.h"

namespace bench_support {

enum FramePass {
    kPassEvents,  // Graphics' events and the wait for the object lock
    kPassFrameStart,
    kPassMeshes,
    kPassGeometryMipmaps,
    kPassParticles,
    kPassBillboards,
    kPassParticleMipmaps,
    kPassCombine,
    kPassPolish,
    kPassCockpit,
    kPassOverlaysAndSwap,
    kPassCount
};

inline const char* PassName(int pass) {
    static const char* const names[kPassCount] = {
        "events and lock", "frame start", "geometry: meshes", "geometry: mipmaps", "particles: particles",
        "particles: billboards (laser shots)", "particles: mipmaps", "combine (lighting)", "polish (post)",
        "cockpit", "interface and swap"};
    return names[pass];
}

class PassClock {
public:
    // Milliseconds of wall and process CPU time per pass, summed over frames.
    struct Spent {
        std::array<double, kPassCount> wallMs{};
        std::array<double, kPassCount> cpuMs{};
    };

    // Puts the clock's stand-ins into GLEW's pointers, once.
    static void Install() {
        static const bool installed = [] {
            Originals() = {__glewBindFramebufferEXT, __glewUseProgram, __glewGenerateMipmapEXT};
            __glewBindFramebufferEXT = &MarkedBindFramebuffer;
            __glewUseProgram = &MarkedUseProgram;
            __glewGenerateMipmapEXT = &MarkedGenerateMipmap;
            return true;
        }();
        (void)installed;
    }

    // Arms the clock for one Graphics::Update of `graphics`, whose programs
    // open the billboards and the cockpit. Finishes what came before, so
    // none of it is counted.
    void Begin(const Graphics& graphics) {
        glFinish();
        billboard = graphics.deferredBillboardProgram;
        cockpit = graphics.cockpitProgram;
        binds = 0;
        current = kPassEvents;
        wellFormed = true;
        StartPass();
        Active() = this;
    }
    // After Graphics::Update: closes the last pass and disarms. False when
    // the frame's borders were not the scene's (a slide show, a failed pass).
    bool End() {
        Close(kPassCount);
        Active() = nullptr;
        return wellFormed && binds == 5 && last == kPassOverlaysAndSwap;
    }

    Spent spent;

private:
    struct Driver {
        PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
        PFNGLUSEPROGRAMPROC useProgram;
        PFNGLGENERATEMIPMAPEXTPROC generateMipmap;
    };
    static Driver& Originals() {
        static Driver driver{};
        return driver;
    }
    static PassClock*& Active() {
        static PassClock* active = nullptr;
        return active;
    }

    static void GLAPIENTRY MarkedBindFramebuffer(GLenum target, GLuint framebuffer) {
        if (PassClock* clock = Active()) clock->FramebufferBound();
        Originals().bindFramebuffer(target, framebuffer);
    }
    static void GLAPIENTRY MarkedUseProgram(GLuint program) {
        if (PassClock* clock = Active()) clock->ProgramUsed(program);
        Originals().useProgram(program);
    }
    static void GLAPIENTRY MarkedGenerateMipmap(GLenum target) {
        if (PassClock* clock = Active()) clock->MipmapsGenerated();
        Originals().generateMipmap(target);
    }

    void FramebufferBound() {
        static const FramePass opened[] = {kPassFrameStart, kPassMeshes, kPassParticles, kPassCombine, kPassPolish};
        if (binds >= 5) {
            wellFormed = false;
            return;
        }
        Close(opened[binds++]);
    }
    void ProgramUsed(GLuint program) {
        if (current == kPassParticles && program == billboard) Close(kPassBillboards);
        if (current == kPassPolish && program == cockpit) Close(kPassCockpit);
        if (current == kPassCockpit && program == 0) Close(kPassOverlaysAndSwap);
    }
    void MipmapsGenerated() {
        if (current == kPassMeshes) Close(kPassGeometryMipmaps);
        if (current == kPassBillboards) Close(kPassParticleMipmaps);
    }

    void StartPass() {
        wallStart = std::chrono::steady_clock::now();
        cpuStart = ProcessCpuSeconds();
    }
    // Finishes the current pass's work, books its time and opens `next`
    // (kPassCount: none).
    void Close(int next) {
        glFinish();
        spent.wallMs[current] +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
        spent.cpuMs[current] += (ProcessCpuSeconds() - cpuStart) * 1000.0;
        last = current;
        if (next < kPassCount) current = FramePass(next);
        StartPass();
    }

    GLuint billboard = 0;
    GLuint cockpit = 0;
    int binds = 0;
    FramePass current = kPassEvents;
    FramePass last = kPassEvents;
    bool wellFormed = true;
    std::chrono::steady_clock::time_point wallStart;
    double cpuStart = 0.0;
};

}  // namespace bench_support
