// Level loads as the game runs them, from "Load Level Thread" to the
// hand-over done (loadingDone), on the game's window: the first load of
// level 1 (its categories freed before each round), a restart of it, and
// the change from level 1 to level 2 and to level 3 (the new level's
// category read and uploaded, level 1's freed; level 1 brought back before
// each round). Each has a yardstick beside it: a plain read of the same files' bytes (the
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

// A level as the loads name it.
struct LevelFiles {
    const char* category;
    const char* levelFile;
    const char* script;
};
constexpr LevelFiles kLevelOne{"level1", "./resource/levels/level1.xml", "./scripts/load_level_1.lua"};
constexpr LevelFiles kLevelTwo{"level2", "./resource/levels/level2.xml", "./scripts/load_level_2.lua"};
constexpr LevelFiles kLevelThree{"level3", "./resource/levels/level3.xml", "./scripts/load_level_3.lua"};

// Which load: the first of a run, a restart of the level played, or a
// change to it from level 1.
enum class Load { kFirst, kRestart, kChange };

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

// The categories a load reads: "all" and the level's on the first load, the
// level's on a change, none on a restart.
std::vector<std::string> CategoriesRead(const LevelFiles& level, Load load) {
    if (load == Load::kFirst) return {"all", level.category};
    if (load == Load::kChange) return {level.category};
    return {};
}

// The files a load reads: those of the categories it reads, then the level
// file and its script.
std::vector<std::string> FilesRead(const LevelFiles& level, Load load) {
    std::vector<std::string> files;
    for (const std::string& category : CategoriesRead(level, load))
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

// Whether the category's resources are in the store (its first entry stands for all).
bool IsCategoryStored(const char* category) {
    const std::vector<RegistryData> entries = Store().RegistryEntriesInCategory(category);
    return !entries.empty() && Store().IsStored(entries.front().name);
}

// What a change from level 1 finds: level 1's category read and uploaded
// (the hand-over of the round before freed it), the new level's not.
void ComeFromLevelOne(const LevelFiles& level) {
    if (IsCategoryStored(level.category)) {
        Store().UnloadContextCategory(level.category);
        Store().DeleteCategory(level.category);
    }
    if (!IsCategoryStored(kLevelOne.category)) {
        Store().LoadCategory(kLevelOne.category);
        Store().LoadContextCategory(kLevelOne.category);
    }
}

// One load per round, timed by hand so that the set-up before it is not.
void MeasureLoads(benchmark::State& state, const LevelFiles& level, Load load) {
    if (!Ready()) {
        state.SkipWithError("no window or no level 1");
        return;
    }
    GameLogic& game = Game();
    double loading = 0.0;
    for (auto _ : state) {
        if (load == Load::kFirst) ForgetTheLevel(level);
        if (load == Load::kChange) ComeFromLevelOne(level);
        game.firstLoad = load == Load::kFirst;
        game.levelName = level.category;
        game.previousLevelName = load == Load::kChange ? kLevelOne.category : level.category;
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
    const std::vector<std::string> files = FilesRead(level, load);
    const double raw = RawReadSeconds(files);
    const double perLoad = loading / double(state.iterations());
    state.counters["load_ms"] = perLoad * 1000.0;
    state.counters["raw_read_ms"] = raw * 1000.0;
    state.counters["ratio"] = raw > 0.0 ? perLoad / raw : 0.0;
    state.counters["files"] = double(files.size());
}

// The yardstick alone, as a row of its own.
void MeasureRawRead(benchmark::State& state, const LevelFiles& level, Load load) {
    if (!Ready()) {
        state.SkipWithError("no window or no level 1");
        return;
    }
    const std::vector<std::string> files = FilesRead(level, load);
    size_t bytes = 0;
    for (auto _ : state) bytes = ReadAll(files);
    state.counters["bytes"] = double(bytes);
}

void BM_FirstLoadOfLevelOne(benchmark::State& state) { MeasureLoads(state, kLevelOne, Load::kFirst); }
void BM_FirstLoadOfLevelOne_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelOne, Load::kFirst); }
void BM_RestartOfLevelOne(benchmark::State& state) { MeasureLoads(state, kLevelOne, Load::kRestart); }
void BM_RestartOfLevelOne_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelOne, Load::kRestart); }
void BM_ChangeToLevelTwo(benchmark::State& state) { MeasureLoads(state, kLevelTwo, Load::kChange); }
void BM_ChangeToLevelTwo_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelTwo, Load::kChange); }
void BM_ChangeToLevelThree(benchmark::State& state) { MeasureLoads(state, kLevelThree, Load::kChange); }
void BM_ChangeToLevelThree_RawRead(benchmark::State& state) { MeasureRawRead(state, kLevelThree, Load::kChange); }

}  // namespace

BENCHMARK(BM_FirstLoadOfLevelOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstLoadOfLevelOne_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestartOfLevelOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_RestartOfLevelOne_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeToLevelTwo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ChangeToLevelTwo_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeToLevelThree)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ChangeToLevelThree_RawRead)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
