// Loading the game's content from the run folder, files only (no OpenGL,
// no sound device), as the game does it:
//   StartUpCategories  "all_first" and "splash", read while the splash shows;
//   FirstLevel         the loader thread's part of the first level: "all",
//                      "level1" and the level file with its objects.
// The generated art's size and detail decide most of this time (decoding
// its pictures): a change to the generator is measured here.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "level.h"
#include "object_manager.h"
#include "resource_manager.h"

namespace {

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

// A fresh store and object table for each iteration, set up and torn down
// outside the timing.
class Fresh {
public:
    explicit Fresh(benchmark::State& state) : state(state) {
        state.PauseTiming();
        std::filesystem::current_path(QUELL_RUN_DIR);
        Store().Init();
        Module<ObjectManager>::Instance()->Init();
        state.ResumeTiming();
    }
    ~Fresh() {
        state.PauseTiming();
        {
            ObjectLock lock;
            Singleton<Level>::Instance()->ReleaseLevelData();
        }
        Store().Kill();
        Module<ObjectManager>::Instance()->Kill();
        state.ResumeTiming();
    }

private:
    benchmark::State& state;
};

void BM_StartUpCategories(benchmark::State& state) {
    for (auto _ : state) {
        Fresh fresh(state);
        Store().LoadCategory("all_first");
        Store().LoadCategory("splash");
    }
}

void BM_FirstLevel(benchmark::State& state) {
    for (auto _ : state) {
        Fresh fresh(state);
        Store().LoadCategory("all");
        Store().LoadCategory("level1");
        if (!Singleton<Level>::Instance()->LoadLevel("./resource/levels/level1.xml")) {
            state.SkipWithError("the first level did not load");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_StartUpCategories)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstLevel)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
