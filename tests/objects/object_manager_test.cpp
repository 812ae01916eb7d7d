// ObjectManager: numbering and names, kill events and counting, clearing and
// removing the dead, the look-ups and their exception, the object lock's
// misuse guards, the instance-buffer grouping and mouse picking.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <stdexcept>
#include <string>

#include "collision_manager.h"
#include "event_manager.h"
#include "input_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "objects/object_manager_fixture.h"

namespace {

EventManager& Events() { return *Module<EventManager>::Instance(); }

std::deque<Event> PollBroadcast() { return Events().PollEvents(EventManager::kBroadcast); }

GameObject WithStats(const std::string& name) {
    GameObject object(name);
    object.AttachComponent(StatsComp(100, 1.0f, 0.0f, 0.0f, 0));
    return object;
}

GameObject WithMesh(const std::string& name, const std::string& mesh, bool levelObject) {
    GameObject object(name);
    GraphicsComp graphics;
    graphics.modelMesh = Handle(mesh);
    object.AttachComponent(graphics);
    object.isLevelObject = levelObject;
    return object;
}

class ObjectManagerTest : public objects_test::FreshObjectManager {
protected:
    unsigned NumberOf(const std::string& name) const { return manager.GetObjectNumber(name); }
};

// --- Registration

using ObjectManagerRegistration = ObjectManagerTest;

TEST_F(ObjectManagerRegistration, NumbersStartAt101AndTheStoredCopyCarriesIt) {
    GameObject tank("tank");
    EXPECT_TRUE(manager.AddGameObject(tank));
    EXPECT_TRUE(manager.AddGameObject(GameObject("jeep")));

    EXPECT_EQ(101u, NumberOf("tank"));
    EXPECT_EQ(102u, NumberOf("jeep"));
    EXPECT_EQ(101u, manager.GetGameObject("tank")->objNum);
    EXPECT_EQ("jeep", manager.GetObjectName(102));
    EXPECT_EQ(0u, tank.objNum) << "the caller's object was passed by value";
    EXPECT_FALSE(log.Has("ERROR"));
}

TEST_F(ObjectManagerRegistration, ADuplicateNameIsRefusedAndTheCounterDoesNotMove) {
    GameObject first("crate");
    first.trans = Vector(1, 0, 0);
    GameObject second("crate");
    second.trans = Vector(2, 0, 0);
    ASSERT_TRUE(manager.AddGameObject(first));

    EXPECT_FALSE(manager.AddGameObject(second));
    EXPECT_TRUE(log.Has("game object with duplicate name!"));
    EXPECT_TRUE(log.Has("obj.name = crate"));
    EXPECT_EQ(1u, manager.gameObjectList.size());
    EXPECT_FLOAT_EQ(1.0f, manager.GetGameObject("crate")->trans.x) << "the first keeps the name";

    ASSERT_TRUE(manager.AddGameObject(GameObject("barrel")));
    EXPECT_EQ(102u, NumberOf("barrel"));
}

TEST_F(ObjectManagerRegistration, AnEmptyNameIsReportedAndRegisteredOnlyOnce) {
    EXPECT_TRUE(manager.AddGameObject(GameObject("")));
    EXPECT_EQ(1, log.Count("game object with no name!"));
    EXPECT_TRUE(manager.HasGameObject(std::string()));
    EXPECT_EQ(101u, NumberOf(""));

    EXPECT_FALSE(manager.AddGameObject(GameObject("")));
    EXPECT_EQ(2, log.Count("game object with no name!"));
    EXPECT_TRUE(log.Has("game object with duplicate name!"));
    EXPECT_EQ(1u, manager.gameObjectList.size());
}

// --- Killing, clearing, removing the dead

using ObjectManagerKilling = ObjectManagerTest;

TEST_F(ObjectManagerKilling, KillAnnouncesNameAndNumberToBroadcastAndKeepsTheObject) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("scout")));
    ASSERT_TRUE(manager.AddGameObject(GameObject("tank")));
    manager.KillGameObject(*manager.GetGameObject("tank"));

    const std::deque<Event> events = PollBroadcast();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ("KillGameObject", events[0].eventType);
    EXPECT_EQ("ObjectManager", events[0].from);
    EXPECT_EQ("BROADCAST", events[0].to);
    EXPECT_FALSE(events[0].triggers);
    EXPECT_FALSE(events[0].expires);
    EXPECT_EQ("tank", events[0].GetParam<std::string>("name"));
    EXPECT_EQ(102u, events[0].GetParam<unsigned>("objNum"));

    EXPECT_TRUE(manager.GetGameObject("tank")->isDead);
    EXPECT_TRUE(manager.HasGameObject(102u)) << "dead objects stay until removed";
    EXPECT_EQ(0, manager.enemiesKilled) << "no StatsComp, no count";
}

