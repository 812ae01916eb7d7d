// The heaviest scene of the game, measured whole: level 3 in endless mode at
// the largest wave of the first ten endless waves, fought at 1024x768 on
// this machine's OpenGL by a scripted player that turns and fires both
// weapons.
//
// The wave: endless wave n (n = 0 for the first, wave text "8 of infinite")
// brings m + 7 medium and m + 5 heavy machines, m = n up to n = 5 (with 2
// "MediumMechSuper" first when n > 2 is odd and n mod 3 + 1
// "HeavyMechSuper" when n > 2 is not a multiple of 3), m = n - 5 of the
// super kinds alone from n = 6 on. The first ten come to 12, 14, 16, 20, 22,
// 27, 14, 16, 18 and 20 machines: the largest is n = 5, "13 of infinite",
// with 2 MediumMechSuper, 3 HeavyMechSuper, 12 MediumMech and 10 HeavyMech
// (14 medium, 13 heavy).
//
// The scene is brought about by the game's own code: main's start-up, the
// splash ended by a key, the in-game state pushed with level 3 chosen
// (level 1 loads first, as at every start), the player set down at the
// plaza's north end, where it comes in from the streets and where entering
// clears the street machines; then GameLogic's endlessMode and the level's
// wave number 12, so that LevelThree releases the wave itself, through the
// five spawn pads of the plaza's south half. Once all 27 stand, where each
// stands is kept: every case starts from there (the machines set back, at
// rest), so each measures the same five seconds of the wave closing in on
// the player, firing as it comes. Left alone, the machines would end
// crowded around the player, below the cockpit's sill.
//
// Each frame is RunFrame's, its steps timed one by one, the physics and
// collision threads running as in the game (timed_game_frame.h). The
// scripted player's keys and pointer take the place of the input poll's:
// the laser and the missile held, the pointer off the centre by as much as
// swings the view 60 degrees either side of south and back once in 300
// frames, aiming a little down at the machines. It also keeps the player's
// hull, shield and missiles full and the player on its spot (the hits push
// it), and every machine's hull beyond what a frame's hits take, so the
// wave stays whole while the hits, explosions and particles go on as in
// play (heaviest_scene.h).
//
// Cases (each 300 frames):
//   Frame        the frame as the game runs it: wall and process CPU time,
//                each main-thread step, the worker threads' time, the gap to
//                16.7 ms;
//   MarkedFrame  the same frames with each render pass closed by glFinish
//                (frame_pass_clock.h): each pass's wall and CPU time;
//   BufferSwap   the swap alone (the window's 1024x768 picture to the X
//                server), to tell it from the interface overlays drawn
//                before it.
// After the cases a summary table gives the means over every run.
// --png=FILE writes a frame of the wave's approach (one more sweep) as a
// PNG: the one showing the most machines, and of those the one least veiled
// by smoke at the eye and by shots.
//
// Needs a display and the release build:
//   xvfb-run -a -s "-screen 0 1024x768x24" env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
//     build/release/bench_heaviest_scene_bench --benchmark_repetitions=3 --png=heaviest.png
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "heaviest_scene.h"
#include "window_png.h"

