// ObjectManager: names and numbers, kill events, clearing, look-ups, the
// lock's misuse guards, the instance buffers and picking, each on a fresh
// manager. Table operations run under the object lock, as their contract says.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <stdexcept>

#include "collision_manager.h"
#include "input_manager.h"
#include "objects/components.h"
#include "objects/fresh_object_manager.h"

namespace {

using objects_test::Events;
std::deque<Event> Broadcast() { return Events().PollEvents(EventManager::kBroadcast); }

GameObject Named(const std::string& name, bool stats = false, const std::string& mesh = "", bool level = true) {
    GameObject object(name);
    if (stats) object.AttachComponent(StatsComp(100, 1.0f, 0.0f, 0.0f, 0));
    if (!mesh.empty()) {
        GraphicsComp graphics;
        graphics.modelMesh = Handle(mesh);
        object.AttachComponent(graphics);
    }
    object.isLevelObject = level;
    return object;
}

using ObjectTable = objects_test::FreshObjectManager;

TEST_F(ObjectTable, NumbersStartAt101AndDuplicateOrEmptyNamesAreReported) {
    GameObject tank("tank");
    tank.trans = Vector(1, 0, 0);
    for (const GameObject& object : {tank, Named("tank"), Named("jeep"), Named(""), Named("")})
        manager.AddGameObject(object);
    EXPECT_TRUE(log.Has("game object with duplicate name!") && log.Has("obj.name = tank"));
    EXPECT_EQ(2, log.Count("game object with no name!"));
    ObjectLock hold(manager);
    const GameObject& first = *manager.GetGameObject("tank");
    EXPECT_TRUE(first.trans.x == 1.0f && first.objNum == 101u) << "the first keeps the name";
    EXPECT_EQ("jeep", manager.GetObjectName(102)) << "a refused name does not move the counter";
    EXPECT_TRUE(manager.GetObjectNumber("") == 103u && manager.gameObjectList.size() == 3u);
}

TEST_F(ObjectTable, KillAnnouncesNameAndNumberOnceAndCountsOnlyObjectsWithStats) {
    ASSERT_TRUE(manager.AddGameObject(Named("scout")) && manager.AddGameObject(Named("tank", true)));
    ObjectLock hold(manager);
    for (const char* name : {"scout", "tank", "tank"}) manager.KillGameObject(*manager.GetGameObject(name));
    const std::deque<Event> events = Broadcast();
    ASSERT_EQ(2u, events.size());
    const Event& tank = events[1];
    EXPECT_TRUE(tank.eventType == "KillGameObject" && tank.from == "ObjectManager" && tank.to == "BROADCAST" &&
                !tank.triggers && !tank.expires);
    EXPECT_TRUE(tank.GetParam<std::string>("name") == "tank" && tank.GetParam<unsigned>("objNum") == 102u);
    EXPECT_TRUE(manager.enemiesKilled == 1 && log.Count("enemiesKilled = 1") == 1);
    EXPECT_TRUE(manager.GetGameObject("tank")->isDead) << "dead objects stay until removed";
}

TEST_F(ObjectTable, ClearAndRemoveDeadEmptyTableAndIndexAndNeverReuseNumbers) {
    for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(manager.AddGameObject(Named(name, true)));
    {
        ObjectLock hold(manager);
        GameObject* b = manager.GetGameObject("b");
        StatsComp* stats = b->GetStatsComp();
        manager.RemoveDeadGameObjects();
        EXPECT_EQ(3u, manager.gameObjectList.size()) << "nothing dead, nothing removed";
        manager.KillGameObject(*b);
        manager.RemoveDeadGameObjects();
        EXPECT_TRUE(manager.gameObjectList.size() == 2u && manager.GetObjectName(102) == "" && stats->isFree.load());
        Broadcast();
        manager.ClearGameObjects();
        std::set<std::string> announced;
        for (const Event& event : Broadcast()) announced.insert(event.GetParam<std::string>("name"));
        EXPECT_TRUE((std::set<std::string>{"a", "c"}) == announced && manager.enemiesKilled == 3);
        EXPECT_TRUE(manager.gameObjectList.empty() && manager.GetObjectNumber("c") == 0u) << "nor in the name index";
    }
    ASSERT_TRUE(manager.AddGameObject(Named("a")));
    ObjectLock hold(manager);
    EXPECT_EQ(104u, manager.GetObjectNumber("a"));
}

TEST_F(ObjectTable, LookUpsOfMissingObjectsThrowTheExactText) {
    ObjectLock hold(manager);
    const ObjectManager& constant = manager;
    for (const std::function<void()>& call : std::vector<std::function<void()>>{
             [&] { manager.GetGameObject(9u); }, [&] { manager.GetGameObject("ghost"); },
             [&] { constant.GetGameObject(9u); }, [&] { constant.GetGameObject("ghost"); }}) {
        try {
            call();
            ADD_FAILURE() << "nothing thrown";
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ("Unable to find key in unordered_map.", error.what());
        }
    }
    EXPECT_TRUE(manager.GetObjectNumber("ghost") == 0u && manager.GetObjectName(99999) == "");
}

TEST_F(ObjectTable, LockMisuseIsReportedInsteadOfHanging) {
    manager.Lock();
    manager.Lock();
    manager.Unlock();
    EXPECT_FALSE(manager.IsLockedByThisThread());
    manager.Unlock();
    EXPECT_TRUE(log.Has("the object lock is already held by this thread") && log.Has("Unlock without holding the object lock"));
    const int before = log.Count("the object lock is already held by this thread");
    {
        ObjectLock guard(manager);
        EXPECT_TRUE(manager.AddGameObject(Named("inside")));
        EXPECT_TRUE(manager.IsLockedByThisThread()) << "the borrowed hold stays with the guard";
    }
    EXPECT_GT(log.Count("the object lock is already held by this thread"), before);
}

// A table operation without the lock is a programmer's mistake: stopped in the test builds.
TEST_F(ObjectTable, TableOperationsWithoutTheLockStopTheTestBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are off in this build";
#else
    EXPECT_DEATH(manager.HasGameObject("tank"), "the caller must hold the object lock");
    EXPECT_DEATH(manager.RemoveDeadGameObjects(), "the caller must hold the object lock");
#endif
}

TEST_F(ObjectTable, LevelObjectsSharingAMeshShareOneInstanceBufferOfScaledMatrices) {
    GameObject pillar = Named("pillar", false, "mesh_pillar");
    pillar.trans = Vector(1, 2, 3);
    pillar.rot = Quaternion(std::sqrt(0.5f), Vector(0, std::sqrt(0.5f), 0, 0));  // a quarter turn about y
    pillar.GetGraphicsComp()->modelScale = 2.0f;
    for (const GameObject& object : {pillar, Named("rock1", false, "mesh_rock"), Named("rock2", false, "mesh_rock"),
                                     Named("loose", false, "mesh_rock", false), Named("bare")})
        ASSERT_TRUE(manager.AddGameObject(object));
    ObjectLock hold(manager);
    manager.RebuildObjectInstanceBuffers();
    manager.RebuildObjectInstanceBuffers();  // a rebuild starts from empty buffers
    ASSERT_EQ(2u, manager.instanceBufferList.size());
    const ObjectInstanceBuffer& rocks = manager.instanceBufferList.at("mesh_rock");
    EXPECT_TRUE(rocks.numInstances == 2u && rocks.dataSize == 32u && rocks.matrices.size() == 32u);
    EXPECT_TRUE(!manager.GetGameObject("rock1")->GetGraphicsComp()->drawAlone &&
                manager.GetGameObject("loose")->GetGraphicsComp()->drawAlone);
    const std::vector<float>& floats = manager.instanceBufferList.at("mesh_pillar").matrices;
    ASSERT_EQ(16u, floats.size());
    EXPECT_NEAR(3.0f, floats[14], 1e-6f) << "column-major; the translation is not scaled";
    EXPECT_NEAR(2.0f, std::fabs(floats[2]), 1e-5f) << "x turns into -z at twice the size";
}

// Picking: the ray goes to collision, a press grabs the nearest published hit,
// holding drags it, and a grabbed object removed meanwhile, or a press that
// hits nothing, ends the selection.
TEST_F(ObjectTable, PickingDragsTheNearestHitAndEndsOnARemovalOrAMiss) {
    CollisionManager& collision = *Module<CollisionManager>::Instance();
    InputManager& input = *Module<InputManager>::Instance();
    collision.rayIntersectRecords.clear();
    collision.PublishRayIntersectRecords();
    PickState state;
    auto frame = [&](bool button, float x, float y) {
        input.keyDown[InputManager::kMouseRight] = button;
        input.SetMousePosition(Vector(x, y, 0));
        manager.PickObject(state);
    };
    auto publishHit = [&](unsigned objNum, float z) {
        RayIntersectRecord hit;
        hit.rayParam = z, hit.objNum = objNum;
        hit.intersectPoint = Vector(0, 0, z, 1);
        hit.objPos = QuatVec(Quaternion(1.0f), Vector(0, 0, z));
        collision.rayIntersectRecords.push_back(hit);
        collision.PublishRayIntersectRecords();
    };
    auto trans = [&](const char* name) {
        ObjectLock hold(manager);
        return manager.GetGameObject(name)->trans;
    };
    ASSERT_TRUE(manager.AddGameObject(GameObject("far")) && manager.AddGameObject(GameObject("near")));
    frame(false, 0.5f, -0.25f);
    EXPECT_EQ(state.pickRay.origin.x, collision.GetCurrentPickRay().origin.x);
    publishHit(101, 9.0f);
    publishHit(102, 5.0f);

    frame(true, 0, 0);
    ASSERT_TRUE(state.dragging && state.lastPickRecord.objNum == 102u);
    frame(true, 0.5f, -0.25f);
    frame(true, 0.5f, -0.25f);
    EXPECT_EQ("near", manager.selectedObject);
    EXPECT_TRUE(std::fabs(trans("near").x - 0.5f) < 1e-5f && trans("far").x == 0.0f);
    {
        ObjectLock hold(manager);
        manager.KillGameObject(*manager.GetGameObject("near"));
        manager.RemoveDeadGameObjects();
    }
    frame(true, 0.2f, 0.2f);
    EXPECT_EQ("", manager.selectedObject);

    manager.selectedObject = "far";  // a press with no hit under the cursor lets go
    collision.rayIntersectRecords.clear();
    collision.PublishRayIntersectRecords();
    frame(false, 0, 0);
    frame(true, 0, 0);
    EXPECT_TRUE(!state.dragging && manager.selectedObject.empty());
    input.keyDown[InputManager::kMouseRight] = false;
}

}  // namespace
