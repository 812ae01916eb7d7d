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

#include <cmath>
#include <cstdio>
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

void BM_Frame(benchmark::State& state) {
    if (Skip(state)) return;
    Arrange(int(state.range(0)));
    Graphics& graphics = *Module<Graphics>::Instance();
    const ProcessCpu cpu;
    for (auto _ : state) {
        Ui().Update();
        graphics.Update();
        glFinish();
    }
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

BENCHMARK(BM_Frame)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_BlipRebuild)->Unit(benchmark::kMicrosecond);

// Prints the runs as the console does, then the display's share of a frame.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto empty = times.find("BM_Frame/0/min_time:2.000/real_time");
        const auto whole = times.find("BM_Frame/1/min_time:2.000/real_time");
        if (empty == times.end() || whole == times.end() || empty->second <= 0.0) return;
        std::printf("head-up display: a/b = %.3f (%.2f ms with it, %.2f ms without)\n", whole->second / empty->second,
                    whole->second, empty->second);
    }

private:
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