namespace {

using namespace heaviest_scene;
using bench_support::PassClock;

constexpr double kBudgetMs = 1000.0 / 60.0;

// ---- The cases

constexpr int kCensusEvery = 30;  // frames between two looks at what the scene holds

// Every run's frames, summed per case, for the summary.
FrameBook frameTotals, markedTotals;
CensusSum censusTotals;
double swapMsTotal = 0.0;
int swaps = 0;

void AddBook(FrameBook& total, const FrameBook& run) {
    for (int i = 0; i < kStepCount; ++i) total.stepMs[i] += run.stepMs[i];
    for (int i = 0; i < bench_support::kPassCount; ++i) {
        total.passes.wallMs[i] += run.passes.wallMs[i];
        total.passes.cpuMs[i] += run.passes.cpuMs[i];
    }
    total.wallMs += run.wallMs;
    total.cpuMs += run.cpuMs;
    total.physicsBusyNs += run.physicsBusyNs;
    total.physicsCpuNs += run.physicsCpuNs;
    total.collisionBusyNs += run.collisionBusyNs;
    total.collisionCpuNs += run.collisionCpuNs;
    total.frames += run.frames;
    total.markedFrames += run.markedFrames;
}

void ReportCensus(benchmark::State& state, const CensusSum& seen) {
    state.counters["seeing"] = seen.Mean(CensusSum::kSeeing);
    state.counters["shown"] = seen.Mean(CensusSum::kShown);
    state.counters["projectiles"] = seen.Mean(CensusSum::kProjectiles);
    state.counters["particles"] = seen.Mean(CensusSum::kParticles);
    state.counters["particle_mpixels"] = seen.Mean(CensusSum::kParticlePixels) * 1e-6;
}

// The wave set back to where it stood whole, then `state`'s frames, with a
// look at the scene every kCensusEvery frames (not timed). The worker
// threads' time comes from their books.
FrameBook PlayMeasured(benchmark::State& state, HeaviestScene& scene, PassClock* passes) {
    scene.SetBack();
    FrameBook book;
    CensusSum seen;
    const long long physicsBusy = physicsBook.busyNs, physicsCpu = physicsBook.cpuNs;
    const long long collisionBusy = collisionBook.busyNs, collisionCpu = collisionBook.cpuNs;
    for (auto _ : state) {
        PlayFrame(book, passes);
        if (book.frames % kCensusEvery != 0) continue;
        state.PauseTiming();
        seen.Add(TakeCensus());
        state.ResumeTiming();
    }
    book.physicsBusyNs = physicsBook.busyNs - physicsBusy;
    book.physicsCpuNs = physicsBook.cpuNs - physicsCpu;
    book.collisionBusyNs = collisionBook.busyNs - collisionBusy;
    book.collisionCpuNs = collisionBook.cpuNs - collisionCpu;
    if (glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
    if (Logic().playerDied) state.SkipWithError("the player died");
    ReportCensus(state, seen);
    censusTotals.Add(seen);
    return book;
}

HeaviestScene* SceneOrSkip(benchmark::State& state) {
    HeaviestScene* scene = HeaviestScene::Get();
    if (!scene) state.SkipWithError(("no heaviest scene: " + HeaviestScene::Failure()).c_str());
    return scene;
}

void BM_Frame(benchmark::State& state) {
    const QuietLog quiet;
    HeaviestScene* scene = SceneOrSkip(state);
    if (!scene) return;
    const FrameBook book = PlayMeasured(state, *scene, nullptr);
    AddBook(frameTotals, book);
    const double frames = double(book.frames);
    state.counters["process_cpu_ms"] = book.cpuMs / frames;
    state.counters["gap_to_16.7ms"] = book.wallMs / frames - kBudgetMs;
    state.counters["graphics_ms"] = book.stepMs[kGraphics] / frames;
    state.counters["gamelogic_ms"] = book.stepMs[kGameLogic] / frames;
    state.counters["behaviour_ms"] = book.stepMs[kBehaviour] / frames;
    state.counters["physics_cpu_ms"] = double(book.physicsCpuNs) * 1e-6 / frames;
    state.counters["collision_cpu_ms"] = double(book.collisionCpuNs) * 1e-6 / frames;
}

void BM_MarkedFrame(benchmark::State& state) {
    const QuietLog quiet;
    HeaviestScene* scene = SceneOrSkip(state);
    if (!scene) return;
    PassClock passes;
    FrameBook book = PlayMeasured(state, *scene, &passes);
    book.passes = passes.spent;
    AddBook(markedTotals, book);
    if (book.markedFrames != book.frames) state.SkipWithError("a frame's passes were not the scene's");
    const double frames = double(book.frames);
    static const char* const keys[bench_support::kPassCount] = {
        "events_ms",           "start_ms",   "meshes_ms", "mipmaps_ms", "particles_ms",     "billboards_ms",
        "particle_mipmaps_ms", "combine_ms", "polish_ms", "cockpit_ms", "interface_swap_ms"};
    for (int i = 0; i < bench_support::kPassCount; ++i) state.counters[keys[i]] = book.passes.wallMs[i] / frames;
}

void BM_BufferSwap(benchmark::State& state) {
    const QuietLog quiet;
    if (!SceneOrSkip(state)) return;
    const auto start = Clock::now();
    for (auto _ : state) {
        SDL_GL_SwapBuffers();
        glFinish();
    }
    swapMsTotal += Ms(start);
    swaps += int(state.iterations());
}

// ---- The summary

void PrintRow(const char* name, double ms, double ofMs) {
    std::printf("  %-46s %8.2f ms  %5.1f %%\n", name, ms, 100.0 * ms / ofMs);
}

void PrintFrameSummary(const FrameBook& t) {
    const double n = double(t.frames);
    const double frameMs = t.wallMs / n;
    std::printf("\nThe frame, as the game runs it (%d frames):\n", t.frames);
    std::printf("  %-46s %8.2f ms  (%.1f frames a second)\n", "wall", frameMs, 1000.0 / frameMs);
    std::printf("  %-46s %8.2f ms  (%.2f cores busy)\n", "process CPU (every thread)", t.cpuMs / n, t.cpuMs / t.wallMs);
    std::printf("  %-46s %+8.2f ms  (60 frames a second needs %.1f times less)\n", "gap to 16.7 ms",
                frameMs - kBudgetMs, frameMs / kBudgetMs);
}

void PrintMainThread(const FrameBook& t) {
    const double n = double(t.frames);
    const double frameMs = t.wallMs / n;
    std::printf("Main thread, share of the frame's wall time:\n");
    // The modules that take next to nothing here are summed in one row.
    static const Step shown[] = {kScript, kInterface, kGameLogic, kBehaviour, kAnimation, kSpawn, kGraphics, kBarrier};
    double others = frameMs;
    for (Step step : shown) {
        PrintRow(StepName(step), t.stepMs[step] / n, frameMs);
        others -= t.stepMs[step] / n;
    }
    PrintRow("the other modules and the frame's own upkeep", others, frameMs);
}

void PrintSimulation(const FrameBook& t) {
    const double n = double(t.frames);
    std::printf(
        "Worker threads, in parallel with the main thread: their updates' wall time (waits for the "
        "object lock included) and CPU time:\n");
    const double physicsCpu = double(t.physicsCpuNs) * 1e-6 / n, collisionCpu = double(t.collisionCpuNs) * 1e-6 / n;
    std::printf("  %-46s %8.2f ms  CPU %.2f ms\n", "physics thread", double(t.physicsBusyNs) * 1e-6 / n, physicsCpu);
    std::printf("  %-46s %8.2f ms  CPU %.2f ms\n", "collision thread", double(t.collisionBusyNs) * 1e-6 / n,
                collisionCpu);
    const double mainThread = (t.stepMs[kBehaviour] + t.stepMs[kAnimation] + t.stepMs[kSpawn]) / n;
    std::printf(
        "  %-46s %8.2f ms  (%.2f ms behaviour, animation and spawn on the main thread, %.2f ms CPU of "
        "physics and collision)\n",
        "simulation in all", mainThread + physicsCpu + collisionCpu, mainThread, physicsCpu + collisionCpu);
}

void PrintPassSummary(const FrameBook& t, double unmarkedGraphicsMs) {
    const double n = double(t.frames);
    double sum = 0.0;
    for (double ms : t.passes.wallMs) sum += ms / n;
    std::printf(
        "\nRender passes, each closed by glFinish (%d frames; they sum to %.2f ms, the unmarked "
        "Graphics step takes %.2f ms):\n",
        t.frames, sum, unmarkedGraphicsMs);
    std::printf("  %-46s %8s     %5s    %8s  %s\n", "pass", "wall", "share", "CPU", "cores");
    for (int pass = 0; pass < bench_support::kPassCount; ++pass) {
        const double wall = t.passes.wallMs[pass] / n, cpu = t.passes.cpuMs[pass] / n;
        std::printf("  %-46s %8.2f ms  %5.1f %%  %8.2f ms  %.2f\n", bench_support::PassName(pass), wall,
                    100.0 * wall / sum, cpu, wall > 0.0 ? cpu / wall : 0.0);
    }
}

// The game's errors and warnings, each line once.
void PrintLogProblems() {
    std::istringstream log(Sys().GetLogText());
    std::set<std::string> seen;
    int errors = 0, warnings = 0;
    for (std::string line; std::getline(log, line);) {
        const bool error = line.rfind("ERROR", 0) == 0, warning = line.rfind("WARNING", 0) == 0;
        errors += error;
        warnings += warning;
        if ((error || warning) && seen.insert(line).second) std::printf("  %s\n", line.c_str());
    }
    std::printf("The game's log: %d errors, %d warnings\n", errors, warnings);
}

void PrintSummary() {
    if (frameTotals.frames == 0) return;
    HeaviestScene* scene = HeaviestScene::Get();
    if (!scene) return;
    const Census& c = scene->wholeCensus;
    const CensusSum& m = censusTotals;
    std::printf("\n==== The heaviest scene: level 3, endless mode, wave \"%s\", %dx%d ====\n", scene->waveLine.c_str(),
                kWidth, kHeight);
    std::printf("The wave: %d MediumMech, %d MediumMechSuper, %d HeavyMech, %d HeavyMechSuper.\n", c.medium,
                c.mediumSuper, c.heavy, c.heavySuper);
    using F = CensusSum::Figure;
    std::printf(
        "On average while measured (%d looks): %.1f machines, %.1f seeing the player, %.1f shown in the "
        "window 40 to 400 units away, %.1f within 400 units;\n  %.1f projectiles in the air (%.1f missiles), %.1f "
        "explosions, "
        "%.0f live particles of %.0f emitters,\n  whose quads cover about %.1f million pixels a frame (%.0f "
        "times the window), %.1f million of them within %.0f units of the eye; the shots' %.2f million\n",
        m.samples, m.Mean(F::kMachines), m.Mean(F::kSeeing), m.Mean(F::kShown), m.Mean(F::kNear),
        m.Mean(F::kProjectiles), m.Mean(F::kMissiles), m.Mean(F::kExplosions), m.Mean(F::kParticles),
        m.Mean(F::kEmitters), m.Mean(F::kParticlePixels) * 1e-6,
        m.Mean(F::kParticlePixels) / (double(kWidth) * kHeight), m.Mean(F::kAtTheEyePixels) * 1e-6, kAtTheEye,
        m.Mean(F::kBillboardPixels) * 1e-6);
    PrintFrameSummary(frameTotals);
    PrintMainThread(frameTotals);
    PrintSimulation(frameTotals);
    if (markedTotals.frames > 0)
        PrintPassSummary(markedTotals, frameTotals.stepMs[kGraphics] / double(frameTotals.frames));
    if (swaps > 0) std::printf("  %-46s %8.2f ms\n", "the buffer swap alone", swapMsTotal / double(swaps));
    PrintLogProblems();
}

}  // namespace

BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFramesPerSweep);
BENCHMARK(BM_MarkedFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFramesPerSweep);
BENCHMARK(BM_BufferSwap)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    std::string png;
    if (!bench_support::RunBenchmarksTakingPng(argc, argv, png)) return 1;
    PrintSummary();
    bool written = false;
    if (HeaviestScene* scene = HeaviestScene::Get()) {
        const QuietLog quiet;
        if (!png.empty()) {
            // Of one sweep of the approach, the frame that shows the most
            // machines, and of those the one least veiled by smoke at the eye
            // and by shots.
            scene->SetBack();
            FrameBook book;
            int most = -1;
            double veiled = 0.0;
            for (int frame = 0; frame < kFramesPerSweep; ++frame) {
                PlayFrame(book, nullptr);
                const Census census = TakeCensus();
                const double veil = census.atTheEyePixels + census.billboardPixels;
                if (census.shown < most || (census.shown == most && veil >= veiled)) continue;
                most = census.shown;
                veiled = veil;
                written = bench_support::WriteWindowPng(png, kWidth, kHeight);
            }
        }
        scene->ShutDown();
    }
    if (png.empty()) return 0;
    std::printf(written ? "the scene's last frame is in %s\n" : "could not write %s\n", png.c_str());
    return written ? 0 : 1;
}
