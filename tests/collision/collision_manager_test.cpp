// The CollisionManager as a module: its settings, the publication of each
// pass's results, ray picking on both slots, objects that are not finite,
// and what scripts see of it.
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

class CollisionModule : public test_support::CollisionScene {
protected:
    void Move(unsigned objNum, float x, float y, float z) {
        ObjectLock lock;
        test_support::SceneObjects().GetGameObject(objNum)->trans = Vector(x, y, z);
    }
};

// "Set" changes only the settings it carries; a mistyped one drops the event.
TEST_F(CollisionModule, SetEventsChangeTheSettingsTheyCarry) {
    EXPECT_FALSE(collision.IsPickOn());
    EXPECT_TRUE(collision.IsCollisionOn());
    EXPECT_FALSE(collision.IsDoMultipleContacts());
    Set(CollisionManager::kPickOn, true);
    Set(CollisionManager::kDoMultipleContacts, true);
    EXPECT_TRUE(collision.IsPickOn() && collision.IsCollisionOn() && collision.IsDoMultipleContacts());

    Event mixed("Test", "CollisionManager", CollisionManager::kSetEvent);
    mixed.SetParam<bool>(CollisionManager::kPickOn, false);
    mixed.SetParam<int>(CollisionManager::kCollisionOn, 0);
    Module<EventManager>::Instance()->PublishEvent(mixed);
    collision.Update();
    EXPECT_TRUE(collision.IsPickOn() && collision.IsCollisionOn()) << "the whole event is dropped";
    EXPECT_TRUE(log.Has("collisionOn")) << log.Text();
}

// Switched off, the last results stay published: the contacts keep the
// number of the pass that found them, so a reader can tell they are old.
TEST_F(CollisionModule, SwitchedOffPassesKeepTheLastPublishedResults) {
    const unsigned a = AddToScene(SceneObject("a"));
    const unsigned b = AddToScene(SceneObject("b").At(1, 0, 0));
    const unsigned c = AddToScene(SceneObject("c").At(-1, 0, 0).NotPickable());
    Set(CollisionManager::kPickOn, true);
    collision.SetCurrentPickRay(Ray(Vector(0, -1, 0), Vector(0.5f, 5, 0)));
    collision.Update();
    std::vector<CollisionEvent> events;
    const unsigned pass = collision.GetCollisionEvents(events);
    EXPECT_EQ(2u, events.size());
    const std::vector<CollisionEvent> ofA = collision.GetObjectCollisionEvents(a);
    ASSERT_EQ(2u, ofA.size()) << "a touches b and c";
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(events[i].objA == ofA[i].objA && events[i].objB == ofA[i].objB) << "in the order found";
    EXPECT_EQ(1u, collision.GetObjectCollisionEvents(b).size());
    EXPECT_TRUE(collision.GetObjectCollisionEvents(9999).empty());
    ASSERT_EQ(2u, collision.GetRayIntersectRecords().size()) << "c cannot be picked";

    Set(CollisionManager::kCollisionOn, false);
    Set(CollisionManager::kPickOn, false);
    Move(b, 50, 0, 0);
    collision.SetCurrentPickRay(Ray(Vector(0, -1, 0), Vector(100, 5, 0)));
    collision.Update();
    EXPECT_EQ(pass, collision.GetCollisionEvents(events));
    EXPECT_EQ(2u, events.size());
    EXPECT_EQ(2u, collision.GetRayIntersectRecords().size());
    (void)c;
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
    struct Case { const char* what; Ray ray; bool box; bool hits; float t; Vector point; };
    const Vector down(0, -1, 0);
    const Case cases[] = {
        {"box from above", Ray(down * 2, Vector(0, 10, 0)), true, true, 4.0f, Vector(0, 2, 0)},
        {"box behind", Ray(down * -1, Vector(0, 10, 0)), true, false, 0, Vector()},
        {"from inside the box", Ray(down, Vector(0, 1, 0)), true, true, 3.0f, Vector(0, -2, 0)},
        {"sphere ahead", Ray(down, Vector(0, 10, 0)), false, true, 8.0f, Vector(0, 2, 0)},
        {"sphere behind", Ray(down * -1, Vector(0, 10, 0)), false, true, -12.0f, Vector(0, -2, 0)},
        {"sphere grazed", Ray(down, Vector(2, 10, 0)), false, true, 10.0f, Vector(2, 0, 0)},
        {"sphere missed", Ray(down, Vector(2.5f, 10, 0)), false, false, 0, Vector()},
        {"no direction", Ray(Vector(), Vector(0, 10, 0)), false, false, 0, Vector()},
        {"not a number", Ray(Vector(std::nanf(""), -1, 0), Vector(0, 10, 0)), false, false, 0, Vector()},
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
        EXPECT_NEAR(c.point.y, hits[0].intersectPoint.y, 1e-3f) << c.what;
        EXPECT_GE(hits[0].time, 0.0);
    }
}

