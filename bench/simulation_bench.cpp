// The simulation anchor: one frame of behaviour, collision and physics
// through the real module updates, on one thread, on level 1 with about 32,
// 100 and 1,000 live objects: enemies hunting a still player and firing at
// it, their shots, and the level's scenery with extra crates. The world is
// first run for a few seconds so that the shots reach their steady number;
// the animation pass (which poses the muzzles) runs between the timed frames.
// Reports milliseconds per frame (and per module), the share of a 16.7 ms
// frame, and the live objects and shots actually present while timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "level.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "resource_manager.h"
#include "support/hunting_world.h"
#include "system.h"

namespace {

constexpr double kStep = 1.0 / 60.0;
constexpr double kFrameBudgetMs = 1000.0 / 60.0;
constexpr int kWarmUpFrames = 300;  // longer than a shot's lifetime
constexpr float kPlayerX = 1000.0f;
constexpr float kPlayerZ = 1000.0f;
// Each hunting enemy keeps about this many shots in the air.
constexpr int kShotsPerEnemy = 4;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

bool LoadLevelOne() {
    static const bool loaded = [] {
        std::filesystem::current_path(QUELL_RUN_DIR);
        Module<System>::Instance()->running.store(false);  // no error-log files from a benchmark
        Module<EventManager>::Instance()->Init();
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all");
        store.LoadCategory("level1");
        Objects().Init();
        return true;
    }();
    {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    return loaded && Singleton<Level>::Instance()->LoadLevel("./resource/levels/level1.xml");
}

// Ring positions around the player, `count` of them at radius from..to.
Vector RingPlace(int i, int count, float from, float to) {
    const float turn = 6.2831853f * float(i) / float(count);
    const float radius = from + (to - from) * float(i % 7) / 6.0f;
    return Vector(kPlayerX + radius * std::cos(turn), 0, kPlayerZ + radius * std::sin(turn));
}

// The player, `enemies` MediumMechs on a ring 200 to 700 units out, and
// `crates` extra crates on a ring 100 to 800 units out.
bool BuildWorld(int enemies, int crates) {
    platform::SeedRandom(7);
    if (!LoadLevelOne() || test_support::AddStillPlayer(kPlayerX, kPlayerZ) == 0) return false;
    for (int i = 0; i < enemies; ++i) {
        const Vector at = RingPlace(i, enemies, 200, 700);
        if (test_support::AddStanding("MediumMech", "hunter" + std::to_string(i), at.x, at.z) == 0) return false;
    }
    for (int i = 0; i < crates; ++i) {
        const Vector at = RingPlace(i, crates, 100, 800);
        if (test_support::AddStanding("Crate", "crate" + std::to_string(i), at.x, at.z) == 0) return false;
    }
    return true;
}

class Simulation {
public:
    Simulation() {
        System& system = *Module<System>::Instance();
        system.Pause(false);
        system.frameTime.store(kStep);
        collision.Init();
        physics.Init();
        behavior.Init();
        animation.Init();
        Event pick("bench", "CollisionManager", CollisionManager::kSetEvent);
        pick.SetParam<bool>(CollisionManager::kPickOn, true);
        Module<EventManager>::Instance()->PublishEvent(pick);
    }
    ~Simulation() {
        animation.Kill();
        behavior.Kill();
        physics.Kill();
        collision.Kill();
    }
    // The frame's clock moves on and the muzzles are posed; not timed.
    void PrepareFrame() {
        clock += kStep;
        platform::SetClockTime(clock);
        const FrameClock frame{clock, kStep};
        collision.SetFrameClock(frame);
        physics.SetFrameClock(frame);
        animation.Update();
    }
    // The timed part; adds each module's milliseconds to `spent`.
    void SimulateFrame(double spent[3]) {
        Timed(spent[0], [this] { behavior.Update(); });
        Timed(spent[1], [this] { collision.Update(); });
        Timed(spent[2], [this] { physics.Update(); });
    }
    void RemoveDead() {
        ObjectLock lock;
        Objects().RemoveDeadGameObjects();
    }

private:
    template <class Step>
    static void Timed(double& spentMs, Step step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        spentMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }

    CollisionManager& collision = *Module<CollisionManager>::Instance();
    Physics& physics = *Module<Physics>::Instance();
    BehaviorManager& behavior = *Module<BehaviorManager>::Instance();
    AnimationManager& animation = *Module<AnimationManager>::Instance();
    double clock = 1000.0;
};

void CountObjects(double& live, double& shots) {
    ObjectLock lock;
    for (const auto& entry : Objects().gameObjectList) {
        if (entry.second.isDead) continue;
        live += 1;
        shots += entry.second.HasComp(CompIndex::Bullet);
    }
}

// state.range(0): the live objects aimed at. The level brings 13 objects and
// the player one; half of the rest are enemies with their shots in the air,
// the other half crates.
void BM_SimulationFrame(benchmark::State& state) {
    const int target = int(state.range(0));
    const int enemies = std::max(1, (target - 14) / (2 * (1 + kShotsPerEnemy)));
    const int crates = std::max(0, target - 14 - enemies * (1 + kShotsPerEnemy));
    if (!BuildWorld(enemies, crates)) {
        state.SkipWithError("level 1 or its patterns could not be loaded");
        return;
    }
    Simulation simulation;
    double spent[3] = {0, 0, 0};  // behaviour, collision, physics
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        simulation.PrepareFrame();
        simulation.SimulateFrame(spent);
        simulation.RemoveDead();
    }
    double live = 0, shots = 0;
    spent[0] = spent[1] = spent[2] = 0;
    for (auto _ : state) {
        state.PauseTiming();
        simulation.PrepareFrame();
        CountObjects(live, shots);
        state.ResumeTiming();
        simulation.SimulateFrame(spent);
        state.PauseTiming();
        simulation.RemoveDead();  // the game flow's upkeep, not the simulation's
        state.ResumeTiming();
    }
    // Plain counters (not rates), so that the figures read as they are.
    const double frames = double(state.iterations());
    state.counters["live_objects"] = live / frames;
    state.counters["shots"] = shots / frames;
    state.counters["enemies"] = enemies;
    const double simulatedMs = spent[0] + spent[1] + spent[2];
    state.counters["ms_per_frame"] = simulatedMs / frames;
    state.counters["frame_share_pct"] = simulatedMs / frames / kFrameBudgetMs * 100.0;
    state.counters["behaviour_ms"] = spent[0] / frames;
    state.counters["collision_ms"] = spent[1] / frames;
    state.counters["physics_ms"] = spent[2] / frames;
}

}  // namespace

BENCHMARK(BM_SimulationFrame)->Arg(32)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK_MAIN();
