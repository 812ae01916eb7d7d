// The simulation anchor: one frame of behaviour, collision and physics
// through the real module updates, on one thread, on level 1 with about 32,
// 100 and 1,000 live objects: enemies hunting a still player and firing at
// it, their shots, and the level's scenery with extra crates. The world is
// first run for a few seconds so that the shots reach their steady number;
// the animation pass (which poses the muzzles) runs between the timed frames.
// Reports milliseconds per frame (and per module), the share of a 16.7 ms
// frame, and the live objects and shots actually present while timing.
//
// Beside it, the largest wave of the endless play (17 "MediumMechSuper" and
// 15 "HeavyMechSuper" hunting the player) on level 1 and on level 3, where
// the waves come: each machine on one of the graph's nodes nearest to the
// player, in level 1's basin and in level 3's plaza (the machines idling in
// level 3's streets cleared away first, as entering the plaza does). Level
// 3's figure is also given as a ratio to level 1's; the goal is at most 1.5.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

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

// Level 1 or 3 with no object but its own.
bool LoadLevel(int level) {
    static const bool ready = [] {
        std::filesystem::current_path(QUELL_RUN_DIR);
        Module<System>::Instance()->running.store(false);  // no error-log files from a benchmark
        Module<EventManager>::Instance()->Init();
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        for (const char* category : {"all", "level1", "level3"}) store.LoadCategory(category);
        Objects().Init();
        return true;
    }();
    {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    const std::string name = "level" + std::to_string(level);
    return ready && Singleton<Level>::Instance()->LoadLevel("./resource/levels/" + name + ".xml");
}

bool LoadLevelOne() { return LoadLevel(1); }

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
    // The timed part; adds each module's milliseconds to spent[0..2] and
    // the thread's processor time for all three to spent[3].
    void SimulateFrame(double spent[4]) {
        const double cpuStart = ThreadCpuMs();
        Timed(spent[0], [this] { behavior.Update(); });
        Timed(spent[1], [this] { collision.Update(); });
        Timed(spent[2], [this] { physics.Update(); });
        spent[3] += ThreadCpuMs() - cpuStart;
    }
    void RemoveDead() {
        ObjectLock lock;
        Objects().RemoveDeadGameObjects();
    }

private:
    // Unlike the clock on the wall, it does not count the time the thread
    // waits for a core, so it stays steady on a busy machine.
    static double ThreadCpuMs() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
    }
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

// Warms the world up, then times frames; fills the counters and gives the
// simulation's processor milliseconds per frame.
double RunSimulation(benchmark::State& state) {
    Simulation simulation;
    double spent[4] = {0, 0, 0, 0};  // behaviour, collision, physics; processor time
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        simulation.PrepareFrame();
        simulation.SimulateFrame(spent);
        simulation.RemoveDead();
    }
    double live = 0, shots = 0;
    spent[0] = spent[1] = spent[2] = spent[3] = 0;
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
    const double msPerFrame = (spent[0] + spent[1] + spent[2]) / frames;
    state.counters["ms_per_frame"] = msPerFrame;
    state.counters["frame_share_pct"] = msPerFrame / kFrameBudgetMs * 100.0;
    state.counters["behaviour_ms"] = spent[0] / frames;
    state.counters["collision_ms"] = spent[1] / frames;
    state.counters["physics_ms"] = spent[2] / frames;
    state.counters["cpu_ms_per_frame"] = spent[3] / frames;
    return spent[3] / frames;
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
    RunSimulation(state);
    state.counters["enemies"] = enemies;
}

// --- The largest endless wave

constexpr int kWaveMedium = 17;
constexpr int kWaveHeavy = 15;

struct WaveArena {
    int level;
    float playerX, playerZ;
};

// Level 1's basin centre; level 3's plaza, south of its tower.
WaveArena ArenaOf(int level) { return level == 3 ? WaveArena{3, 1000.0f, 500.0f} : WaveArena{1, 1000.0f, 1000.0f}; }

// Kills what the level placed with a StatsComp (its street machines), as
// entering level 3's plaza does, and drops them from the table.
void ClearPlacedMachines() {
    ObjectLock lock;
    for (auto& entry : Objects().gameObjectList)
        if (entry.second.GetStatsComp()) Objects().KillGameObject(entry.second);
    Objects().RemoveDeadGameObjects();
}

// The graph's nodes nearest to (x, z), nearest first.
std::vector<Vector> NodesNear(float x, float z, std::size_t count) {
    std::vector<Vector> places;
    for (const auto& entry : Module<BehaviorManager>::Instance()->navGraph.nodes) places.push_back(entry.second.trans);
    auto distance = [x, z](const Vector& p) { return (p.x - x) * (p.x - x) + (p.z - z) * (p.z - z); };
    std::sort(places.begin(), places.end(), [&](const Vector& a, const Vector& b) { return distance(a) < distance(b); });
    // The player's own node stays free.
    if (!places.empty()) places.erase(places.begin());
    places.resize(std::min(count, places.size()));
    return places;
}

bool BuildWave(const WaveArena& arena) {
    platform::SeedRandom(7);
    if (!LoadLevel(arena.level)) return false;
    ClearPlacedMachines();
    if (test_support::AddStillPlayer(arena.playerX, arena.playerZ) == 0) return false;
    const std::vector<Vector> places = NodesNear(arena.playerX, arena.playerZ, kWaveMedium + kWaveHeavy);
    if (places.size() < std::size_t(kWaveMedium + kWaveHeavy)) return false;
    for (int i = 0; i < kWaveMedium + kWaveHeavy; ++i) {
        // Alternating, so that both kinds stand near and far; the two
        // mediums over stand farthest.
        const bool medium = i % 2 == 0 || i >= 2 * kWaveHeavy;
        const char* pattern = medium ? "MediumMechSuper" : "HeavyMechSuper";
        if (test_support::AddStanding(pattern, "wave" + std::to_string(i), places[i].x, places[i].z) == 0) return false;
    }
    return true;
}

// state.range(0): the level. Level 1 runs first; level 3 reports its ratio to it.
void BM_LargestWave(benchmark::State& state) {
    static std::array<double, 4> msPerFrame{};
    const int level = int(state.range(0));
    if (!BuildWave(ArenaOf(level))) {
        state.SkipWithError("the level, its patterns or room for the wave are missing");
        return;
    }
    msPerFrame[level] = RunSimulation(state);
    state.counters["enemies"] = kWaveMedium + kWaveHeavy;
    if (level != 1 && msPerFrame[1] > 0.0) state.counters["ratio_to_level1"] = msPerFrame[level] / msPerFrame[1];
}

}  // namespace

BENCHMARK(BM_SimulationFrame)->Arg(32)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_LargestWave)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1000);
BENCHMARK_MAIN();
