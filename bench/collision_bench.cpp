// Collision per frame: CollisionManager::Update on scenes of 1,000 and 5,000
// objects spread over a 2,000 x 2,000 level (60% standing boxes, 30% moving
// spheres, 10% fast shots), and a worst case with every object at one X.
// Beside it, the same scenes in Bullet (btCollisionWorld over a
// btDbvtBroadphase, one performDiscreteCollisionDetection per frame), as a
// yardstick. Moving the objects between frames is not timed in either.
// Prints microseconds per frame for both and the ratio ours / Bullet.
#include <benchmark/benchmark.h>

#include <btBulletCollisionCommon.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "collision_manager.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

namespace {

constexpr float kLevelSize = 2000.0f;
constexpr double kStep = 1.0 / 60.0;

enum class Kind { Box, Sphere, Shot };

// Filter bits: boxes meet spheres and shots, spheres meet everything, shots
// never meet shots.
struct Filter { unsigned category; unsigned collidesWith; };
Filter FilterOf(Kind kind) {
    switch (kind) {
        case Kind::Box: return {1, 0};
        case Kind::Sphere: return {2, 1 | 2};
        default: return {4, 1 | 2};
    }
}

struct BenchBody {
    Kind kind;
    Vector position;
    Vector velocity;
    Vector halfSize;  // boxes
    float radius;     // the bounding sphere
    float yaw;        // boxes turn about the vertical only
};

std::vector<BenchBody> MakeScene(int count, bool oneX) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<BenchBody> bodies;
    for (int i = 0; i < count; ++i) {
        BenchBody body{};
        const float pick = unit(random);
        body.kind = pick < 0.6f ? Kind::Box : pick < 0.9f ? Kind::Sphere : Kind::Shot;
        body.position = Vector(oneX ? kLevelSize / 2 : unit(random) * kLevelSize, unit(random) * 40,
                               unit(random) * kLevelSize);
        if (body.kind == Kind::Box) {
            body.halfSize = Vector(2 + unit(random) * 8, 2 + unit(random) * 8, 2 + unit(random) * 8);
            body.radius = body.halfSize.Mag();
            body.yaw = unit(random) * 3.14159f;
        } else if (body.kind == Kind::Sphere) {
            body.radius = 1 + unit(random) * 4;
            body.velocity = Vector(unit(random) - 0.5f, 0, unit(random) - 0.5f).Norm() * 20.0f;
        } else {
            body.radius = 0.5f;
            body.velocity = Vector(unit(random) - 0.5f, 0, unit(random) - 0.5f).Norm() * 600.0f;
        }
        if (oneX) body.velocity.x = 0;
        bodies.push_back(body);
    }
    return bodies;
}

// One frame of motion, bouncing off the level's walls.
void Move(BenchBody& body) {
    body.position = body.position + body.velocity * static_cast<float>(kStep);
    for (int k : {0, 2}) {
        if (body.position[k] < 0 || body.position[k] > kLevelSize) {
            body.velocity[k] = -body.velocity[k];
            body.position[k] = std::fmin(std::fmax(body.position[k], 0.0f), kLevelSize);
        }
    }
}

Quaternion Yaw(float angle) { return Quaternion(std::cos(angle / 2), Vector(0, std::sin(angle / 2), 0)); }

// --- Ours

struct OurWorld {
    explicit OurWorld(std::vector<BenchBody> scene) : bodies(std::move(scene)) {
        Module<System>::Instance()->running.store(false);
        Module<EventManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Init();
        objects.Init();
        {
            ObjectLock lock(objects);
            objects.ClearGameObjects();
        }
        for (size_t i = 0; i < bodies.size(); ++i) Add(bodies[i], "body" + std::to_string(i));
        collision.Init();
        collision.SetFrameClock(FrameClock{0.0, kStep});
    }
    ~OurWorld() {
        collision.Kill();
        ObjectLock lock(objects);
        objects.ClearGameObjects();
    }

    void Add(const BenchBody& body, const std::string& name) {
        GameObject object(name);
        object.trans = body.position;
        object.rot = Yaw(body.yaw);
        CollisionComp shape;
        shape.hasBoundSphere = true;
        shape.boundSphere.radius = body.radius;
        shape.category = FilterOf(body.kind).category;
        shape.collidesWith = FilterOf(body.kind).collidesWith;
        if (body.kind == Kind::Box) {
            shape.hasOBB = true;
            shape.obb = OBB(Vector(), body.halfSize);
        }
        object.AttachComponent(shape);
        if (body.kind != Kind::Box) {
            PhysicsComp physics;
            physics.linearVel = body.velocity;
            object.AttachComponent(physics);
        }
        if (body.kind == Kind::Shot) object.AttachComponent(BulletComp());
        objects.AddGameObject(object);
        ObjectLock lock(objects);
        numbers.push_back(objects.GetObjectNumber(name));
    }

    void Detect() { collision.Update(); }
    size_t Contacts() const { return collision.collisionEvents.size(); }