TEST_F(ObjectManagerKilling, ADeadObjectIsNeitherAnnouncedNorCountedAgain) {
    ASSERT_TRUE(manager.AddGameObject(WithStats("raider")));
    GameObject* raider = manager.GetGameObject("raider");
    manager.KillGameObject(*raider);
    manager.KillGameObject(*raider);

    EXPECT_EQ(1u, PollBroadcast().size());
    EXPECT_EQ(1, manager.enemiesKilled);
    EXPECT_EQ(1, log.Count("enemiesKilled = 1"));
}

TEST_F(ObjectManagerKilling, ClearKillsEveryLiveObjectAndEmptiesTableAndIndex) {
    ASSERT_TRUE(manager.AddGameObject(WithStats("a")));
    ASSERT_TRUE(manager.AddGameObject(GameObject("b")));
    ASSERT_TRUE(manager.AddGameObject(WithStats("c")));
    ASSERT_TRUE(manager.AddGameObject(WithStats("already")));
    manager.KillGameObject(*manager.GetGameObject("already"));
    PollBroadcast();
    const int killedBefore = manager.enemiesKilled;

    manager.ClearGameObjects();

    std::set<std::string> announced;
    for (const Event& event : PollBroadcast()) announced.insert(event.GetParam<std::string>("name"));
    EXPECT_EQ((std::set<std::string>{"a", "b", "c"}), announced);
    EXPECT_EQ(killedBefore + 2, manager.enemiesKilled);
    EXPECT_TRUE(manager.gameObjectList.empty());
    for (const char* name : {"a", "b", "c", "already"}) {
        EXPECT_FALSE(manager.HasGameObject(std::string(name))) << name;
        EXPECT_EQ(0u, NumberOf(name)) << name << " left in the name index";
    }
    ASSERT_TRUE(manager.AddGameObject(GameObject("a")));
    EXPECT_EQ(105u, NumberOf("a")) << "numbers are never reused";
}

TEST_F(ObjectManagerKilling, RemoveDeadErasesOnlyTheDeadAndReturnsTheirComponents) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("keep1")));
    ASSERT_TRUE(manager.AddGameObject(WithStats("doomed")));
    ASSERT_TRUE(manager.AddGameObject(GameObject("keep2")));
    manager.RemoveDeadGameObjects();
    EXPECT_EQ(3u, manager.gameObjectList.size()) << "nothing dead, nothing removed";

    GameObject* doomed = manager.GetGameObject("doomed");
    StatsComp* stats = doomed->GetStatsComp();
    manager.KillGameObject(*doomed);
    manager.RemoveDeadGameObjects();

    EXPECT_EQ(2u, manager.gameObjectList.size());
    EXPECT_FALSE(manager.HasGameObject(102u));
    EXPECT_FALSE(manager.HasGameObject(std::string("doomed")));
    EXPECT_EQ("", manager.GetObjectName(102));
    EXPECT_TRUE(stats->isFree.load()) << "the component went back to its pool";
    EXPECT_EQ(101u, NumberOf("keep1"));
    EXPECT_EQ("keep2", manager.GetObjectName(103));

    EXPECT_TRUE(manager.AddGameObject(GameObject("doomed"))) << "the name is free again";
    EXPECT_EQ(104u, NumberOf("doomed"));
}

// --- Look-ups

using ObjectManagerLookups = ObjectManagerTest;

template <class Call>
std::string OutOfRangeText(Call call) {
    try {
        call();
    } catch (const std::out_of_range& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

TEST_F(ObjectManagerLookups, AnObjectThatIsNotRegisteredThrowsTheExactOutOfRange) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("present")));
    const ObjectManager& constManager = manager;
    const std::string text = "Unable to find key in unordered_map.";

    EXPECT_EQ(text, OutOfRangeText([&] { manager.GetGameObject(99999u); }));
    EXPECT_EQ(text, OutOfRangeText([&] { manager.GetGameObject(std::string("ghost")); }));
    EXPECT_EQ(text, OutOfRangeText([&] { constManager.GetGameObject(99999u); }));
    EXPECT_EQ(text, OutOfRangeText([&] { constManager.GetGameObject(std::string("ghost")); }));
    EXPECT_EQ(1u, manager.gameObjectList.size());
    EXPECT_EQ(0u, manager.GetObjectNumber("ghost"));
    EXPECT_EQ("", manager.GetObjectName(99999));
}

TEST_F(ObjectManagerLookups, PointersStayValidWhileTheTableGrows) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("first")));
    GameObject* first = manager.GetGameObject("first");
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(manager.AddGameObject(GameObject("n" + std::to_string(i))));
    EXPECT_EQ(first, manager.GetGameObject("first"));
    EXPECT_EQ(first, manager.GetGameObject(101u));
    EXPECT_EQ("first", first->name);
}

