// Particles: the catalogue's heaviest explosion (type 3: the cyan set with
// its own sparks, plus debris and more sparks, about 74 particles) started
// until 4,000 particles live, then one more whenever fewer than 4,000 live,
// so each frame emits, steps and retires particles as play does. Reports the
// time of one ParticleSystemController::Update (a frame) and, as
// "per_particle", that time divided by the particles live.
#include <benchmark/benchmark.h>

#include "graphics/particle_system_controller.h"
#include "object_manager.h"
#include "platform/random.h"
#include "system.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;
constexpr int kHeaviestExplosion = 3;
constexpr int kTargetLive = 4000;

int LiveCount(const ParticleSystemController& c) {
    int live = 0;
    for (const Particle& p : c.particles) live += p.isFree ? 0 : 1;
    return live;
}

void Explode(ParticleSystemController& c) {
    const Vector at(100.0f * RandSignedFloat(), 5.0f, 100.0f * RandSignedFloat());
    c.CreateEffect(kHeaviestExplosion, 1.0f, "", at, Vector());
}

// Explosions until kTargetLive particles live, all emitted and not yet aged.
void FillTo4000(ParticleSystemController& c) {
    while (LiveCount(c) < kTargetLive) {
        Explode(c);
        c.Update(0.0f, 0.0f);
    }
}

void BM_ParticleUpdate(benchmark::State& state) {
    Module<System>::Instance()->running.store(false);
    Module<System>::Instance()->frameTime.store(kStep);
    platform::SeedRandom(19);
    ParticleSystemController controller;
    FillTo4000(controller);
    double liveTotal = 0.0;
    float time = 0.0f;
    for (auto _ : state) {
        controller.Update(time, kStep);
        time += kStep;
        state.PauseTiming();
        const int live = LiveCount(controller);
        liveTotal += live;
        if (live < kTargetLive) Explode(controller);
        state.ResumeTiming();
    }
    state.counters["live"] = benchmark::Counter(liveTotal / double(state.iterations()));
    state.counters["per_particle"] =
        benchmark::Counter(liveTotal, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
