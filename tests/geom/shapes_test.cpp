// Geometric records, spans, the scalar helpers and the two picking tests.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geom/geom_expect.h"
#include "platform/random.h"

TEST(Plane, ThroughThreePoints) {
    const Plane p(Vector(0, 0, 2, 1), Vector(1, 0, 2), Vector(0, 1, 2));
    EXPECT_TRUE(VectorNear(p.normal, Vector(0, 0, 1, 0)));
    EXPECT_FLOAT_EQ(p.EvalImplicit(Vector(7, -3, 5)), 3.0f);
    EXPECT_TRUE(VectorNear(Plane(Vector(), Vector(0, 1, 0), Vector(1, 0, 0)).normal, Vector(0, 0, -1)));
    // Collinear points give no normal, but no not-a-number either.
    EXPECT_TRUE(VectorNear(Plane(Vector(), Vector(1, 1, 1), Vector(2, 2, 2)).normal, Vector()));
}

TEST(RayPlaneIntersect, HitsMissesAndWhatItWrites) {
    const Plane floor(Vector(0, 1, 0), Vector(0, -2, 0));
    float t = -99;
    Vector point(9, 9, 9, 9);
    EXPECT_TRUE(RayPlaneIntersect(Ray(Vector(1, -2, 0), Vector(0, 2, 0)), floor, t, point) && t == 2.0f);
    EXPECT_TRUE(VectorNear(point, Vector(2, -2, 0)));
    // Parallel: false, nothing written.
    t = -99;
    point = Vector(9, 9, 9, 9);
    EXPECT_TRUE(!RayPlaneIntersect(Ray(Vector(1, 0, 0), Vector(0, 0, 0)), floor, t, point) && t == (-99.0f));
    // Behind the origin: false, t written, the point not.
    EXPECT_TRUE(!RayPlaneIntersect(Ray(Vector(0, 1, 0), Vector(0, 0, 0)), floor, t, point) && t == -2.0f);
    EXPECT_TRUE(VectorNear(point, Vector(9, 9, 9, 9)));
    // Starting on the plane is a hit at 0.
    EXPECT_TRUE(RayPlaneIntersect(Ray(Vector(0, 1, 0), Vector(1, -2, 1)), floor, t, point) && t == 0.0f);
}

TEST(RayIntersectAABB, SlabTest) {
    const AABB box(Vector(1, 1, 1), Vector(1, 2, 3));  // x 0..2, y -1..3, z -2..4
    struct Case { Ray ray; bool hit; float t; };
    const Case cases[] = {
        {Ray(Vector(1, 0, 0), Vector(-5, 0, 0)), true, 5},
        {Ray(Vector(-2, 0, 0), Vector(6, 0.5f, 0)), true, 2},      // backwards along x
        {Ray(Vector(0, 0, 1), Vector(1, 1, 1)), true, 3},          // from inside: the exit
        {Ray(Vector(1, 1, 0), Vector(-1, -2, 0)), true, 1},        // diagonal
        {Ray(Vector(0, 1, 0), Vector(2.001f, -5, 0)), false, 0},   // parallel, outside the slab
        {Ray(Vector(0, 1, 0), Vector(2, -5, 0)), true, 4},         // parallel, inside the slab
        {Ray(Vector(1, 0, 0), Vector(5, 0, 0)), false, 0},         // box behind
        {Ray(Vector(1, 0, 0), Vector(-5, 3.5f, 0)), false, 0},     // beside
    };
    for (const Case& c : cases) {
        float t = -99;
        Vector point;
        ASSERT_EQ(RayIntersectAABB(c.ray, box, t, point), c.hit) << c.ray.origin;
        if (!c.hit) continue;
        EXPECT_FLOAT_EQ(t, c.t) << c.ray.origin;
        EXPECT_TRUE(VectorNear(point, c.ray.origin + c.ray.direction * c.t)) << c.ray.origin;
    }
}

