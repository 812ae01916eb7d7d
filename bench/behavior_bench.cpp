// The behaviour module's frame with 100 enemies on the level-1 navigation
// graph and planning on: microseconds per BehaviorManager::Update and path
// searches per second. "Chasing" moves the player to another node every frame,
// so every frame clears the paths and searches once (the worst case);
// "Standing" keeps the player on one node, so once every enemy has its path
// no frame searches. The enemies carry empty state stacks: the cost of the
// states themselves belongs to the states.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <tinyxml.h>

#include "behavior_manager.h"
#include "level.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/random.h"
#include "xml_file.h"

namespace {

constexpr int kEnemies = 100;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

bool LoadLevelOneGraph(BehaviorManager& manager) {
    TiXmlDocument document;
    std::string reason;
    if (!LoadXmlFile(document, std::string(QUELL_RUN_DIR) + "/resource/levels/level1.xml", reason)) return false;
    NavGraph graph;
    LoadNavGraph(graph, *document.RootElement());
    manager.ReplaceNavGraph(graph);
    return !manager.navGraph.nodes.empty();
}

// The player and kEnemies enemies, each on a node chosen at random.
void PlaceEnemies(const std::vector<Vector>& nodes) {
    {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    GameObject player("player");
    player.trans = nodes.front();
    player.AttachComponent(StatsComp());
    Objects().AddGameObject(player);
    for (int i = 0; i < kEnemies; ++i) {
        GameObject enemy("enemy" + std::to_string(i));
        enemy.trans = nodes[std::size_t(platform::Rand()) % nodes.size()];
        enemy.AttachComponent(StatsComp());
        enemy.AttachComponent(BehaviorComp());
        Objects().AddGameObject(enemy);
    }
}

// Whether this frame's turn will search: its enemy has no path for the
// current player node, or the player's node changed last frame.
bool TurnSearches(const BehaviorManager& manager) {
    if (manager.currentEnemy == 0) return false;
    ObjectLock lock;
    if (!Objects().HasGameObject(manager.currentEnemy)) return false;
    const BehaviorComp* behavior = Objects().GetGameObject(manager.currentEnemy)->GetBehaviorComp();
    return behavior && (manager.playerNodeChanged || !behavior->sm.pathPlanned);
}

void MovePlayer(const Vector& to) {
    ObjectLock lock;
    Objects().GetGameObject("player")->trans = to;
}

void BM_BehaviorFrame(benchmark::State& state, bool chasing) {
    platform::SeedRandom(7);  // the same placement every run
    Objects().Init();
    BehaviorManager& manager = *Module<BehaviorManager>::Instance();
    manager.Init();
    if (!LoadLevelOneGraph(manager)) {
        state.SkipWithError("level 1's navigation graph could not be read");
        return;
    }
    std::vector<Vector> nodes;
    for (const auto& entry : manager.navGraph.nodes) nodes.push_back(entry.second.trans);
    PlaceEnemies(nodes);
    std::size_t frame = 0;
    double searches = 0;
    for (auto _ : state) {
        if (chasing) MovePlayer(nodes[++frame % nodes.size()]);
        searches += TurnSearches(manager);
        manager.Update();
    }
    state.counters["path_searches_per_second"] = benchmark::Counter(searches, benchmark::Counter::kIsRate);
    state.counters["graph_nodes"] = double(nodes.size());
    manager.Kill();
}

void BM_BehaviorFrameChasing(benchmark::State& state) { BM_BehaviorFrame(state, true); }
void BM_BehaviorFrameStanding(benchmark::State& state) { BM_BehaviorFrame(state, false); }

}  // namespace

BENCHMARK(BM_BehaviorFrameChasing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BehaviorFrameStanding)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