// --- The lock's guards against misuse

using ObjectManagerLock = ObjectManagerTest;

TEST_F(ObjectManagerLock, LockingTwiceOrUnlockingUnheldIsReportedInsteadOfHanging) {
    manager.Lock();
    EXPECT_TRUE(manager.IsLockedByThisThread());
    manager.Lock();
    EXPECT_TRUE(log.Has("the object lock is already held by this thread"));
    manager.Unlock();
    EXPECT_FALSE(manager.IsLockedByThisThread());
    manager.Unlock();
    EXPECT_TRUE(log.Has("Unlock without holding the object lock"));
}

TEST_F(ObjectManagerLock, AddingWhileHoldingTheLockIsReportedAndStillRegisters) {
    {
        ObjectLock guard(manager);
        EXPECT_TRUE(manager.AddGameObject(GameObject("inside")));
        EXPECT_TRUE(manager.IsLockedByThisThread()) << "the borrowed hold stays with the guard";
    }
    EXPECT_FALSE(manager.IsLockedByThisThread());
    EXPECT_TRUE(log.Has("the object lock is already held by this thread"));
    EXPECT_EQ(101u, NumberOf("inside"));
}

// --- Instance buffers

using ObjectManagerInstanceBuffers = ObjectManagerTest;

TEST_F(ObjectManagerInstanceBuffers, LevelObjectsSharingAMeshGoIntoOneBuffer) {
    ASSERT_TRUE(manager.AddGameObject(WithMesh("rock1", "mesh_rock", true)));
    ASSERT_TRUE(manager.AddGameObject(WithMesh("rock2", "mesh_rock", true)));
    ASSERT_TRUE(manager.AddGameObject(WithMesh("loose", "mesh_rock", false)));
    ASSERT_TRUE(manager.AddGameObject(WithMesh("tower", "mesh_tower", true)));
    GameObject bare("bare");
    bare.isLevelObject = true;
    ASSERT_TRUE(manager.AddGameObject(bare));

    manager.RebuildObjectInstanceBuffers();
    manager.RebuildObjectInstanceBuffers();  // a rebuild starts from empty buffers

    ASSERT_EQ(2u, manager.instanceBufferList.size());
    const ObjectInstanceBuffer& rocks = manager.instanceBufferList.at("mesh_rock");
    EXPECT_EQ(2u, rocks.numInstances);
    EXPECT_EQ(32u, rocks.dataSize);
    EXPECT_EQ(32u, rocks.matrices.size());
    EXPECT_EQ("mesh_rock", rocks.mesh.GetID());
    EXPECT_EQ(1u, manager.instanceBufferList.at("mesh_tower").numInstances);
    EXPECT_FALSE(manager.GetGameObject("rock1")->GetGraphicsComp()->drawAlone);
    EXPECT_FALSE(manager.GetGameObject("tower")->GetGraphicsComp()->drawAlone);
    EXPECT_TRUE(manager.GetGameObject("loose")->GetGraphicsComp()->drawAlone);
}

TEST_F(ObjectManagerInstanceBuffers, TheWorldMatrixScalesTheModelButNotItsPosition) {
    GameObject pillar = WithMesh("pillar", "mesh_pillar", true);
    pillar.trans = Vector(1, 2, 3);
    const float half = std::sqrt(0.5f);
    pillar.rot = Quaternion(half, Vector(0, half, 0, 0));  // a quarter turn about y
    pillar.GetGraphicsComp()->modelScale = 2.0f;
    ASSERT_TRUE(manager.AddGameObject(pillar));

    manager.RebuildObjectInstanceBuffers();

    const Matrix expected = pillar.GetMatrix() * pillar.GetGraphicsComp()->GetScaleMatrix();
    const std::vector<float>& floats = manager.instanceBufferList.at("mesh_pillar").matrices;
    ASSERT_EQ(16u, floats.size());
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(expected.DataPtr()[i], floats[i], 1e-6f) << i;
    // Column-major: the translation is floats 12..14 and is not scaled.
    EXPECT_NEAR(1.0f, floats[12], 1e-6f);
    EXPECT_NEAR(2.0f, floats[13], 1e-6f);
    EXPECT_NEAR(3.0f, floats[14], 1e-6f);
    EXPECT_NEAR(2.0f, std::fabs(floats[2]), 1e-5f) << "x turns into -z at twice the size";
}

// --- Picking

class ObjectManagerPicking : public ObjectManagerTest {
protected:
    void SetUp() override {
        ObjectManagerTest::SetUp();
        Collision().rayIntersectRecords.clear();
        Collision().PublishRayIntersectRecords();
        Input().keyDown[InputManager::kMouseRight] = false;
        Input().SetMousePosition(Vector());
    }
    void TearDown() override {
        Input().keyDown[InputManager::kMouseRight] = false;
        ObjectManagerTest::TearDown();
    }