TEST(OBB, CornersAndExtentsMatrix) {
    const std::vector<Vector> corners = OBB(Vector(1, 1, 1, 0), Vector(1, 2, 3, 0)).GetVerts();
    ASSERT_EQ(corners.size(), 8u);
    EXPECT_TRUE(VectorNear(corners[5], Vector(2, -1, 4, 0)));
    // A quarter turn about z swaps the box's x and y half axes in the world.
    const OBB turned(Vector(0, 0, 0, 1), Vector(1, 2, 3), AxisRotation(Vector(0, 0, 1), 3.14159265f / 2));
    const Matrix axes = turned.GetExtentsMatrix();
    EXPECT_TRUE(VectorNear(axes.VecFromCol(1), Vector(-2, 0, 0), 1e-6f));
    EXPECT_TRUE(VectorNear(turned.GetVerts()[1], Vector(2, 1, -3, 1), 1e-6f));
}

TEST(Span, ExtendAndOverlap) {
    Span span(0, 1);
    EXPECT_TRUE(span.Extend(0.5f) == 0 && (span.Extend(-1)) == (-1) && span.Extend(2) == 1 && span.min == (-1.0f));
    EXPECT_EQ(span.max, 2.0f);
    // Touching is no overlap; with equal minimums the first span's max meets the second's min.
    const float overlaps[][5] = {{0, 1, 1, 2, 0}, {1, 2, 0, 1, 0}, {0.5f, 2, 0, 1, 1}, {0, 3, 1, 2, 1},
                                 {1, 1, 1, 5, 0},  {1, 1.5f, 1, 1, 1}};
    for (const auto& o : overlaps) {
        EXPECT_EQ(SpansOverlap(Span(o[0], o[1]), Span(o[2], o[3])), o[4] != 0) << o[0] << " " << o[1] << " " << o[2];
        EXPECT_TRUE(o[0] == o[2] || RangeIntersect(o[0], o[1], o[2], o[3]) == (o[4] != 0)) << o[0] << " " << o[2];
    }
}

TEST(Scalar, SignClampAndBits) {
    EXPECT_TRUE(SignFloat(0.0f) == 1.0f && SignFloat(-0.001f) == -1.0f);
    EXPECT_TRUE(ClampFloat(-5, 0, 1) == 0.0f && ClampFloat(0.5f, 2, 1) == 1.0f);

    unsigned flags = 0;
    EXPECT_TRUE(SetBit(flags, 3) == 8u && flags == 8u);
    flags = 0;
    EXPECT_EQ(SetBit(flags, 33), 2u);  // the count wraps at 32
    EXPECT_TRUE(SetBit(flags, 31) == 0x80000002u && UnsetBit(flags, 1) == 0x80000000u && UnsetBit(flags, 63) == 0u);
    EXPECT_TRUE(CheckBit(4, 2) == 1 && CheckBit(4, 1) == 0 && CheckBit(0x80000000u, 31) == 1);
    // Beyond the 32 bits nothing is set, whatever the flags hold.
    EXPECT_TRUE(CheckBit(0xFFFFFFFFu, 32) == 0 && CheckBit(0xFFFFFFFFu, std::numeric_limits<unsigned>::max()) == 0);
}

TEST(Scalar, RandomFloatsCoverTheirRange) {
    platform::SeedRandom(12345);
    float low = 2, high = -2, signedLow = 2, signedHigh = -2;
    for (int i = 0; i < 50000; ++i) {
        const float f = RandFloat(), s = RandSignedFloat(), sign = RandSign();
        ASSERT_TRUE(f >= 0.0f && f <= 1.0f && s >= -1.0f && s <= 1.0f && (sign == 1.0f || sign == -1.0f))
            << f << " " << s << " " << sign;
        low = std::fmin(low, f), high = std::fmax(high, f);
        signedLow = std::fmin(signedLow, s), signedHigh = std::fmax(signedHigh, s);
    }
    // The whole interval is reached, not a scaled-down corner of it.
    EXPECT_TRUE(low < 0.001f && high > 0.999f && signedLow < -0.999f && signedHigh > 0.999f)
        << low << " " << high << " " << signedLow << " " << signedHigh;
}
