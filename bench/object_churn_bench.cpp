// Object churn: each frame registers 1,000 objects of five components each
// (every registration copies the object and its components into the table),
// copies each stored object out as a script read does, kills them all and
// removes the dead, then drains the "KillGameObject" announcements as Physics
// does. Reports objects per second through one whole add-copy-kill-remove life.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

namespace {

// No StatsComp: every kill of one would write a log line.
GameObject Prototype() {
    GameObject object("prototype");
    object.AttachComponent(PhysicsComp());
    object.AttachComponent(GraphicsComp());
    object.AttachComponent(CollisionComp());
    object.AttachComponent(BehaviorComp());
    object.AttachComponent(BillboardComp());
    return object;
}

void ChurnFrame(ObjectManager& manager, GameObject& prototype, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        prototype.name = name;
        manager.AddGameObject(prototype);
    }
    {
        ObjectLock guard(manager);
        for (const GameObjectList::value_type& entry : manager.gameObjectList) {
            GameObject copy(entry.second);
            benchmark::DoNotOptimize(copy);
        }
        for (GameObjectList::value_type& entry : manager.gameObjectList)
            manager.KillGameObject(entry.second);
        manager.RemoveDeadGameObjects();
    }
    benchmark::DoNotOptimize(Module<EventManager>::Instance()->PollEvents(EventManager::kBroadcast));
}

void BM_ObjectChurn(benchmark::State& state) {
    Module<System>::Instance()->running.store(false);
    EventManager& events = *Module<EventManager>::Instance();
    events.Kill();
    events.Init();
    ObjectManager manager;
    manager.Init();
    GameObject prototype = Prototype();
    std::vector<std::string> names;
    for (int i = 0; i < state.range(0); ++i) names.push_back("churn" + std::to_string(i));

    for (auto _ : state) ChurnFrame(manager, prototype, names);

    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["objects_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                           benchmark::Counter::kIsRate);
    manager.Kill();
    events.Kill();
}

BENCHMARK(BM_ObjectChurn)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
