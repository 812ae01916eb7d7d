// One physics pass (gather, contacts, forces, integration, write-back) over
// N bodies in a row, each overlapping the next (N - 1 contacts) and each
// pulled by gravity. Between passes, untimed, the row is put back in place
// and the collision manager publishes its contacts afresh. Reports
// microseconds per pass and bodies per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "collision_manager.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "physics.h"
#include "system.h"

namespace {

struct BodyRow {
    explicit BodyRow(int count) {
        Module<System>::Instance()->running.store(false);
        Module<EventManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Init();
        objects.Init();
        collision.Init();
        physics.Init();
        for (int i = 0; i < count; ++i) Add(i);
        const FrameClock clock{0.0, 1.0 / 60.0};
        collision.SetFrameClock(clock);
        physics.SetFrameClock(clock);
    }
    ~BodyRow() {
        physics.Kill();
        collision.Kill();
        ObjectLock lock(objects);
        objects.ClearGameObjects();
    }

    void Add(int i) {
        const std::string name = "row" + std::to_string(i);
        GameObject object(name);
        object.trans = Place(i);
        CollisionComp shape;
        shape.hasBoundSphere = true;
        shape.category = 1;
        shape.collidesWith = 1;
        object.AttachComponent(shape);
        PhysicsComp body;
        body.mass = 1.0f + i % 3;
        object.AttachComponent(body);
        objects.AddGameObject(object);
        ObjectLock lock(objects);
        numbers.push_back(objects.GetObjectNumber(name));
        Event gravity("Bench", "Physics", ForcePhysics::kAddForce);
        gravity.SetParam<std::string>(ForcePhysics::kType, ForcePhysics::kGravityType);
        gravity.SetParam<unsigned>(ForcePhysics::kObj, numbers.back());
        Module<EventManager>::Instance()->PublishEvent(gravity);
    }

    // Unit spheres 1.5 apart: each overlaps the next by 0.5.
    static Vector Place(int i) { return Vector(1.5f * i, 0, 0); }

    void Reset() {
        {
            ObjectLock lock(objects);
            for (size_t i = 0; i < numbers.size(); ++i) {
                GameObject& object = *objects.GetGameObject(numbers[i]);
                object.trans = Place(static_cast<int>(i));
                object.GetPhysicsComp()->linearVel = Vector();
            }
        }
        collision.Update();
    }

    std::vector<unsigned> numbers;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    CollisionManager& collision = *Module<CollisionManager>::Instance();
    Physics& physics = *Module<Physics>::Instance();
};

void BM_PhysicsPass(benchmark::State& state) {
    BodyRow row(static_cast<int>(state.range(0)));
    row.physics.Update();  // takes the gravity events and makes the bodies
    size_t contacts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        row.Reset();
        contacts += row.collision.collisionEvents.size();
        state.ResumeTiming();
        row.physics.Update();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["contacts"] = benchmark::Counter(static_cast<double>(contacts), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PhysicsPass)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
