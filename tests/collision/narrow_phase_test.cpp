// The narrow phase through whole collision passes: spheres and boxes (also a
// brute-force separating-axis check over random turned pairs), and the swept
// tests of shots against boxes, spheres and other shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "geom/geom_expect.h"
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
};

// b at `at` against a at the origin: two unit spheres, or two boxes of half
// size 1 (a turned 30 degrees about y where asked: its half width along x is
// cos 30 + sin 30). Depth 0: no contact. Boxes report both contact points.
// `along`: the contact point's place along the normal, on a's surface for
// spheres, midway between the two faces for boxes.
TEST_F(NarrowPhase, SpheresAndBoxesMeetOnlyWhenTheyOverlap) {
    const Quaternion turned = AxisRotation(Vector(0, 1, 0), M_PI / 6), upright(1.0f);
    const float halfWidth = std::cos(M_PI / 6) + std::sin(M_PI / 6);
    struct Case { const char* what; bool boxes; Quaternion turn; Vector at; float depth; Vector normal; float along; };
    const Case cases[] = {
        {"spheres 2 apart", false, upright, Vector(2, 0, 0), 0, Vector(), 0},
        {"spheres 1.9 apart", false, upright, Vector(1.9f, 0, 0), 0.1f, Vector(1, 0, 0), 1},
        {"spheres at one point", false, upright, Vector(), 2, Vector(1, 0, 0), 1},
        {"faces that only touch", true, upright, Vector(2, 0, 0), 0, Vector(), 0},
        {"boxes 0.2 into each other", true, upright, Vector(1.8f, 0, 0), 0.2f, Vector(1, 0, 0), 0.9f},
        {"turned box, least along x", true, turned, Vector(2.2f, 0, 0), halfWidth + 1 - 2.2f, Vector(1, 0, 0),
         (halfWidth + 1.2f) / 2},
        {"turned box, least along y", true, turned, Vector(0.01f, 1.9f, 0), 0.1f, Vector(0, 1, 0), 0.95f},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        SceneObject a("a"), b("b");
        a.Sphere(c.boxes ? 2 : 1).Turned(c.turn);
        b.Sphere(c.boxes ? 2 : 1).At(c.at.x, c.at.y, c.at.z);
        if (c.boxes) a.Box(1, 1, 1), b.Box(1, 1, 1);
        const unsigned aNum = AddToScene(a), bNum = AddToScene(b);
        const std::vector<CollisionEvent> events = Pass();
        ASSERT_EQ(c.depth != 0 ? 1u : 0u, events.size()) << c.what;
        if (events.empty()) continue;
        const CollisionEvent& hit = events.front();
        EXPECT_TRUE(hit.objA == aNum && hit.objB == bNum && hit.resolveContact && hit.time == 10.0) << c.what;
        EXPECT_NEAR(c.depth, hit.depth, 1e-5f) << c.what;
        EXPECT_TRUE(VectorNear(hit.contactNormal, c.normal)) << c.what;
        EXPECT_NEAR(hit.contactPoint * c.normal, c.along, 1e-5f) << c.what;
        if (c.boxes) {
            EXPECT_TRUE(VectorNear(hit.contactA - hit.contactB, hit.contactNormal * hit.depth)) << c.what;
        } else {
            EXPECT_TRUE(VectorNear(hit.contactPoint, c.normal)) << c.what;
        }
    }
}

