// The spawn manager: waves shared out over the spawn points, objects aimed at
// one point, the countdowns, the stack order of releases, the placement of a
// released object, and the points that have gone or never could spawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "aistuff/live_world.h"
#include "spawn_manager.h"
#include "support/game_world.h"
#include "system.h"

namespace {

using namespace live_world;
using Names = std::vector<std::string>;

SpawnManager& Spawner() { return *Module<SpawnManager>::Instance(); }

const char* const kPatterns[][2] = {
    {"SpBall", "<object><type>Enemy</type><position x=\"5\" y=\"6\" z=\"7\"/><collision autoGenerate=\"false\">"
               "<collisionGroup>1</collisionGroup><sphere center=\"0,0,0\" radius=\"2\"/></collision></object>"},
    {"SpBare", "<object><type>Scenery</type><position x=\"5\" y=\"6\" z=\"7\"/></object>"},
    {"SpGate", "<object><type>SpawnPoint</type><position x=\"0\" y=\"0\" z=\"0\"/><spawn delay=\"4\" dir=\"0,0,1\"/></object>"},
    {"SpBroken", "<object><type>Hollow</type><position x=\"0\" y=\"0\" z=\"0\"/><stats/></object>"},
};

class SpawnFrames : public LiveWorld {
protected:
    static void SetUpTestSuite() {
        static test_support::TempFolder folder;
        test_support::LoadPatternFiles(folder, kPatterns);
    }
    void SetUp() override {
        LiveWorld::SetUp();
        Spawner().Init();
        Module<System>::Instance()->frameTime.store(0.5);
    }
    void TearDown() override {
        Spawner().ClearSpawnPoints();
        Spawner().Kill();
        LiveWorld::TearDown();
    }

