// Geometric records, spans, the scalar helpers and the two picking tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>

#include "geom/geom_expect.h"
#include "platform/random.h"

namespace {

const float kPi = 3.14159265f;

}  // namespace

TEST(Records, ConstructorsKeepTheirFieldOrder) {
    const Ray ray(Vector(0, 0, 1), Vector(5, 6, 7));
    EXPECT_TRUE(VectorNear(ray.direction, Vector(0, 0, 1)));
    EXPECT_TRUE(VectorNear(ray.origin, Vector(5, 6, 7)));
    EXPECT_LT(offsetof(Ray, direction), offsetof(Ray, origin));
    EXPECT_TRUE(VectorNear(Ray(Vector(1, 0, 0, 1), Vector(0, 0, 0, 1)).Evaluate(2),
                           Vector(2, 0, 0, 3)));

    const BoundingSphere sphere;
    EXPECT_TRUE(VectorNear(sphere.center, Vector()));
    EXPECT_EQ(sphere.radius, 1.0f);
    EXPECT_TRUE(QuatNear(OBB().rot, Quaternion(1), 0));
}

TEST(Plane, ThroughThreePoints) {
    const Plane p(Vector(0, 0, 2, 1), Vector(1, 0, 2), Vector(0, 1, 2));
    EXPECT_TRUE(VectorNear(p.normal, Vector(0, 0, 1, 0)));
    EXPECT_EQ(p.origin.w, 1.0f);
    EXPECT_FLOAT_EQ(p.EvalImplicit(Vector(7, -3, 5)), 3.0f);
    EXPECT_FLOAT_EQ(p.EvalImplicit(Vector(7, -3, 0)), -2.0f);
    // Clockwise order flips the normal.
    EXPECT_TRUE(VectorNear(Plane(Vector(), Vector(0, 1, 0), Vector(1, 0, 0)).normal,
                           Vector(0, 0, -1)));
    // Collinear points give no normal, but no not-a-number either.
    EXPECT_TRUE(VectorNear(Plane(Vector(), Vector(1, 1, 1), Vector(2, 2, 2)).normal, Vector()));
}

TEST(RayPlaneIntersect, HitsMissesAndWhatItWrites) {
    const Plane floor(Vector(0, 1, 0), Vector(0, -2, 0));
    float t = -99;
    Vector point(9, 9, 9, 9);

    EXPECT_TRUE(RayPlaneIntersect(Ray(Vector(0, -1, 0), Vector(3, 4, 5)), floor, t, point));
    EXPECT_FLOAT_EQ(t, 6.0f);
    EXPECT_TRUE(VectorNear(point, Vector(3, -2, 5)));

    // Oblique ray with a non-unit direction.
    EXPECT_TRUE(RayPlaneIntersect(Ray(Vector(1, -2, 0), Vector(0, 2, 0)), floor, t, point));
    EXPECT_FLOAT_EQ(t, 2.0f);
    EXPECT_TRUE(VectorNear(point, Vector(2, -2, 0)));

    // Parallel: false, nothing written.
    t = -99;
    point = Vector(9, 9, 9, 9);
    EXPECT_FALSE(RayPlaneIntersect(Ray(Vector(1, 0, 0), Vector(0, 0, 0)), floor, t, point));
    EXPECT_EQ(t, -99.0f);
    EXPECT_TRUE(VectorNear(point, Vector(9, 9, 9, 9)));

    // Behind the origin: false, but t already written.
    EXPECT_FALSE(RayPlaneIntersect(Ray(Vector(0, 1, 0), Vector(0, 0, 0)), floor, t, point));
    EXPECT_FLOAT_EQ(t, -2.0f);
    EXPECT_TRUE(VectorNear(point, Vector(9, 9, 9, 9)));

    // Starting on the plane counts as a hit at 0.
    EXPECT_TRUE(RayPlaneIntersect(Ray(Vector(0, 1, 0), Vector(1, -2, 1)), floor, t, point));
    EXPECT_FLOAT_EQ(t, 0.0f);
}