    void MoveAll() {
        ObjectLock lock(objects);
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (bodies[i].kind == Kind::Box) continue;
            Move(bodies[i]);
            objects.GetGameObject(numbers[i])->trans = bodies[i].position;
        }
    }

    std::vector<BenchBody> bodies;
    std::vector<unsigned> numbers;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    CollisionManager& collision = *Module<CollisionManager>::Instance();
};


// --- Bullet

struct BulletWorld {
    explicit BulletWorld(std::vector<BenchBody> scene)
        : bodies(std::move(scene)), dispatcher(&configuration), world(&dispatcher, &broadphase, &configuration) {
        // Bullet at its best: standing boxes sleep and keep their bounds.
        world.setForceUpdateAllAabbs(false);
        for (const BenchBody& body : bodies) Add(body);
    }
    ~BulletWorld() {
        for (auto& object : objects) world.removeCollisionObject(object.get());
    }

    void Add(const BenchBody& body) {
        if (body.kind == Kind::Box)
            shapes.push_back(std::make_unique<btBoxShape>(btVector3(body.halfSize.x, body.halfSize.y, body.halfSize.z)));
        else
            shapes.push_back(std::make_unique<btSphereShape>(body.radius));
        auto object = std::make_unique<btCollisionObject>();
        object->setCollisionShape(shapes.back().get());
        btTransform place;
        place.setIdentity();
        place.setOrigin(btVector3(body.position.x, body.position.y, body.position.z));
        place.setRotation(btQuaternion(btVector3(0, 1, 0), body.yaw));
        object->setWorldTransform(place);
        if (body.kind == Kind::Box) {
            object->setCollisionFlags(btCollisionObject::CF_STATIC_OBJECT);
            object->setActivationState(ISLAND_SLEEPING);
        } else {
            object->setActivationState(DISABLE_DEACTIVATION);
        }
        // Bullet needs the filter to pass both ways: make the masks symmetric.
        const int group = static_cast<int>(FilterOf(body.kind).category);
        int mask = 0;
        for (Kind other : {Kind::Box, Kind::Sphere, Kind::Shot}) {
            const Filter a = FilterOf(body.kind), b = FilterOf(other);
            const bool meet = (a.category & b.collidesWith) || (a.collidesWith & b.category);
            if (meet) mask |= static_cast<int>(b.category);
        }
        world.addCollisionObject(object.get(), group, mask);
        objects.push_back(std::move(object));
    }

    void MoveAll() {
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (bodies[i].kind == Kind::Box) continue;
            Move(bodies[i]);
            const Vector& p = bodies[i].position;
            objects[i]->getWorldTransform().setOrigin(btVector3(p.x, p.y, p.z));
        }
    }

    void Detect() { world.performDiscreteCollisionDetection(); }

    size_t Contacts() {
        size_t count = 0;
        for (int m = 0; m < dispatcher.getNumManifolds(); ++m)
            count += dispatcher.getManifoldByIndexInternal(m)->getNumContacts() > 0;
        return count;
    }

    std::vector<BenchBody> bodies;
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btCollisionWorld world;
    std::vector<std::unique_ptr<btCollisionShape>> shapes;
    std::vector<std::unique_ptr<btCollisionObject>> objects;
};

// One timed detection per frame, after an untimed move.
template <class World>
void RunFrames(benchmark::State& state) {
    World world(MakeScene(static_cast<int>(state.range(0)), state.range(1) != 0));
    size_t contacts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        world.MoveAll();
        state.ResumeTiming();
        world.Detect();
        contacts += world.Contacts();
    }
    state.counters["contacts"] = benchmark::Counter(static_cast<double>(contacts), benchmark::Counter::kAvgIterations);
}

void BM_Ours(benchmark::State& state) { RunFrames<OurWorld>(state); }
void BM_Bullet(benchmark::State& state) { RunFrames<BulletWorld>(state); }

// Arguments: object count, and 1 for the one-X worst case.
void Scenes(benchmark::internal::Benchmark* bench) {
    bench->Args({1000, 0})->Args({5000, 0})->Args({1000, 1})->Args({5000, 1})->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_Ours)->Apply(Scenes);
BENCHMARK(BM_Bullet)->Apply(Scenes);

// Keeps each run's time per frame, to print ours / Bullet at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\n%-18s %12s %12s %8s\n", "scene", "ours us", "Bullet us", "ratio");
        for (const auto& entry : times) {
            const std::string name = entry.first;
            if (name.rfind("BM_Ours/", 0) != 0) continue;
            const std::string scene = name.substr(8);
            const bool spread = scene.find("_stddev") != std::string::npos || scene.find("_cv") != std::string::npos;
            if (spread) continue;
            const auto bullet = times.find("BM_Bullet/" + scene);
            if (bullet == times.end()) continue;
            std::printf("%-18s %12.1f %12.1f %8.2f\n", scene.c_str(), entry.second, bullet->second,
                        entry.second / bullet->second);
        }
    }

private:
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