    // A registered spawn point; `entries` times in the list (no object at
    // all for "gone", one without a SpawnComp for "plain").
    static void Point(const std::string& name, double delay = 0.0, const Vector& trans = Vector(),
                      const Vector& dir = Vector(), int entries = 1) {
        GameObject point(name);
        point.trans = trans;
        SpawnComp spawn;
        spawn.delay = spawn.countdown = delay;
        spawn.spawnDir = dir;
        if (name != "plain") point.AttachComponent(spawn);
        if (name != "gone") Add(point);
        ObjectLock lock;
        for (int i = 0; i < entries; ++i) Spawner().AddSpawnPoint(name);
    }
    static SpawnComp& Spawn(const std::string& name) {
        return *static_cast<SpawnComp*>(Live(name).GetComponent(CompIndex::Spawn));
    }
    static void Send(const std::string& type, int number, const std::string& pattern, const std::string& point = "") {
        Event event("test", "SpawnManager", type);
        event.SetParam(SpawnManager::kParamNumber, number);
        event.SetParam(SpawnManager::kParamPattern, pattern);
        if (!point.empty()) event.SetParam(SpawnManager::kParamSpawnPoint, point);
        Events().PublishEvent(event);
    }
    // Names of the released objects in release order.
    static Names Released() {
        ObjectLock lock;
        std::map<unsigned, std::string> byNumber;
        for (const auto& entry : Objects().gameObjectList)
            if (entry.second.name.rfind("Sp", 0) == 0) byNumber[entry.first] = entry.second.name;
        Names names;
        for (const auto& entry : byNumber) names.push_back(entry.second);
        return names;
    }
    static std::string Prefix(const std::string& name) { return name.substr(0, name.find_first_of("0123456789")); }
};

// "gone" names no object, "plain" has no SpawnComp, "twice" stands twice in
// the list. Without a live point a wave is refused with a warning.
TEST_F(SpawnFrames, AWaveIsSharedOverTheLivePointsInRegistrationOrder) {
    struct Case { Names points; int number; std::map<std::string, size_t> queued; };
    const Case cases[] = {
        {{"a", "b", "c"}, 7, {{"a", 3}, {"b", 2}, {"c", 2}}},
        {{"a", "b", "c"}, 2, {{"a", 1}, {"b", 1}, {"c", 0}}},
        {{"a", "gone", "b", "plain"}, 5, {{"a", 3}, {"b", 2}}},
        {{"twice", "b"}, 5, {{"twice", 4}, {"b", 1}}},
        {{"a", "b"}, -3, {{"a", 0}, {"b", 0}}},
        {{}, 3, {}},
        {{"gone", "plain"}, 3, {}},
    };
    for (const Case& c : cases) {
        for (const std::string& name : c.points) Point(name, 100.0, Vector(), Vector(), name == "twice" ? 2 : 1);
        log.Restart();
        Send(SpawnManager::kDistributeObjects, c.number, "SpBare");
        Spawner().Update();
        for (const auto& [name, size] : c.queued) EXPECT_EQ(Spawn(name).patternQueue.size(), size) << name;
        const bool refused = c.queued.empty();
        EXPECT_EQ(log.Count("WARNING"), refused ? 1 : 0) << log.Text();
        EXPECT_EQ(log.Count("spawn_manager.cpp:"), refused ? 1 : 0) << log.Text();
        EXPECT_EQ(log.Count("Can't spawn object, no spawn points\n"), refused ? 1 : 0) << log.Text();
        Spawner().ClearSpawnPoints();
        ClearObjects();
    }
}

TEST_F(SpawnFrames, AddObjectServesEveryEntryOfThatNameAndMalformedEventsAreDropped) {
    Point("north", 100.0, Vector(), Vector(), 2);
    Point("south", 100.0);
    Send(SpawnManager::kAddObject, 3, "SpBare", "north");
    Send(SpawnManager::kAddObject, 3, "SpBare", "nowhere");
    Send(SpawnManager::kAddObject, 2, "SpBare");  // no "spawnPoint"
    Event floatNumber("test", "SpawnManager", SpawnManager::kAddObject);
    floatNumber.SetFloat(SpawnManager::kParamNumber, 2.0f);
    Events().PublishEvent(floatNumber);
    Send(SpawnManager::kAddObject, 2000000000, "SpBall", "south");
    Spawner().Update();
    EXPECT_EQ(Spawn("north").patternQueue.size(), 6u);
    EXPECT_EQ(Spawn("south").patternQueue.size(), size_t(SpawnManager::kMaxObjectsPerEvent));
    EXPECT_EQ(log.Count("WARNING"), 3) << log.Text();  // two dropped, one capped
}

// Nothing is released before Init or from a dead point; a fresh point waits
// one whole delay, and each point releases its last queued pattern first. A
// released object stands at its point, pushed out along spawnDir by its
// bounding sphere's radius (2 for SpBall; SpBare has no CollisionComp).
TEST_F(SpawnFrames, ReleasesComeOneAFullDelayApartLastQueuedFirstAtThePoint) {
    Point("slow", 1.0, Vector(100, 0, 0));
    Point("fast", 0.0, Vector(-100, 20, 30), Vector(1, 0, 0, 0));
    Point("dead", 0.0);
    Spawn("dead").patternQueue.push_back("SpBare");
    Spawner().Kill();
    Spawner().Update();
    EXPECT_TRUE(Released().empty());
    Spawner().Init();
    {
        ObjectLock lock;
        Objects().KillGameObject(*Objects().GetGameObject("dead"));
    }
    Send(SpawnManager::kDistributeObjects, 2, "SpBare");
    Send(SpawnManager::kDistributeObjects, 2, "SpBall");
    const std::vector<size_t> releasedAfter = {1, 2, 3, 3, 3, 4};
    for (size_t update = 0; update < releasedAfter.size(); ++update) {
        Spawner().Update();
        EXPECT_EQ(Released().size(), releasedAfter[update]) << "update " << update + 1;
    }
    Names slow, fast;
    std::vector<Vector> fastAt;
    for (const std::string& name : Released()) {
        const bool isSlow = Live(name).trans.x > 0;
        (isSlow ? slow : fast).push_back(Prefix(name));
        if (!isSlow) fastAt.push_back(Live(name).trans);
    }
    EXPECT_EQ(slow, (Names{"SpBall", "SpBare"}));
    ASSERT_EQ(fast, (Names{"SpBall", "SpBare"}));
    EXPECT_TRUE(fastAt[0].x == -98 && fastAt[0].y == 20 && fastAt[0].z == 30) << "radius 2 along spawnDir";
    EXPECT_TRUE(fastAt[1].x == -100 && fastAt[1].y == 20 && fastAt[1].z == 30) << "no CollisionComp: at the point";
    EXPECT_EQ(Spawn("dead").patternQueue.size(), 1u);
}

TEST_F(SpawnFrames, ASpawnedSpawnerBecomesAPointAndABrokenPatternSpoilsOnlyItsRelease) {
    Point("hatchery", 0.0);
    Point("other", 0.0, Vector(5, 0, 0));
    Send(SpawnManager::kAddObject, 1, "SpGate", "hatchery");
    Send(SpawnManager::kAddObject, 1, "SpBroken", "hatchery");
    Send(SpawnManager::kAddObject, 1, "SpBare", "other");
    Spawner().Update();
    ASSERT_EQ(Released().size(), 2u);  // the broken one and the bare one
    EXPECT_EQ(log.Count("stamping SpBroken"), 1) << log.Text();
    Spawner().Update();
    const Names released = Released();
    ASSERT_EQ(released.size(), 3u);
    const std::string gate = released.back();
    ASSERT_EQ(Prefix(gate), "SpGate");
    {
        ObjectLock lock;
        EXPECT_EQ(Spawner().spawnPoints.back(), gate);
    }
    EXPECT_EQ(Spawn(gate).countdown, 4.0);
    Spawner().ClearSpawnPoints();
    EXPECT_TRUE(Spawner().spawnPoints.empty());
}

}  // namespace