TEST(RayIntersectAABB, SlabTest) {
    const AABB box(Vector(1, 1, 1), Vector(1, 2, 3));  // x 0..2, y -1..3, z -2..4
    float t = -99;
    Vector point;

    EXPECT_TRUE(RayIntersectAABB(Ray(Vector(1, 0, 0), Vector(-5, 0, 0)), box, t, point));
    EXPECT_FLOAT_EQ(t, 5.0f);
    EXPECT_TRUE(VectorNear(point, Vector(0, 0, 0)));

    // From the far side, travelling backwards along x.
    EXPECT_TRUE(RayIntersectAABB(Ray(Vector(-2, 0, 0), Vector(6, 0.5f, 0)), box, t, point));
    EXPECT_FLOAT_EQ(t, 2.0f);
    EXPECT_TRUE(VectorNear(point, Vector(2, 0.5f, 0)));

    // From inside: the exit distance.
    EXPECT_TRUE(RayIntersectAABB(Ray(Vector(0, 0, 1), Vector(1, 1, 1)), box, t, point));
    EXPECT_FLOAT_EQ(t, 3.0f);
    EXPECT_TRUE(VectorNear(point, Vector(1, 1, 4)));

    // Diagonal entry through a corner region.
    EXPECT_TRUE(RayIntersectAABB(Ray(Vector(1, 1, 0), Vector(-1, -2, 0)), box, t, point));
    EXPECT_FLOAT_EQ(t, 1.0f);

    // Parallel to the x slab and outside it by more than the tolerance: miss.
    EXPECT_FALSE(RayIntersectAABB(Ray(Vector(0, 1, 0), Vector(2.001f, -5, 0)), box, t, point));
    // Parallel but inside the slab: hit.
    EXPECT_TRUE(RayIntersectAABB(Ray(Vector(0, 1, 0), Vector(2, -5, 0)), box, t, point));
    EXPECT_FLOAT_EQ(t, 4.0f);

    // Pointing away, box behind the origin: miss.
    EXPECT_FALSE(RayIntersectAABB(Ray(Vector(1, 0, 0), Vector(5, 0, 0)), box, t, point));
    // Passing beside the box: miss.
    EXPECT_FALSE(RayIntersectAABB(Ray(Vector(1, 0, 0), Vector(-5, 3.5f, 0)), box, t, point));
}

TEST(OBB, CornersAndExtentsMatrix) {
    const OBB box(Vector(1, 1, 1, 0), Vector(1, 2, 3, 0));
    const std::vector<Vector> corners = box.GetVerts();
    ASSERT_EQ(corners.size(), 8u);
    EXPECT_TRUE(VectorNear(corners[0], Vector(0, -1, -2, 0)));
    EXPECT_TRUE(VectorNear(corners[5], Vector(2, -1, 4, 0)));
    EXPECT_TRUE(VectorNear(corners[7], Vector(2, 3, 4, 0)));

    // A quarter turn about z swaps the box's x and y half axes in the world.
    const OBB turned(Vector(0, 0, 0, 1), Vector(1, 2, 3),
                     AxisRotation(Vector(0, 0, 1), kPi / 2));
    const Matrix axes = turned.GetExtentsMatrix();
    EXPECT_TRUE(VectorNear(axes.VecFromCol(0), Vector(0, 1, 0), 1e-6f));
    EXPECT_TRUE(VectorNear(axes.VecFromCol(1), Vector(-2, 0, 0), 1e-6f));
    EXPECT_TRUE(VectorNear(axes.VecFromCol(3), Vector()));
    EXPECT_EQ(axes.m[3][3], 1.0f);
    EXPECT_TRUE(VectorNear(turned.GetVerts()[1], Vector(2, 1, -3, 1), 1e-6f));
}

