// Level loads as the game runs them, from "Load Level Thread" to the
// hand-over done (loadingDone), on the game's window: the first load of
// level 1 (its categories freed before each round) and a restart of it. Each
// has a yardstick beside it: a plain read of the same files' bytes (the
// categories' files, the level file and its script). Each load reports
// "load_ms", "raw_read_ms" and their "ratio". Needs a display:
//   xvfb-run -a -s "-screen 0 1024x768x24" env SDL_VIDEODRIVER=x11 bench_level_load_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/first_level_scene.h"

namespace {

using Clock = std::chrono::steady_clock;

// A level as the loads name it; levels 2 and 3 join when they exist.
struct LevelFiles {
    const char* category;
    const char* levelFile;
    const char* script;
};
constexpr LevelFiles kLevelOne{"level1", "./resource/levels/level1.xml", "./scripts/load_level_1.lua"};

GameLogic& Game() { return *Module<GameLogic>::Instance(); }
ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

bool Ready() {
    static const bool ready = [] {
        std::filesystem::current_path(QUELL_RUN_DIR);
        System& system = *Module<System>::Instance();
        system.running.store(false);
        system.fullScreen = false;
        system.width = 640;
        system.height = 480;
        return system.InitGL() && test_support::LoadFirstLevelScene();
    }();
    return ready;
}

// The files a load reads: those of the categories it reads (none on a
// restart), then the level file and its script.
std::vector<std::string> FilesRead(const LevelFiles& level, bool first) {
    std::vector<std::string> files;
    if (first)
        for (const char* category : {"all", level.category})
            for (const RegistryData& entry : Store().RegistryEntriesInCategory(category))
                if (entry.hasFile) files.push_back(entry.file);
    files.push_back(level.levelFile);
    files.push_back(level.script);
    return files;
}

size_t ReadAll(const std::vector<std::string>& files) {
    size_t bytes = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes += content.size();
    }
    return bytes;
}

double RawReadSeconds(const std::vector<std::string>& files) {
    constexpr int kRounds = 5;
    const auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) benchmark::DoNotOptimize(ReadAll(files));
    return std::chrono::duration<double>(Clock::now() - start).count() / kRounds;
}

// What the first load of a run finds: no level objects, "all" and the
// level's category not read, "firstLoad" set.
void ForgetTheLevel(const LevelFiles& level) {
    Singleton<Level>::Instance()->ReleaseLevelData();
    for (const char* category : {"all", level.category}) {
        Store().UnloadContextCategory(category);
        Store().DeleteCategory(category);
    }
}

// One load per round, timed by hand so that the set-up before it is not.
void MeasureLoads(benchmark::State& state, const LevelFiles& level, bool first) {
    if (!Ready()) {
        state.SkipWithError("no window or no level 1");
        return;
    }
    GameLogic& game = Game();
    double loading = 0.0;
    for (auto _ : state) {
        if (first) ForgetTheLevel(level);
        game.firstLoad = first;
        game.levelName = game.previousLevelName = level.category;
        game.levelPath = level.levelFile;
        game.scriptPath = level.script;
        const auto start = Clock::now();
        if (!test_support::RunLevelLoad()) {
            state.SkipWithError("the load made no playable level");
            break;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        loading += seconds;
    }
    if (state.iterations() == 0) return;
    const std::vector<std::string> files = FilesRead(level, first);
    const double raw = RawReadSeconds(files);
    const double load = loading / double(state.iterations());
    state.counters["load_ms"] = load * 1000.0;
    state.counters["raw_read_ms"] = raw * 1000.0;
    state.counters["ratio"] = raw > 0.0 ? load / raw : 0.0;
    state.counters["files"] = double(files.size());
}

// The yardstick alone, as a row of its own.
void MeasureRawRead(benchmark::State& state, const LevelFiles& level, bool first) {
    if (!Ready()) {
        state.SkipWithError("no window or no level 1");
        return;
    }
    const std::vector<std::string> files = FilesRead(level, first);
    size_t bytes = 0;
    for (auto _ : state) bytes = ReadAll(files);
    state.counters["bytes"] = double(bytes);
}

void BM_FirstLoadOfLevelOne(benchmark::State& state) { MeasureLoads(state, kLevelOne, true); }
void BM_FirstLoadOfLevelOne_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelOne, true); }
void BM_RestartOfLevelOne(benchmark::State& state) { MeasureLoads(state, kLevelOne, false); }
void BM_RestartOfLevelOne_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelOne, false); }

}  // namespace

BENCHMARK(BM_FirstLoadOfLevelOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstLoadOfLevelOne_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestartOfLevelOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_RestartOfLevelOne_RawRead)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