TEST_F(CollisionModule, TheTwoRaySlotsAnswerTheirOwnRays) {
    const unsigned left = AddToScene(SceneObject("left").At(-10, 0, 0).Sphere(2));
    const unsigned right = AddToScene(SceneObject("right").At(10, 0, 0).Sphere(2));
    Set(CollisionManager::kPickOn, true);
    collision.SetCurrentPickRay(Ray(Vector(0, -1, 0), Vector(-10, 10, 0)));
    unsigned sequence = 0;
    collision.GetSightRecords(&sequence);
    const unsigned sight = collision.SetSightRay(Ray(Vector(0, -1, 0), Vector(10, 10, 0)));
    collision.Update();
    const std::vector<RayIntersectRecord> mouse = collision.GetRayIntersectRecords();
    const std::vector<RayIntersectRecord> seen = collision.GetSightRecords(&sequence);
    ASSERT_EQ(1u, mouse.size());
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(left, mouse[0].objNum);
    EXPECT_EQ(right, seen[0].objNum);
    EXPECT_EQ(sight, sequence);
}

// An object whose numbers are not finite is left out, with one warning;
// the others still collide.
TEST_F(CollisionModule, AnObjectThatIsNotFiniteIsLeftOutOnce) {
    AddToScene(SceneObject("a"));
    AddToScene(SceneObject("b").At(1, 0, 0));
    const unsigned broken = AddToScene(SceneObject("broken").At(0.5f, 0, 0));
    Move(broken, std::numeric_limits<float>::quiet_NaN(), 0, 0);
    Set(CollisionManager::kPickOn, true);
    collision.SetCurrentPickRay(Ray(Vector(0, -1, 0), Vector(0.5f, 10, 0)));
    collision.Update();
    const std::vector<CollisionEvent> events = collision.GetCollisionEvents();
    ASSERT_EQ(1u, events.size());
    EXPECT_NE(broken, events[0].objA);
    EXPECT_NE(broken, events[0].objB);
    for (const RayIntersectRecord& hit : collision.GetRayIntersectRecords()) EXPECT_NE(broken, hit.objNum);
    EXPECT_EQ(1, log.Count("broken (" + std::to_string(broken) + ")")) << log.Text();
}

TEST_F(CollisionModule, ScriptsReadTheRecordsAndThePublishedContacts) {
    using lua_test::LuaEval;
    lua_test::Lua().Init();
    const unsigned a = AddToScene(SceneObject("a"));
    AddToScene(SceneObject("b").At(1.5f, 0, 0));
    collision.Update();
    EXPECT_EQ("101 2 3 -1.5 4", LuaEval("local s = bind.ObjectSpan(101, 2, 3, -1.5, 4)\n"
                                         "return s.objNum .. ' ' .. s.category .. ' ' .. s.collidesWith .. ' ' .. "
                                         "s.min .. ' ' .. s.max"));
    EXPECT_EQ("7 0", LuaEval("local s = bind.ObjectSpan(7) return s.objNum .. ' ' .. s.max"));
    EXPECT_EQ("0 0 1", LuaEval("local b = bind.CollisionBucket() local d = bind.SATData()\n"
                               "return b.collideList:size() .. ' ' .. d.vertsA:size() .. ' ' .. d.commonFrameName + 1"));
    EXPECT_EQ("1 0.5", LuaEval("local events = bind.Module_CollisionManager_Instance():GetCollisionEvents()\n"
                               "return events:size() .. ' ' .. events[0].depth"));
    EXPECT_EQ("1 0", LuaEval("local c = bind.Module_CollisionManager_Instance()\n"
                             "return c:GetObjectCollisionEvents(" + std::to_string(a) + "):size() .. ' ' .. "
                             "c:GetObjectCollisionEvents(5):size()"));
    EXPECT_EQ("nil", LuaEval("return bind.CollisionEvent().resolveContact")) << "only physics reads it";
    lua_test::Lua().Kill();
}

}  // namespace