TEST(Span, ExtendAndOverlap) {
    Span span(0, 1);
    EXPECT_EQ(span.Extend(0.5f), 0);
    EXPECT_EQ(span.min, 0.0f);
    EXPECT_EQ(span.max, 1.0f);
    EXPECT_EQ(span.Extend(-1), -1);
    EXPECT_EQ(span.min, -1.0f);
    EXPECT_EQ(span.Extend(2), 1);
    EXPECT_EQ(span.max, 2.0f);

    EXPECT_FALSE(SpansOverlap(Span(0, 1), Span(1, 2)));
    EXPECT_FALSE(SpansOverlap(Span(1, 2), Span(0, 1)));
    EXPECT_TRUE(SpansOverlap(Span(0, 1), Span(0.5f, 2)));
    EXPECT_TRUE(SpansOverlap(Span(0.5f, 2), Span(0, 1)));
    EXPECT_TRUE(SpansOverlap(Span(0, 3), Span(1, 2)));
    // Equal minimums: the first span's max against the second's min.
    EXPECT_FALSE(SpansOverlap(Span(1, 1), Span(1, 5)));
    EXPECT_TRUE(SpansOverlap(Span(1, 1.5f), Span(1, 1)));

    EXPECT_FALSE(RangeIntersect(0, 1, 1, 2));
    EXPECT_FALSE(RangeIntersect(1, 2, 0, 1));
    EXPECT_TRUE(RangeIntersect(0, 1, 0.5f, 2));
    EXPECT_TRUE(RangeIntersect(0.5f, 2, 0, 1));

    EXPECT_TRUE(Span(0, 9) < Span(1, 2));
    EXPECT_FALSE(Span(1, 2) < Span(1, 9));
}

TEST(Scalar, SignAndClamp) {
    EXPECT_EQ(SignFloat(0.0f), 1.0f);
    EXPECT_EQ(SignFloat(-0.001f), -1.0f);
    EXPECT_EQ(SignFloat(3.0f), 1.0f);
    EXPECT_EQ(ClampFloat(5, 0, 1), 1.0f);
    EXPECT_EQ(ClampFloat(-5, 0, 1), 0.0f);
    EXPECT_EQ(ClampFloat(0.25f, 0, 1), 0.25f);
    EXPECT_EQ(ClampFloat(0.5f, 2, 1), 1.0f);
}

TEST(Scalar, BitFlags) {
    unsigned flags = 0;
    EXPECT_EQ(SetBit(flags, 3), 8u);
    EXPECT_EQ(flags, 8u);
    flags = 0;
    EXPECT_EQ(SetBit(flags, 33), 2u);  // the count wraps at 32
    EXPECT_EQ(SetBit(flags, 31), 0x80000002u);
    EXPECT_EQ(UnsetBit(flags, 1), 0x80000000u);
    EXPECT_EQ(flags, 0x80000000u);
    EXPECT_EQ(UnsetBit(flags, 63), 0u);
    EXPECT_EQ(SetBit(flags, 1000), 1u << (1000 % 32));

    EXPECT_EQ(CheckBit(4, 2), 1);
    EXPECT_EQ(CheckBit(4, 1), 0);
    EXPECT_EQ(CheckBit(0x80000000u, 31), 1);
    // Beyond the 32 bits nothing is set, whatever the flags hold.
    EXPECT_EQ(CheckBit(0xFFFFFFFFu, 32), 0);
    EXPECT_EQ(CheckBit(0xFFFFFFFFu, 1000), 0);
    EXPECT_EQ(CheckBit(0xFFFFFFFFu, std::numeric_limits<unsigned>::max()), 0);
}

TEST(Scalar, RandomFloatsStayInRange) {
    platform::SeedRandom(12345);
    float low = 2, high = -2;
    bool sawNegative = false, sawPositive = false;
    for (int i = 0; i < 50000; ++i) {
        const float f = RandFloat();
        ASSERT_GE(f, 0.0f);
        ASSERT_LE(f, 1.0f);
        low = std::fmin(low, f);
        high = std::fmax(high, f);

        const float signedValue = RandSignedFloat();
        ASSERT_GE(signedValue, -1.0f);
        ASSERT_LE(signedValue, 1.0f);
        const float sign = RandSign();
        ASSERT_TRUE(sign == 1.0f || sign == -1.0f);
        sawNegative |= signedValue < 0;
        sawPositive |= signedValue > 0;
    }
    // The whole unit interval is reached, not a scaled-down corner of it.
    EXPECT_LT(low, 0.001f);
    EXPECT_GT(high, 0.999f);
    EXPECT_TRUE(sawNegative && sawPositive);
}
