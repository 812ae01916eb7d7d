// Physics: gathering and writing back as differences, the contact response
// and its masses, the body index, integration of spins, the forces and their
// events, and what is never written back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "physics.h"
#include "support/collision_scene.h"

namespace {

using test_support::AddToScene;
using test_support::SceneObject;
using test_support::SceneObjects;

class PhysicsPass : public test_support::PhysicsScene {
protected:
    void SetUp() override {
        PhysicsScene::SetUp();
        physics.SetFrameClock(FrameClock{10.0, 0.5});
    }
    GameObject& Object(unsigned objNum) { return *SceneObjects().GetGameObject(objNum); }
    void Send(const Event& event) { Module<EventManager>::Instance()->PublishEvent(event); }
};

// A move and a velocity the main thread sets during the step survive, with
// the step's own change added.
TEST_F(PhysicsPass, WriteBackAddsTheChangeToAConcurrentMove) {
    const unsigned mover = AddToScene(SceneObject("mover").Moving(1, 0, 0).Body(1));
    physics.GatherBodies(SceneObjects());
    {
        ObjectLock lock;
        Object(mover).trans = Vector(5, 0, 0);
        Object(mover).GetPhysicsComp()->linearVel = Vector(1, 2, 0);
    }
    physics.Step(10.0, 0.5);
    physics.WriteBack(SceneObjects());
    ObjectLock lock;
    EXPECT_FLOAT_EQ(5.5f, Object(mover).trans.x);
    EXPECT_FLOAT_EQ(2.0f, Object(mover).GetPhysicsComp()->linearVel.y);
}

TEST_F(PhysicsPass, ContactsMoveBodiesByTheirMassShares) {
    struct Case { const char* what; float massA, massB; bool bodyB, infB, resolve; float moveA, moveB; };
    const Case cases[] = {
        {"masses 1 and 3", 1, 3, true, false, true, -0.3f, 0.1f},
        {"B of infinite mass", 1, 3, true, true, true, -0.4f, 0},
        {"B without a body", 1, 0, false, false, true, -0.4f, 0},
        {"two zero masses", 0, 0, true, false, true, -0.2f, 0.2f},
        {"a negative mass counts as none", -1, 1, true, false, true, -0.4f, 0},
        {"a shot's contact", 1, 3, true, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        physics.bodies.clear();
        physics.bodyIndex.clear();
        SceneObject b("b");
        if (c.bodyB) b.Body(c.massB, c.infB);
        CollisionEvent contact;
        contact.objA = AddToScene(SceneObject("a").Body(c.massA));
        contact.objB = AddToScene(b.At(1, 0, 0));
        contact.resolveContact = c.resolve;
        contact.depth = 0.4f;
        contact.contactNormal = Vector(1, 0, 0);
        physics.GatherBodies(SceneObjects());
        physics.ResolveContact(contact);
        EXPECT_NEAR(c.moveA, physics.GetBody(contact.objA).position.x, 1e-6f) << c.what;
        ASSERT_EQ(c.bodyB && !c.infB, physics.HasBody(contact.objB)) << c.what;
        if (physics.HasBody(contact.objB)) {
            EXPECT_NEAR(1 + c.moveB, physics.GetBody(contact.objB).position.x, 1e-6f) << c.what;
        }
    }
}

// Two physics passes within one collision pass push the bodies once; an
// Update after Kill (before Init again) does nothing.
TEST_F(PhysicsPass, EachPublishedContactIsAnsweredOnceAndNothingRunsBeforeInit) {
    const unsigned a = AddToScene(SceneObject("a").Body(1));
    const unsigned b = AddToScene(SceneObject("b").At(1.5f, 0, 0).Body(1));
    const unsigned mover = AddToScene(SceneObject("mover").At(0, 50, 0).Moving(1, 0, 0));
    collision.Update();
    physics.Kill();
    physics.Update();
    physics.Init();
    physics.Update();
    physics.Update();
    ObjectLock lock;
    EXPECT_NEAR(-0.25f, Object(a).trans.x, 1e-6f);
    EXPECT_NEAR(1.75f, Object(b).trans.x, 1e-6f);
    EXPECT_FLOAT_EQ(1.0f, Object(mover).trans.x) << "two steps of 0.5 s";
}

// Removing the middle body renumbers the last; a killed object's body goes
// with the next pass, while a malformed kill broadcast is dropped.
TEST_F(PhysicsPass, RemovedBodiesKeepTheIndexWhole) {
    for (int i = 0; i < 3; ++i) AddToScene(SceneObject("body" + std::to_string(i)).At(i, 0, 0).Body(1));
    physics.GatherBodies(SceneObjects());
    unsigned atPlace[3];  // the table's order decides the places
    for (const BodyIndexEntry& entry : physics.bodyIndex) atPlace[entry.index] = entry.objNum;
    const unsigned first = atPlace[0], middle = atPlace[1], last = atPlace[2];
    const float lastX = physics.GetBody(last).position.x;
    physics.RemoveBody(middle);
    ASSERT_EQ(2u, physics.bodies.size());
    EXPECT_FALSE(physics.HasBody(middle));
    EXPECT_EQ(0u, physics.GetBodyIndex(first));
    EXPECT_EQ(1u, physics.GetBodyIndex(last));
    EXPECT_EQ(lastX, physics.GetBody(last).position.x);

    Event malformed("Test", EventManager::kBroadcast, ObjectManager::kKillGameObject);
    malformed.SetParam<int>(ObjectManager::kParamObjNum, static_cast<int>(first));
    Send(malformed);
    {
        ObjectLock lock;
        SceneObjects().KillGameObject(Object(last));  // announces "KillGameObject"
    }
    physics.Update();
    EXPECT_FALSE(physics.HasBody(last));
    EXPECT_TRUE(physics.HasBody(first));
    EXPECT_TRUE(log.Has("KillGameObject")) << log.Text();
}

// A spin about +y turns x towards -z; the rotation stays of unit length.
TEST_F(PhysicsPass, SpinsTurnAboutTheirAxisAndStayUnit) {
    const unsigned spinner = AddToScene(SceneObject("spinner").Spinning(0, 1, 0));
    physics.SetFrameClock(FrameClock{0.0, 1.0 / 60});
    float worst = 0;
    for (int step = 1; step <= 10000; ++step) {
        physics.Update();
        ObjectLock lock;
        const Quaternion rot = Object(spinner).rot;
        worst = std::max(worst, std::fabs(rot.Mag() - 1.0f));
        if (step == 60) {
            const Vector x = rot.Rotate(Vector(1, 0, 0));
            EXPECT_NEAR(std::cos(1.0f), x.x, 1e-2f);
            EXPECT_NEAR(-std::sin(1.0f), x.z, 1e-2f);
        }
    }
    EXPECT_LT(worst, 1e-5f);

    const unsigned still = AddToScene(SceneObject("still").Turned(Quaternion()).Body(1));
    physics.Update();
    ObjectLock lock;
    EXPECT_EQ(1.0f, Object(still).rot.s) << "a zero rotation becomes the identity";
}

// Gravity by default and overridden; a spring of rest length 5 and stiffness
// 10 stretched to 7, at rest, and compressed to 3; a spring whose ends
// coincide; an unknown type; an event without its object; "ClearForces".
TEST_F(PhysicsPass, ForcesFromEvents) {
    const unsigned a = AddToScene(SceneObject("a").Body(2));
    const unsigned b = AddToScene(SceneObject("b").Body(2));
    const unsigned c = AddToScene(SceneObject("c").Body(2));
    auto force = [&](unsigned objNum) { return physics.GetBody(objNum).forceAccum.x; };
    auto send = [&](const std::string& type, unsigned one, unsigned other, bool overrides) {
        Event event("Test", "Physics", ForcePhysics::kAddForce);
        event.SetParam<std::string>(ForcePhysics::kType, type);
        const char* first = type == ForcePhysics::kSpringType ? ForcePhysics::kObjA : ForcePhysics::kObj;
        if (one) event.SetParam<unsigned>(first, one);
        event.SetParam<unsigned>(ForcePhysics::kObjB, other);
        event.SetParam<float>(ForcePhysics::kRestLength, 5.0f);
        event.SetParam<float>(ForcePhysics::kStiffness, 10.0f);
        if (overrides) event.SetParam<float>(ForcePhysics::kG, 2.0f);
        if (overrides) event.SetParam(ForcePhysics::kDir, Vector(1, 0, 0));
        Send(event);
    };
    send(ForcePhysics::kGravityType, a, 0, false);
    send(ForcePhysics::kGravityType, b, 0, true);
    physics.Update();
    EXPECT_FLOAT_EQ(-19.6f, physics.GetBody(a).forceAccum.y);
    EXPECT_FLOAT_EQ(4.0f, force(b));
    {
        ObjectLock lock;
        EXPECT_FLOAT_EQ(-9.8f * 0.5f, Object(a).GetPhysicsComp()->linearVel.y);
    }

    Send(Event("Test", "Physics", ForcePhysics::kClearForces));
    send(ForcePhysics::kSpringType, b, a, false);
    send(ForcePhysics::kSpringType, b, c, false);
    send("Wind", a, b, false);
    send(ForcePhysics::kGravityType, 0, 0, false);  // no "obj"
    for (const float bx : {7.0f, 5.0f, 3.0f}) {
        {
            ObjectLock lock;  // placed anew each time: the bodies move every pass
            Object(a).trans = Vector();
            Object(b).trans = Object(c).trans = Vector(bx, 0, 0);
        }
        physics.Update();
        const float pull = (bx - 5) * 10;  // towards a
        EXPECT_NEAR(-pull, force(b), 1e-4f) << "b at " << bx;
        EXPECT_NEAR(pull, force(a), 1e-4f) << "b at " << bx;
        EXPECT_EQ(0.0f, force(c)) << "the ends of the spring b-c coincide";
    }
    EXPECT_EQ(2u, physics.forcePhysics.forces.size()) << "no wind, nothing broken";
    EXPECT_TRUE(log.Has("dropped event \"AddForce\"")) << log.Text();

    Send(Event("Test", "Physics", ForcePhysics::kClearForces));
    physics.Update();
    EXPECT_TRUE(force(a) == 0.0f && force(b) == 0.0f);
}

// A body that would become not-a-number is not written back: its object
// keeps its last good state, with one warning.
TEST_F(PhysicsPass, NotFiniteResultsAreNotWrittenBack) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const unsigned broken = AddToScene(SceneObject("broken").At(3, 0, 0).Moving(nan, 0, 0).Body(1));
    const unsigned fine = AddToScene(SceneObject("fine").Moving(1, 0, 0).Body(1));
    physics.Update();
    physics.Update();
    ObjectLock lock;
    EXPECT_EQ(3.0f, Object(broken).trans.x);
    EXPECT_FLOAT_EQ(1.0f, Object(fine).trans.x);
    EXPECT_EQ(1, log.Count("broken (" + std::to_string(broken) + ")")) << log.Text();
}

}  // namespace
