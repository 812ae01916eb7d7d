// The head-up display's cost at 1024x768 on this machine's OpenGL, on the
// first level loaded as the game flow loads it, with a dozen mechs around the
// player on the minimap. Each frame is the interface's update (the widgets'
// Activate, the minimap's blip rebuild among them) and the renderer's whole
// frame with its buffer swap, ended by glFinish:
//   Frame/0  an empty widget registry (b);
//   Frame/1  the whole head-up display (a);
//   Frame/2  the minimap alone, Frame/3 the three gauges alone, Frame/4 the
//            missile counter's text alone, Frame/5 the crosshair and the four
//            hit wedges: where the display's time goes.
// BlipRebuild times the minimap's rebuild alone over 1,000 extra objects
// (the object lock is held that long). Besides the wall time,
// "process_cpu_ms" is the CPU time of all the process's threads per
// iteration. At the end the ratio a/b is printed. Needs a display: run under
// xvfb-run with SDL_VIDEODRIVER=x11.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "event_manager.h"
#include "frame_bench_support.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface/minimap.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/first_level_scene.h"
#include "support/hunting_world.h"

namespace {

using bench_support::ProcessCpu;

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// The window, the level, the modules the interface needs and the mechs,
// made on first use.
bool SceneReady() {
    static const bool ready = [] {
        if (!test_support::OpenFirstLevelWindow(1024, 768)) return false;
        Module<EventManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
        Ui().Init();
        Vector player;
        {
            ObjectLock lock;
            player = Objects().GetGameObject(GameObject::kPlayerName)->trans;
        }
        // A ring of mechs, the nearer ones as squares, the farther as rim arrows.
        for (int i = 0; i < 12; ++i) {
            const float angle = float(i) * 0.5236f, reach = i % 2 ? 300.0f : 900.0f;
            if (!test_support::AddStanding("MediumMech", "mech" + std::to_string(i),
                                           player.x + reach * std::sin(angle), player.z + reach * std::cos(angle)))
                return false;
        }
        return true;
    }();
    return ready;
}

bool Skip(benchmark::State& state) {
    if (SceneReady()) return false;
    state.SkipWithError("no window or no level (run under xvfb-run with SDL_VIDEODRIVER=x11)");
    return true;
}

// The display, then only the widgets of the case kept.
void Arrange(int which) {
    Ui().BuildInterface(InterfaceState::Ingame);
    const std::map<int, std::vector<std::string>> kept = {
        {0, {}},
        {2, {"minimap"}},
        {3, {"health", "shield", "boost"}},
        {4, {"CONSOLE"}},
        {5, {"crosshair", "Top Indicator", "Bottom Indicator", "Left Indicator", "Right Indicator"}},
    };
    const auto found = kept.find(which);
    if (found == kept.end()) return;
    std::vector<std::string> names;
    for (const auto& entry : Objects().interObjList) names.push_back(entry.name);
    for (const std::string& name : names) {
        bool keep = false;
        for (const std::string& wanted : found->second) keep |= name == wanted;
        if (!keep) Ui().DeleteInterfaceObject(name);
    }
}

// The interface's update and the renderer's whole frame, finished.
void Frame() {
    Ui().Update();
    Module<Graphics>::Instance()->Update();
    glFinish();
}

void BM_Frame(benchmark::State& state) {
    if (Skip(state)) return;
    Arrange(int(state.range(0)));
    const ProcessCpu cpu;
    for (auto _ : state) Frame();
    cpu.Finish(state);
    Ui().ClearInterfaceObjects();
}

// The minimap's rebuild over the level, the mechs and 1,000 more objects,
// half actors and half boxes.
void BM_BlipRebuild(benchmark::State& state) {
    if (Skip(state)) return;
    static const bool added = [] {
        for (int i = 0; i < 1000; ++i) {
            GameObject object("extra" + std::to_string(i));
            object.trans = Vector(float(i % 40) * 20.0f, 0.0f, float(i / 40) * 20.0f, 1.0f);
            if (i % 2) {
                object.AttachComponent(StatsComp(100, 1.0f, 0.0f, 100.0f, 0));
            } else {
                CollisionComp box;
                box.hasOBB = true;
                box.obb.extents = Vector(5.0f, 5.0f, 5.0f, 0.0f);
                object.AttachComponent(box);
                object.AttachComponent(GraphicsComp());
            }
            Objects().AddGameObject(object);
        }
        return true;
    }();
    (void)added;
    MiniMap map(0, Vector());
    map.Activate();  // sized once, as on the display's first frame
    for (auto _ : state) {
        map.Activate();
        benchmark::DoNotOptimize(map.blips.data());
    }
    state.counters["blips"] = double(map.blips.size());
}

// One frame with the display and one with an empty registry, in turn, so
// that the machine's other work weighs on both alike: "ratio" is a/b of the
// wall times, "cpu_ratio" of the process's CPU times.
void BM_DisplayShare(benchmark::State& state) {
    if (Skip(state)) return;
    Arrange(1);
    InterfaceObjectList& registry = Objects().interObjList;
    double wall[2] = {0.0, 0.0}, cpu[2] = {0.0, 0.0};
    for (auto _ : state) {
        for (int without = 0; without < 2; ++without) {
            std::vector<InterfaceObject*> kept;
            if (without) kept = registry.TakeAll();
            const double cpuStart = bench_support::ProcessCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            Frame();
            wall[without] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            cpu[without] += bench_support::ProcessCpuSeconds() - cpuStart;
            for (InterfaceObject* widget : kept) registry.Insert(widget);
        }
    }
    const double frames = double(state.iterations());
    state.counters["with_ms"] = wall[0] * 1000.0 / frames;
    state.counters["without_ms"] = wall[1] * 1000.0 / frames;
    state.counters["ratio"] = wall[0] / wall[1];
    state.counters["cpu_ratio"] = cpu[0] / cpu[1];
    Ui().ClearInterfaceObjects();
}

BENCHMARK(BM_DisplayShare)->Unit(benchmark::kMillisecond)->MinTime(4.0);
BENCHMARK(BM_Frame)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_BlipRebuild)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