// The smallest overlap of two boxes over the fifteen unit axes of the
// separating-axis theorem, computed in the world directly.
float LeastOverlap(const std::array<Vector, 8>& a, const std::array<Vector, 8>& b, const Quaternion& turnA,
                   const Quaternion& turnB) {
    std::vector<Vector> axes;
    for (const Vector& unit : {Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)})
        axes.push_back(turnA.Rotate(unit)), axes.push_back(turnB.Rotate(unit));
    for (int i = 0; i < 6; i += 2)
        for (int j = 1; j < 6; j += 2)
            if (Cross(axes[i], axes[j]).Mag() > 1e-4f) axes.push_back(Cross(axes[i], axes[j]).Norm());
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
    auto randomTurn = [&] { return Quaternion(unit(random), Vector(unit(random), unit(random), unit(random))).Norm(); };
    int contacts = 0;
    for (int trial = 0; trial < 40; ++trial) {
        test_support::ClearScene();
        const Quaternion turnA = randomTurn(), turnB = randomTurn();
        const Vector at = Vector(unit(random), unit(random), unit(random)).Norm() * 2.3f;
        const unsigned a = AddToScene(SceneObject("a").Sphere(3).Box(1, 0.8f, 0.6f).Turned(turnA));
        AddToScene(SceneObject("b").At(at.x, at.y, at.z).Sphere(3).Box(0.9f, 1, 0.7f).Turned(turnB));
        std::array<Vector, 8> cornersA = OBB(Vector(), Vector(1, 0.8f, 0.6f)).Corners();
        std::array<Vector, 8> cornersB = OBB(Vector(), Vector(0.9f, 1, 0.7f)).Corners();
        for (Vector& p : cornersA) p = turnA.Rotate(p);
        for (Vector& p : cornersB) p = turnB.Rotate(p) + at;
        const float expected = LeastOverlap(cornersA, cornersB, turnA, turnB);
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

// Steps of 0.01 s. A box target spans x 0.5 .. 1.5 (a shot at 10 units per
// second covers 0.1 per step: hits count up to 1.3 steps ahead); a sphere
// target of radius 1 sits at the origin. Whichever span sorts first, the shot
// is objA; with no relative motion a shot inside a sphere is pushed out from
// its centre, and one outside never reaches it (no not-a-number from the
// quadratic). The depth is 1 - t, t in steps.
TEST_F(NarrowPhase, ShotsAreSweptAgainstBoxesAndSpheresButNeverMeetShots) {
    collision.SetFrameClock(FrameClock{10.0, 0.01});
    enum Target { kBox, kSphere, kShot };
    struct Case { const char* what; Target target; float shotX, vx; bool hits; float depth, normalX; };
    const Case cases[] = {
        {"box 1.2 steps ahead", kBox, 0.38f, 10, true, -0.2f, -1},
        {"box 1.4 steps ahead", kBox, 0.36f, 10, false, 0, 0},
        {"inside a box, leaving after 0.5 steps", kBox, 1.45f, 10, true, 0.5f, -1},
        {"inside a box, leaving after 9 steps", kBox, 0.6f, 10, false, 0, 0},
        {"sphere 2 ahead at 5 per step, sorts first", kSphere, -3, 500, true, 1 - 2 / 5.0f, -1},
        {"sphere 2 ahead at 1.8 per step, sorts second", kSphere, 3, -180, true, 1 - 2 / 1.8f, 1},
        {"resting inside a sphere", kSphere, 0.5f, 0, true, 1, 1},
        {"resting on a sphere's centre", kSphere, 0, 0, true, 1, 1},
        {"resting outside a sphere", kSphere, 1.5f, 0, false, 0, 0},
        {"inside another shot", kShot, 0.5f, 10, false, 0, 0},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        SceneObject target("target"), shot("shot");
        if (c.target == kBox) target.At(1, 0, 0).Sphere(0.9f).AxisBox(0.5f, 0.5f, 0.5f);
        if (c.target != kBox) target.NoSphere();  // the default sphere: radius 1
        if (c.target == kShot) target.Shot();
        shot.At(c.shotX, 0, 0).Sphere(c.target == kBox ? 0.01f : 0.6f).Shot();
        if (c.vx != 0) shot.Moving(c.vx, 0, 0);
        const unsigned targetNum = AddToScene(target), shotNum = AddToScene(shot);
        const std::vector<CollisionEvent> events = Pass();
        ASSERT_EQ(c.hits ? 1u : 0u, events.size()) << c.what;
        if (!c.hits) continue;
        const CollisionEvent& hit = events.front();
        const float t = 1 - c.depth;
        EXPECT_TRUE(hit.objA == shotNum && hit.objB == targetNum && !hit.resolveContact) << c.what;
        EXPECT_NEAR(c.depth, hit.depth, 1e-4f) << c.what;
        EXPECT_NEAR(10.0 + t * 0.01, hit.time, 1e-6) << c.what;
        EXPECT_NEAR(c.shotX + t * c.vx * 0.01f, hit.contactPoint.x, 1e-5f) << c.what;
        EXPECT_TRUE(VectorNear(hit.contactNormal, Vector(c.normalX, 0, 0))) << c.what;
    }
}

}  // namespace
