// The narrow phase through whole collision passes: spheres, boxes (a
// brute-force separating-axis check over random turned pairs), and the swept
// tests of shots against boxes and spheres.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "support/collision_scene.h"

namespace {

using test_support::AddToScene;
using test_support::SceneObject;

class NarrowPhase : public test_support::CollisionScene {
protected:
    std::vector<CollisionEvent> Pass() {
        collision.Update();
        return collision.GetCollisionEvents();
    }
    // A pass with one expected contact.
    CollisionEvent OnlyEvent() {
        const std::vector<CollisionEvent> events = Pass();
        EXPECT_EQ(1u, events.size());
        return events.empty() ? CollisionEvent() : events.front();
    }
};

void ExpectVector(const Vector& expected, const Vector& actual, float tolerance = 1e-5f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

Quaternion AxisTurn(const Vector& axis, float radians) {
    return Quaternion(std::cos(radians / 2), axis.Norm() * std::sin(radians / 2));
}

TEST_F(NarrowPhase, SpheresMeetOnlyWhenCloserThanTheirRadii) {
    const unsigned a = AddToScene(SceneObject("a").Sphere(1));
    const unsigned b = AddToScene(SceneObject("b").At(2, 0, 0).Sphere(1));
    EXPECT_TRUE(Pass().empty()) << "exactly 2 apart";

    { ObjectLock lock; test_support::SceneObjects().GetGameObject(b)->trans = Vector(1.9f, 0, 0); }
    const CollisionEvent hit = OnlyEvent();
    EXPECT_EQ(a, hit.objA);
    EXPECT_EQ(b, hit.objB);
    EXPECT_NEAR(0.1f, hit.depth, 1e-5f);
    ExpectVector(Vector(1, 0, 0), hit.contactNormal);
    ExpectVector(Vector(1, 0, 0), hit.contactPoint);
    EXPECT_DOUBLE_EQ(10.0, hit.time);
    EXPECT_TRUE(hit.resolveContact);

    { ObjectLock lock; test_support::SceneObjects().GetGameObject(b)->trans = Vector(); }
    const CollisionEvent same = OnlyEvent();
    EXPECT_NEAR(2.0f, same.depth, 1e-6f);
    EXPECT_EQ(1.0f, same.contactNormal.x);
}

TEST_F(NarrowPhase, AxisAlignedBoxesPushApartAlongX) {
    AddToScene(SceneObject("a").Sphere(2).Box(1, 1, 1));
    const unsigned b = AddToScene(SceneObject("b").At(2, 0, 0).Sphere(2).Box(1, 1, 1));
    EXPECT_TRUE(Pass().empty()) << "faces that only touch";

    { ObjectLock lock; test_support::SceneObjects().GetGameObject(b)->trans = Vector(1.8f, 0, 0); }
    const CollisionEvent hit = OnlyEvent();
    EXPECT_NEAR(0.2f, hit.depth, 1e-5f);
    EXPECT_NEAR(1.0f, std::fabs(hit.contactNormal.x), 1e-6f);
    ExpectVector(hit.contactNormal * hit.depth, hit.contactA - hit.contactB);
}

// A box turned 30 degrees about y against an upright one: the push-out is
// along the world axis where they overlap least, by the overlap of their
// projections (cos 30 + sin 30 is the turned box's half width along x).
TEST_F(NarrowPhase, TurnedBoxesGiveAUnitNormalAndTheAnalyticDepth) {
    const float halfWidth = std::cos(M_PI / 6) + std::sin(M_PI / 6);
    struct Case { Vector at; Vector normal; float depth; };
    const Case cases[] = {
        {Vector(2.2f, 0, 0), Vector(1, 0, 0), halfWidth + 1 - 2.2f},
        {Vector(0.01f, 1.9f, 0), Vector(0, 1, 0), 0.1f},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        AddToScene(SceneObject("a").Sphere(2).Box(1, 1, 1).Turned(AxisTurn(Vector(0, 1, 0), M_PI / 6)));
        AddToScene(SceneObject("b").At(c.at.x, c.at.y, c.at.z).Sphere(2).Box(1, 1, 1));
        const CollisionEvent hit = OnlyEvent();
        EXPECT_NEAR(c.depth, hit.depth, 1e-5f);
        ExpectVector(c.normal, hit.contactNormal);
    }
}

// The smallest overlap of two boxes over the fifteen unit axes of the
// separating-axis theorem, computed in the world directly.
float LeastOverlap(const std::array<Vector, 8>& a, const std::array<Vector, 8>& b, const Vector (&axesA)[3],
                   const Vector (&axesB)[3]) {
    std::vector<Vector> axes(axesA, axesA + 3);
    axes.insert(axes.end(), axesB, axesB + 3);
    for (const Vector& u : axesA)
        for (const Vector& v : axesB)
            if (Cross(u, v).Mag() > 1e-4f) axes.push_back(Cross(u, v).Norm());
    float least = 1e30f;
    for (const Vector& axis : axes) {
        float loA = 1e30f, hiA = -1e30f, loB = 1e30f, hiB = -1e30f;
        for (const Vector& p : a) loA = std::min(loA, axis * p), hiA = std::max(hiA, axis * p);
        for (const Vector& p : b) loB = std::min(loB, axis * p), hiB = std::max(hiB, axis * p);
        least = std::min(least, std::min(hiA - loB, hiB - loA));
    }
    return least;
}

// Obliquely turned boxes often touch edge on edge, where the least overlap
// lies along a cross product of two edges: its depth must be measured along
// a unit axis.
TEST_F(NarrowPhase, RandomTurnedBoxesReportTheLeastOverlapAlongAUnitAxis) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int contacts = 0;
    for (int trial = 0; trial < 40; ++trial) {
        test_support::ClearScene();
        const Quaternion turnA = Quaternion(unit(random), Vector(unit(random), unit(random), unit(random))).Norm();
        const Quaternion turnB = Quaternion(unit(random), Vector(unit(random), unit(random), unit(random))).Norm();
        const Vector at = Vector(unit(random), unit(random), unit(random)).Norm() * 2.3f;
        const unsigned a = AddToScene(SceneObject("a").Sphere(3).Box(1, 0.8f, 0.6f).Turned(turnA));
        AddToScene(SceneObject("b").At(at.x, at.y, at.z).Sphere(3).Box(0.9f, 1, 0.7f).Turned(turnB));
        std::array<Vector, 8> cornersA = OBB(Vector(), Vector(1, 0.8f, 0.6f)).Corners();
        std::array<Vector, 8> cornersB = OBB(Vector(), Vector(0.9f, 1, 0.7f)).Corners();
        for (Vector& p : cornersA) p = turnA.Rotate(p);
        for (Vector& p : cornersB) p = turnB.Rotate(p) + at;
        const Vector axesA[3] = {turnA.Rotate(Vector(1, 0, 0)), turnA.Rotate(Vector(0, 1, 0)), turnA.Rotate(Vector(0, 0, 1))};
        const Vector axesB[3] = {turnB.Rotate(Vector(1, 0, 0)), turnB.Rotate(Vector(0, 1, 0)), turnB.Rotate(Vector(0, 0, 1))};
        const float expected = LeastOverlap(cornersA, cornersB, axesA, axesB);
        if (std::fabs(expected) < 1e-3f) continue;  // too close to touching to judge
        const std::vector<CollisionEvent> events = Pass();
        ASSERT_EQ(expected > 0 ? 1u : 0u, events.size()) << "trial " << trial << " overlap " << expected;
        if (events.empty()) continue;
        ++contacts;
        const CollisionEvent& hit = events.front();
        const float sign = hit.objA == a ? 1.0f : -1.0f;
        EXPECT_NEAR(expected, hit.depth, 1e-4f) << "trial " << trial;
        EXPECT_NEAR(1.0f, hit.contactNormal.Mag(), 1e-5f) << "trial " << trial;
        EXPECT_GT(sign * (hit.contactNormal * at), 0.0f) << "the normal points from A towards B";
    }
    EXPECT_GT(contacts, 10);
}

// A shot at 10 units per second over steps of 0.01 s covers 0.1 per step.
struct SweptCase {
    const char* what;
    float shotX;         // the target box spans x 0.5 .. 1.5
    bool hits;
    float t;             // in steps
};

TEST_F(NarrowPhase, ShotsAreSweptAgainstBoxesUpTo1Point3Steps) {
    collision.SetFrameClock(FrameClock{10.0, 0.01});
    const SweptCase cases[] = {
        {"1.2 steps ahead", 0.38f, true, 1.2f},
        {"1.4 steps ahead", 0.36f, false, 0},
        {"inside, leaving after 0.5 steps", 1.45f, true, 0.5f},
        {"inside, leaving after 9 steps", 0.6f, false, 0},
    };
    for (const SweptCase& c : cases) {
        test_support::ClearScene();
        const unsigned shot = AddToScene(SceneObject("shot").At(c.shotX, 0, 0).Sphere(0.01f).Shot().Moving(10, 0, 0));
        const unsigned box = AddToScene(SceneObject("box").At(1, 0, 0).Sphere(0.9f).AxisBox(0.5f, 0.5f, 0.5f));
        const std::vector<CollisionEvent> events = Pass();
        ASSERT_EQ(c.hits ? 1u : 0u, events.size()) << c.what;
        if (!c.hits) continue;
        const CollisionEvent& hit = events.front();
        EXPECT_EQ(shot, hit.objA) << c.what;
        EXPECT_EQ(box, hit.objB) << c.what;
        EXPECT_NEAR(1 - c.t, hit.depth, 1e-4f) << c.what;
        EXPECT_NEAR(10.0 + c.t * 0.01, hit.time, 1e-6) << c.what;
        EXPECT_NEAR(c.shotX + c.t * 0.1f, hit.contactPoint.x, 1e-5f) << c.what;
        ExpectVector(Vector(-1, 0, 0), hit.contactNormal);
        EXPECT_FALSE(hit.resolveContact);
    }
}

// Whichever object's span sorts first, the shot is objA; with no relative
// motion a shot inside a sphere is pushed out from its centre, and a shot
// outside never reaches it (no not-a-number from the quadratic).
TEST_F(NarrowPhase, ShotsAgainstSpheres) {
    struct Case { const char* what; float shotX; float vx; bool hits; float depth; float normalX; };
    const Case cases[] = {
        // 2 to the surface over 5 or 1.8 units per step.
        {"moving, sorts first", -3, 300, true, 1 - 2 / 5.0f, -1},
        {"moving, sorts second", 3, -108, true, 1 - 2 / 1.8f, 1},
        {"resting inside", 0.5f, 0, true, 1, 1},
        {"resting on the centre", 0, 0, true, 1, 1},
        {"resting outside", 1.5f, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        const unsigned target = AddToScene(SceneObject("target").NoSphere());  // default sphere: radius 1
        SceneObject shot("shot");
        shot.At(c.shotX, 0, 0).Sphere(0.6f).Shot();
        if (c.vx != 0) shot.Moving(c.vx, 0, 0);
        const unsigned shotNum = AddToScene(shot);
        const std::vector<CollisionEvent> events = Pass();
        ASSERT_EQ(c.hits ? 1u : 0u, events.size()) << c.what;
        if (!c.hits) continue;
        EXPECT_EQ(shotNum, events.front().objA) << c.what;
        EXPECT_EQ(target, events.front().objB) << c.what;
        EXPECT_NEAR(c.depth, events.front().depth, 1e-4f) << c.what;
        ExpectVector(Vector(c.normalX, 0, 0), events.front().contactNormal);
    }
}

TEST_F(NarrowPhase, ShotsNeverMeetShots) {
    AddToScene(SceneObject("one").Sphere(1).Shot().Moving(5, 0, 0));
    AddToScene(SceneObject("two").At(0.5f, 0, 0).Sphere(1).Shot().Moving(-5, 0, 0));
    EXPECT_TRUE(Pass().empty());
}

}  // namespace