    static CollisionManager& Collision() { return *Module<CollisionManager>::Instance(); }
    static InputManager& Input() { return *Module<InputManager>::Instance(); }

    static void PublishHit(unsigned objNum, float rayParam, const Vector& point, const Vector& objTrans) {
        RayIntersectRecord hit;
        hit.rayParam = rayParam;
        hit.objNum = objNum;
        hit.intersectPoint = point;
        hit.objPos = QuatVec(Quaternion(1.0f), objTrans);
        Collision().rayIntersectRecords.push_back(hit);
        Collision().PublishRayIntersectRecords();
    }
    void Frame(bool rightButton, float mouseX, float mouseY) {
        Input().keyDown[InputManager::kMouseRight] = rightButton;
        Input().SetMousePosition(Vector(mouseX, mouseY, 0));
        manager.PickObject(state);
    }

    PickState state;
};

TEST_F(ObjectManagerPicking, TheRayRunsThroughTheCursorFromTheCameraAndReachesCollision) {
    manager.cameraObject.viewMat.TranslateMat(0, 0, -10);  // the eye stands at z = 10
    Frame(false, 0.5f, -0.25f);

    EXPECT_FALSE(state.dragging);
    EXPECT_NEAR(0.5f, state.pickRay.origin.x, 1e-5f);
    EXPECT_NEAR(-0.25f, state.pickRay.origin.y, 1e-5f);
    EXPECT_NEAR(10.0f, state.pickRay.origin.z, 1e-5f);
    EXPECT_NEAR(1.0f, state.pickRay.direction.z, 1e-5f);
    EXPECT_NEAR(0.0f, state.pickRay.direction.w, 1e-6f);
    EXPECT_NEAR(1.0f, state.viewAxis.z, 1e-6f);
    EXPECT_EQ(0.0f, state.viewAxis.w) << "the view row's translation must not leak in";
    const Ray handed = Collision().GetCurrentPickRay();
    EXPECT_EQ(state.pickRay.origin.x, handed.origin.x);
    EXPECT_EQ(state.pickRay.direction.z, handed.direction.z);
}

TEST_F(ObjectManagerPicking, APressWithoutAHitEmptiesTheSelection) {
    manager.selectedObject = "stale";
    Frame(true, 0, 0);
    EXPECT_FALSE(state.dragging);
    EXPECT_EQ("", manager.selectedObject);
}

TEST_F(ObjectManagerPicking, HoldingDragsTheNearestHitKeepingTheGrabbedOffset) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("far")));
    ASSERT_TRUE(manager.AddGameObject(GameObject("near")));
    manager.GetGameObject("near")->trans = Vector(0, 0, 6);
    Frame(false, 0, 0);  // aims the first ray and learns the view axis (0, 0, 1)
    PublishHit(101, 9.0f, Vector(0, 0, 9, 1), Vector(0, 0, 9));
    PublishHit(102, 5.0f, Vector(0, 0, 5, 1), Vector(0, 0, 6));

    Frame(true, 0, 0);  // the press: grabs "near" 1 unit in front of its centre
    ASSERT_TRUE(state.dragging);
    EXPECT_EQ(102u, state.lastPickRecord.objNum);
    EXPECT_TRUE(log.Has("lastPickRecord.objNum = 102"));

    Frame(true, 0.5f, -0.25f);  // moves along the ray aimed at the press
    Frame(true, 0.5f, -0.25f);  // now along the ray through (0.5, -0.25)
    const Vector moved = manager.GetGameObject("near")->trans;
    EXPECT_NEAR(0.5f, moved.x, 1e-5f);
    EXPECT_NEAR(-0.25f, moved.y, 1e-5f);
    EXPECT_NEAR(6.0f, moved.z, 1e-5f);
    EXPECT_EQ("near", manager.selectedObject);
    EXPECT_FLOAT_EQ(0.0f, manager.GetGameObject("far")->trans.x);

    Frame(false, 0, 0);
    EXPECT_FALSE(state.dragging) << "releasing ends the drag";
}

TEST_F(ObjectManagerPicking, ADraggedObjectThatWasRemovedEndsTheSelectionSafely) {
    ASSERT_TRUE(manager.AddGameObject(GameObject("target")));
    Frame(false, 0, 0);
    PublishHit(101, 3.0f, Vector(0, 0, 3, 1), Vector(0, 0, 3));
    Frame(true, 0, 0);
    Frame(true, 0, 0);
    ASSERT_EQ("target", manager.selectedObject);

    manager.KillGameObject(*manager.GetGameObject("target"));
    manager.RemoveDeadGameObjects();
    Frame(true, 0.2f, 0.2f);
    EXPECT_EQ("", manager.selectedObject);
}

}  // namespace
