// Quaternion and QuatVec: the w rules of each product, Exp/Log/Pow, Slerp
// (including the long way round and opposite inputs), and the matrix
// conversions across all four branches of the matrix-to-quaternion path.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geom/geom_expect.h"

namespace {

const float kPi = 3.14159265f;
const Vector kX(1, 0, 0), kY(0, 1, 0), kZ(0, 0, 1);

std::vector<Quaternion> SampleRotations() {
    return {AxisRotation(Vector(1, 2, 3), 0.7f),     AxisRotation(Vector(-1, 0.5f, 2), 2.9f),
            AxisRotation(Vector(0.2f, -3, 1), -1.4f), AxisRotation(kX, 3.0f), AxisRotation(kY, -2.8f),
            AxisRotation(kZ, 3.1f), AxisRotation(Vector(1, 1, 1), 4.0f), AxisRotation(Vector(3, -1, 0.5f), 6.0f)};
}

}  // namespace

TEST(Quaternion, ProductsAndTheirWRules) {
    const Quaternion a(2, Vector(1, 0, 0, 3)), b(5, Vector(0, 1, 0, 7));
    const Quaternion ab = a * b;
    EXPECT_FLOAT_EQ(ab.s, 10.0f);  // the dot skips w
    EXPECT_FLOAT_EQ(ab.v.w, 2.0f * 7.0f + 5.0f * 3.0f);
    EXPECT_FLOAT_EQ(ab.v.z, 1.0f);
    const Quaternion withVector = a * Vector(0, 0, 1, 4);
    EXPECT_FLOAT_EQ(withVector.v.w, 2.0f * 4.0f);
    EXPECT_FLOAT_EQ(withVector.v.y, -1.0f);
    EXPECT_FLOAT_EQ(Quaternion(1, Vector(0, 0, 0, 5)).Mag(), 1.0f);
    EXPECT_TRUE(QuatNear(Quaternion().Inv(), Quaternion(), 0)) << "zero has no inverse but stays finite";

    // A product of rotations applies the right-hand one first (that the
    // sandwich q p q^-1 equals Rotate, the self-test checks).
    const Quaternion quarterZ = AxisRotation(kZ, kPi / 2);
    const Vector p(0.3f, -2, 5);
    for (const Quaternion& q : SampleRotations()) {
        EXPECT_TRUE(VectorNear((quarterZ * q).Rotate(p), quarterZ.Rotate(q.Rotate(p)), 1e-4f));
        EXPECT_TRUE(VectorNear(QuaternionToMatrix(q) * p, q.Rotate(p), 1e-4f));
    }
}

TEST(Quaternion, ExpLogPow) {
    EXPECT_TRUE(QuatNear(Quaternion(7, Vector()).Exp(), Quaternion(1), 0));
    EXPECT_TRUE(QuatNear(Quaternion(-1, Vector()).Log(), Quaternion(), 0));
    // Outside [-1, 1] there is no angle: zero, not not-a-number.
    EXPECT_TRUE(QuatNear(Quaternion(1.5f, Vector(1, 0, 0)).Log(), Quaternion(), 0));
    for (const Quaternion& q : SampleRotations()) {
        if (q.s < 0) continue;  // Log returns angles in [0, pi]
        EXPECT_TRUE(QuatNear(q.Log().Exp(), q));
        const Quaternion half = q.Pow(0.5f);
        EXPECT_TRUE(QuatNear(half * half, q));
    }
    EXPECT_TRUE(QuatNear(Quaternion(0, kZ * 0.5f).Exp(), AxisRotation(kZ, 1.0f), 1e-6f));
    // QuaternionToAxisAngle divides a scalar beyond 1 by the length first.
    const AxisAngle scaled = QuaternionToAxisAngle(Quaternion(2, Vector(0, 0, 0.001f)));
    EXPECT_NEAR(scaled.angle, 0.001f, 1e-4f);
}

TEST(Slerp, EndsClampAndTheArcIsFollowedAtConstantSpeed) {
    const Quaternion a = AxisRotation(Vector(1, 1, 0), 0.8f), b = AxisRotation(Vector(0, 1, 2), -1.3f);
    EXPECT_TRUE(QuatNear(Slerp(a, b, -0.5), a, 0) && QuatNear(Slerp(a, b, 3), b, 0));
    EXPECT_TRUE(QuatNear(Slerp(a, a, 0.5), a, 0));
    const Quaternion third = Slerp(Quaternion(1), AxisRotation(kX, 1.5f), 1.0 / 3.0);
    EXPECT_TRUE(QuatNear(third, AxisRotation(kX, 0.5f), 1e-6f));

    // No shorter-arc flip: half way to -quarterZ is a turn of -135 degrees.
    const Vector turned = Slerp(Quaternion(1), AxisRotation(kZ, kPi / 2) * -1.0f, 0.5).Rotate(kX);
    EXPECT_TRUE(VectorNear(turned, Vector(std::cos(-3 * kPi / 4), std::sin(-3 * kPi / 4), 0)));

    // Opposite inputs still give unit results.
    for (const Quaternion& q : SampleRotations())
        for (double t : {0.25, 0.5, 0.75}) EXPECT_NEAR(Slerp(q, q * -1.0f, t).Mag(), 1.0f, 1e-5f) << t;
}

TEST(QuatVec, CompositionInverseAndMatrices) {
    const QuatVec a(AxisRotation(Vector(1, 2, 0), 0.9f), Vector(1, -2, 3));
    const QuatVec b(AxisRotation(Vector(0, -1, 1), 2.1f), Vector(-4, 0, 0.5f));
    const Vector p(2, 0.5f, -1);
    EXPECT_TRUE(VectorNear((a * b) * p, a * (b * p)) && VectorNear(a.Inv() * (a * p), p));
    EXPECT_TRUE(MatrixNear(QuatVecToMatrix(a * b), QuatVecToMatrix(a) * QuatVecToMatrix(b)));
    for (const Quaternion& q : SampleRotations()) {
        const QuatVec qv(q, Vector(3, -1, 7));
        EXPECT_TRUE(MatrixNear(InvQuatVecToMatrix(qv) * QuatVecToMatrix(qv), Matrix()));
        EXPECT_TRUE(MatrixNear(InvQuatVecToMatrix(qv), QuatVecToMatrix(qv.Inv())));
    }
}

// Half turns about x, y and z select the three non-trace branches; equal
// diagonal entries must still pick a branch whose divisor is not zero.
TEST(MatrixToQuatVec, HalfTurnsReachEveryBranchAndStayFinite) {
    for (const Vector& axis : {kX, kY, kZ, Vector(1, 1, 0), Vector(1, 0, 1), Vector(0, 1, 1)}) {
        const Matrix m = QuaternionToMatrix(AxisRotation(axis, kPi));
        EXPECT_TRUE(MatrixNear(QuaternionToMatrix(MatrixToQuatVec(m).rot), m)) << axis;
    }
}

TEST(MatrixToQuatVec, RoundTripsAcrossBranches) {
    // The samples turn by more than 120 degrees about x, y and z too: every branch.
    const Vector trans(5, -6, 7);
    for (const Quaternion& q : SampleRotations()) {
        const Matrix m = QuatVecToMatrix(q, trans);
        const QuatVec back = MatrixToQuatVec(m);
        EXPECT_TRUE(MatrixNear(QuatVecToMatrix(back), m));
        // The same quaternion when s > 0, its negation (same rotation) when s < 0.
        EXPECT_TRUE((QuatNear(back.rot, q.s > 0 ? q : q * -1.0f)) && VectorNear(back.trans, trans, 0));
    }
}
