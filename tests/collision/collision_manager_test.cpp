// The CollisionManager as a module: its settings, the publication of each
// pass's results, ray picking, objects that are not finite, and what scripts
// see of it. The two ray slots are checked by the thread test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/lua_probe.h"
#include "support/collision_scene.h"

namespace {

using test_support::AddToScene;
using test_support::SceneObject;

const Vector kDown(0, -1, 0);

class CollisionModule : public test_support::CollisionScene {
protected:
    void Move(unsigned objNum, float x, float y, float z) {
        ObjectLock lock;
        test_support::SceneObjects().GetGameObject(objNum)->trans = Vector(x, y, z);
    }
};

// "Set" changes only the settings it carries (a mistyped one drops the
// event). Switched off, the last results stay published: the contacts keep
// the number of the pass that found them, so a reader can tell they are old.
TEST_F(CollisionModule, SetEventsSwitchPassesOffAndTheLastPublishedResultsStay) {
    EXPECT_TRUE(!collision.IsPickOn() && collision.IsCollisionOn() && !collision.IsDoMultipleContacts());
    Set(CollisionManager::kDoMultipleContacts, true);
    EXPECT_TRUE(!collision.IsPickOn() && collision.IsCollisionOn() && collision.IsDoMultipleContacts());
    const unsigned a = AddToScene(SceneObject("a"));
    const unsigned b = AddToScene(SceneObject("b").At(1, 0, 0));
    AddToScene(SceneObject("c").At(-1, 0, 0).NotPickable());
    Set(CollisionManager::kPickOn, true);
    collision.SetCurrentPickRay(Ray(kDown, Vector(0.5f, 5, 0)));
    collision.Update();
    std::vector<CollisionEvent> events;
    const unsigned pass = collision.GetCollisionEvents(events);
    const std::vector<CollisionEvent> ofA = collision.GetObjectCollisionEvents(a);
    ASSERT_EQ(2u, events.size());
    ASSERT_EQ(2u, ofA.size()) << "a touches b and c";
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(events[i].objA == ofA[i].objA && events[i].objB == ofA[i].objB) << "in the order found";
    EXPECT_EQ(1u, collision.GetObjectCollisionEvents(b).size());
    EXPECT_TRUE(collision.GetObjectCollisionEvents(9999).empty());
    ASSERT_EQ(2u, collision.GetRayIntersectRecords().size()) << "c cannot be picked";

    Event mixed("Test", "CollisionManager", CollisionManager::kSetEvent);
    mixed.SetParam<bool>(CollisionManager::kPickOn, false);
    mixed.SetParam<int>(CollisionManager::kCollisionOn, 0);
    Module<EventManager>::Instance()->PublishEvent(mixed);
    collision.Update();
    EXPECT_TRUE(collision.IsPickOn() && collision.IsCollisionOn()) << "the whole event is dropped";
    EXPECT_TRUE(log.Has("collisionOn")) << log.Text();
    EXPECT_EQ(pass + 1, collision.GetCollisionEvents(events));

    Set(CollisionManager::kCollisionOn, false);
    Set(CollisionManager::kPickOn, false);
    Move(b, 50, 0, 0);
    collision.SetCurrentPickRay(Ray(kDown, Vector(100, 5, 0)));
    collision.Update();
    EXPECT_EQ(pass + 1, collision.GetCollisionEvents(events));
    EXPECT_EQ(2u, events.size());
    EXPECT_EQ(2u, collision.GetRayIntersectRecords().size());
}

// Nothing runs before Init; while the lockstep runs, a pass's results wait
// for the barrier that ends it.
TEST_F(CollisionModule, ResultsWaitForTheEndOfThePassWhileTheLockstepRuns) {
    AddToScene(SceneObject("a"));
    AddToScene(SceneObject("b").At(1, 0, 0));
    std::vector<CollisionEvent> events;
    const unsigned before = collision.GetCollisionEvents(events);
    collision.Kill();
    collision.Update();
    EXPECT_EQ(before, collision.GetCollisionEvents(events));
    collision.Init();
    collision.PublishAtPassEnd(true);
    collision.Update();
    EXPECT_EQ(before, collision.GetCollisionEvents(events));
    collision.EndPass();
    EXPECT_EQ(before + 1, collision.GetCollisionEvents(events));
    collision.EndPass();  // a paused pass: nothing new, nothing lost
    EXPECT_EQ(before + 1, collision.GetCollisionEvents(events));
    EXPECT_EQ(1u, events.size());
    collision.Update();
    collision.PublishAtPassEnd(false);  // leaving publishes what waits
    EXPECT_EQ(before + 2, collision.GetCollisionEvents(events));
}

TEST_F(CollisionModule, PickRaysHitBoxesAheadAndSpheresEvenBehind) {
    struct Case { const char* what; Ray ray; bool box; bool hits; float t, y; };
    const Case cases[] = {
        {"box from above", Ray(kDown * 2, Vector(0, 10, 0)), true, true, 4.0f, 2},
        {"box behind", Ray(kDown * -1, Vector(0, 10, 0)), true, false, 0, 0},
        {"from inside the box", Ray(kDown, Vector(0, 1, 0)), true, true, 3.0f, -2},
        {"sphere ahead", Ray(kDown, Vector(0, 10, 0)), false, true, 8.0f, 2},
        {"sphere behind", Ray(kDown * -1, Vector(0, 10, 0)), false, true, -12.0f, -2},
        {"sphere grazed", Ray(kDown, Vector(2, 10, 0)), false, true, 10.0f, 0},
        {"sphere missed", Ray(kDown, Vector(2.5f, 10, 0)), false, false, 0, 0},
        {"no direction", Ray(Vector(), Vector(0, 10, 0)), false, false, 0, 0},
        {"not a number", Ray(Vector(std::nanf(""), -1, 0), Vector(0, 10, 0)), false, false, 0, 0},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        SceneObject target("target");
        target.Sphere(2);
        if (c.box) target.Box(2, 2, 2, Quaternion(std::cos(0.3f), Vector(0, std::sin(0.3f), 0)));
        const unsigned objNum = AddToScene(target);
        AddToScene(SceneObject("hidden").At(0, -20, 0).NoSphere());  // no volume to pick
        Set(CollisionManager::kPickOn, true);
        collision.SetCurrentPickRay(c.ray);
        collision.Update();
        const std::vector<RayIntersectRecord> hits = collision.GetRayIntersectRecords();
        ASSERT_EQ(c.hits ? 1u : 0u, hits.size()) << c.what;
        if (!c.hits) continue;
        EXPECT_EQ(objNum, hits[0].objNum) << c.what;
        EXPECT_NEAR(c.t, hits[0].rayParam, 1e-3f) << c.what;
        EXPECT_NEAR(c.y, hits[0].intersectPoint.y, 1e-3f) << c.what;
        EXPECT_GE(hits[0].time, 0.0);
    }
}

// An object whose numbers are not finite is left out, with one warning;
// the others still collide.
TEST_F(CollisionModule, AnObjectThatIsNotFiniteIsLeftOutOnce) {
    AddToScene(SceneObject("a"));
    AddToScene(SceneObject("b").At(1, 0, 0));
    const unsigned broken = AddToScene(SceneObject("broken").At(0.5f, 0, 0));
    Move(broken, std::numeric_limits<float>::quiet_NaN(), 0, 0);
    Set(CollisionManager::kPickOn, true);
    collision.SetCurrentPickRay(Ray(kDown, Vector(0.5f, 10, 0)));
    collision.Update();
    const std::vector<CollisionEvent> events = collision.GetCollisionEvents();
    ASSERT_EQ(1u, events.size());
    EXPECT_TRUE(events[0].objA != broken && events[0].objB != broken);
    for (const RayIntersectRecord& hit : collision.GetRayIntersectRecords()) EXPECT_NE(broken, hit.objNum);
    EXPECT_EQ(1, log.Count("broken (" + std::to_string(broken) + ")")) << log.Text();
}

TEST_F(CollisionModule, ScriptsReadTheRecordsAndThePublishedContacts) {
    lua_test::Lua().Init();
    const unsigned a = AddToScene(SceneObject("a"));
    AddToScene(SceneObject("b").At(1.5f, 0, 0));
    collision.Update();
    EXPECT_EQ("101 2 3 -1.5 4 | 7 0 | 0 0 1 | 1 0.5 | 1 0 | nil",
              lua_test::LuaEval("local s, t = bind.ObjectSpan(101, 2, 3, -1.5, 4), bind.ObjectSpan(7)\n"
                                "local b, d = bind.CollisionBucket(), bind.SATData()\n"
                                "local c = bind.Module_CollisionManager_Instance()\n"
                                "local events = c:GetCollisionEvents()\n"
                                "return table.concat({s.objNum, s.category, s.collidesWith, s.min, s.max, '|',\n"
                                "  t.objNum, t.max, '|', b.collideList:size(), d.vertsA:size(),\n"
                                "  d.commonFrameName + 1,\n"
                                "  '|', events:size(), events[0].depth, '|', c:GetObjectCollisionEvents(" +
                                std::to_string(a) + "):size(), c:GetObjectCollisionEvents(5):size(), '|',\n"
                                "  tostring(bind.CollisionEvent().resolveContact)}, ' ')"));
    lua_test::Lua().Kill();
}

}  // namespace
