// The frame loop's own cost: frames per second of the real loop (every
// module's Update in order, the barrier with both worker threads) while every
// module is still a placeholder and the frame limiter is off. This is the
// ceiling that every later module eats into. Runs without a window: the
// System's event pump then finds no events.
#include <benchmark/benchmark.h>

#include "main/frame_loop.h"
#include "system.h"

namespace {

void BM_FrameLoop(benchmark::State& state, bool paused) {
    System* system = Module<System>::Instance();
    system->running.store(true);
    system->Pause(paused);
    StartWorkerThreads();
    for (auto _ : state) RunFrame(false);
    JoinWorkerThreads();
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FrameLoopRunning(benchmark::State& state) { BM_FrameLoop(state, false); }
void BM_FrameLoopPaused(benchmark::State& state) { BM_FrameLoop(state, true); }

}  // namespace

BENCHMARK(BM_FrameLoopRunning)->UseRealTime();
BENCHMARK(BM_FrameLoopPaused)->UseRealTime();
BENCHMARK_MAIN();
