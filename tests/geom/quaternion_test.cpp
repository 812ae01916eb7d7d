// Quaternion and QuatVec: defaults, the w rules of each product, Exp/Log/Pow,
// Slerp (including the long way round and opposite inputs), and the matrix
// conversions across all four branches of the matrix-to-quaternion path.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "geom/geom_expect.h"

namespace {

const float kPi = 3.14159265f;

const Vector kX(1, 0, 0), kY(0, 1, 0), kZ(0, 0, 1);

std::vector<Quaternion> SampleRotations() {
    return {
        AxisRotation(Vector(1, 2, 3), 0.7f),    AxisRotation(Vector(-1, 0.5f, 2), 2.9f),
        AxisRotation(Vector(0.2f, -3, 1), -1.4f), AxisRotation(kX, 3.0f),
        AxisRotation(kY, -2.8f),                AxisRotation(kZ, 3.1f),
        AxisRotation(Vector(1, 1, 1), 4.0f),    AxisRotation(Vector(3, -1, 0.5f), 6.0f),
    };
}

}  // namespace

TEST(Quaternion, DefaultsDiffer) {
    EXPECT_TRUE(QuatNear(Quaternion(), Quaternion(0, Vector(0, 0, 0, 0)), 0));
    EXPECT_TRUE(QuatNear(QuatVec().rot, Quaternion(1), 0));
    EXPECT_TRUE(VectorNear(QuatVec().trans, Vector(), 0));
    QuatVec qv(AxisRotation(kZ, 1), Vector(1, 2, 3, 4));
    qv.Identity();
    EXPECT_TRUE(QuatNear(qv.rot, Quaternion(1), 0));
    EXPECT_TRUE(VectorNear(qv.trans, Vector(), 0));
    EXPECT_TRUE(VectorNear(QuatVec(Quaternion(2)).trans, Vector(), 0));
}

TEST(Quaternion, MagnitudeIgnoresWButNormScalesIt) {
    const Quaternion q(1, Vector(0, 0, 0, 5));
    EXPECT_FLOAT_EQ(q.Mag(), 1.0f);
    EXPECT_FLOAT_EQ(q.Norm().v.w, 5.0f);
    EXPECT_FLOAT_EQ(Quaternion(2, Vector(1, 2, 3, 9)).Dot(Quaternion(1, Vector(1, 1, 1, 9))), 8.0f);
    EXPECT_FLOAT_EQ(Quaternion(0, Vector(0, 3, 4)).Norm().v.z, 0.8f);
    EXPECT_TRUE(QuatNear(q.Comp(), Quaternion(1, Vector(0, 0, 0, -5)), 0));
}

TEST(Quaternion, ZeroHasNoInverseButStaysFinite) {
    EXPECT_TRUE(QuatNear(Quaternion().Norm(), Quaternion(), 0));
    EXPECT_TRUE(QuatNear(Quaternion().Inv(), Quaternion(), 0));
}

TEST(Quaternion, RotateAndProducts) {
    const Quaternion quarterZ(std::cos(kPi / 4), Vector(0, 0, std::sin(kPi / 4), 0));
    EXPECT_TRUE(VectorNear(quarterZ.Rotate(Vector(1, 0, 0, 0)), Vector(0, 1, 0, 0)));

    // For unit rotations the Hamilton product sandwich equals Rotate, and a
    // product of rotations applies the right-hand one first.
    const Vector p(0.3f, -2, 5);
    for (const Quaternion& q : SampleRotations()) {
        const Quaternion sandwich = (q * p) * q.Inv();
        EXPECT_TRUE(VectorNear(sandwich.v, q.Rotate(p), 1e-4f));
        EXPECT_NEAR(sandwich.s, 0.0f, 1e-5f);
        EXPECT_TRUE(VectorNear((quarterZ * q).Rotate(p), quarterZ.Rotate(q.Rotate(p)), 1e-4f));
        EXPECT_TRUE(QuatNear(q * q.Inv(), Quaternion(1), 1e-6f));
    }
}

TEST(Quaternion, ProductWRules) {
    const Quaternion a(2, Vector(1, 0, 0, 3));
    const Quaternion b(5, Vector(0, 1, 0, 7));
    const Quaternion ab = a * b;
    EXPECT_FLOAT_EQ(ab.s, 10.0f);                     // the dot skips w
    EXPECT_FLOAT_EQ(ab.v.w, 2.0f * 7.0f + 5.0f * 3.0f);
    EXPECT_FLOAT_EQ(ab.v.z, 1.0f);                     // cross of x and y

    const Quaternion withVector = a * Vector(0, 0, 1, 4);
    EXPECT_FLOAT_EQ(withVector.s, 0.0f);
    EXPECT_FLOAT_EQ(withVector.v.w, 2.0f * 4.0f);
    EXPECT_FLOAT_EQ(withVector.v.y, -1.0f);            // x cross z

    // Rotate scales the w of the point like the others.
    const Vector r = Quaternion(1).Rotate(Vector(1, 2, 3, 4));
    EXPECT_TRUE(VectorNear(r, Vector(1, 2, 3, 4)));
}

TEST(Quaternion, ExpLogPow) {
    EXPECT_TRUE(QuatNear(Quaternion(7, Vector()).Exp(), Quaternion(1), 0));
    EXPECT_TRUE(QuatNear(Quaternion(1, Vector()).Log(), Quaternion(), 0));
    EXPECT_TRUE(QuatNear(Quaternion(-1, Vector()).Log(), Quaternion(), 0));
    // Outside [-1, 1] there is no angle: zero, not not-a-number.
    EXPECT_TRUE(QuatNear(Quaternion(1.5f, Vector(1, 0, 0)).Log(), Quaternion(), 0));

    for (const Quaternion& q : SampleRotations()) {
        if (q.s < 0) continue;  // Log returns angles in [0, pi]
        EXPECT_TRUE(QuatNear(q.Log().Exp(), q, 1e-5f));
        EXPECT_TRUE(QuatNear(q.Pow(1), q, 1e-5f));
        const Quaternion half = q.Pow(0.5f);
        EXPECT_TRUE(QuatNear(half * half, q, 1e-5f));
    }
    // Exp of a pure (0, axis * t) is the turn by 2t.
    EXPECT_TRUE(QuatNear(Quaternion(0, kZ * 0.5f).Exp(), AxisRotation(kZ, 1.0f), 1e-6f));
}

TEST(Quaternion, PrintedForm) {
    std::ostringstream out;
    out << Quaternion(1, Vector(0, 0.5f, 0));
    EXPECT_EQ(out.str(), "1, +0.0000 +0.5000 +0.0000 +0.0000 \n");
}

TEST(Slerp, EndsAndMidpoint) {
    const Quaternion a = AxisRotation(Vector(1, 1, 0), 0.8f);
    const Quaternion b = AxisRotation(Vector(0, 1, 2), -1.3f);
    EXPECT_TRUE(QuatNear(Slerp(a, b, -0.5), a, 0));
    EXPECT_TRUE(QuatNear(Slerp(a, b, 0), a, 0));
    EXPECT_TRUE(QuatNear(Slerp(a, b, 1), b, 0));
    EXPECT_TRUE(QuatNear(Slerp(a, b, 3), b, 0));
    EXPECT_TRUE(QuatNear(Slerp(a, a, 0.5), a, 0));

    const Quaternion mid = Slerp(Quaternion(1), AxisRotation(kZ, kPi / 2), 0.5);
    EXPECT_TRUE(QuatNear(mid, AxisRotation(kZ, kPi / 4), 1e-6f));

    for (double t : {0.1, 0.33, 0.9}) EXPECT_NEAR(Slerp(a, b, t).Mag(), 1.0f, 1e-5f);
    // Interpolation follows the arc at constant speed.
    const Quaternion third = Slerp(Quaternion(1), AxisRotation(kX, 1.5f), 1.0 / 3.0);
    EXPECT_TRUE(QuatNear(third, AxisRotation(kX, 0.5f), 1e-6f));
}

TEST(Slerp, TakesTheLongWayWhenTheDotIsNegative) {
    // -quarterZ is the same rotation as quarterZ, but no shorter-arc flip is
    // made: half way is a turn of -135 degrees, not +45.
    const Quaternion negQuarter = AxisRotation(kZ, kPi / 2) * -1.0f;
    const Vector turned = Slerp(Quaternion(1), negQuarter, 0.5).Rotate(kX);
    const float c = std::cos(-3 * kPi / 4), s = std::sin(-3 * kPi / 4);
    EXPECT_TRUE(VectorNear(turned, Vector(c, s, 0), 1e-5f));
}

TEST(Slerp, OppositeInputsGiveUnitResults) {
    for (const Quaternion& q : SampleRotations()) {
        for (double t : {0.25, 0.5, 0.75}) {
            const Quaternion r = Slerp(q, q * -1.0f, t);
            EXPECT_FALSE(std::isnan(r.s));
            EXPECT_NEAR(r.Mag(), 1.0f, 1e-5f) << "t = " << t;
        }
    }
}

TEST(QuatVec, CompositionAndInverse) {
    const QuatVec a(AxisRotation(Vector(1, 2, 0), 0.9f), Vector(1, -2, 3));
    const QuatVec b(AxisRotation(Vector(0, -1, 1), 2.1f), Vector(-4, 0, 0.5f));
    const Vector p(2, 0.5f, -1);

    EXPECT_TRUE(VectorNear((a * b) * p, a * (b * p), 1e-5f));
    EXPECT_TRUE(VectorNear(a.Inv() * (a * p), p, 1e-5f));
    EXPECT_TRUE(MatrixNear(QuatVecToMatrix(a * b), QuatVecToMatrix(a) * QuatVecToMatrix(b), 1e-5f));
    EXPECT_TRUE(VectorNear(QuatVecToMatrix(a) * Vector(p.x, p.y, p.z, 1),
                           a * p + Vector(0, 0, 0, 1), 1e-5f));
    EXPECT_TRUE(MatrixNear(QuatVecToMatrix(a.rot, a.trans), QuatVecToMatrix(a)));
}

TEST(QuatVec, InverseMatrix) {
    for (const Quaternion& q : SampleRotations()) {
        const QuatVec qv(q, Vector(3, -1, 7));
        EXPECT_TRUE(MatrixNear(InvQuatVecToMatrix(qv) * QuatVecToMatrix(qv), Matrix(), 1e-5f));
        EXPECT_TRUE(MatrixNear(InvQuatVecToMatrix(qv), QuatVecToMatrix(qv.Inv()), 1e-5f));
        EXPECT_TRUE(MatrixNear(InvQuatVecToMatrix(q, qv.trans), InvQuatVecToMatrix(qv)));
    }
}

TEST(QuaternionToMatrix, AgreesWithRotate) {
    const Vector p(1, -2, 0.5f);
    for (const Quaternion& q : SampleRotations()) {
        EXPECT_TRUE(VectorNear(QuaternionToMatrix(q) * p, q.Rotate(p), 1e-5f));
        EXPECT_NEAR(Det3(QuaternionToMatrix(q)), 1.0f, 1e-5f);
    }
    EXPECT_EQ(QuaternionToMatrix(Quaternion(1, Vector(0, 0, 0, 9))).m[3][3], 1.0f);
}

TEST(MatrixToQuatVec, HalfTurnsOnEachBranch) {
    // Trace -1: half turns about x, y and z select the three non-trace
    // branches; s comes out 0 and the axis is recovered up to sign.
    for (const Vector& axis : {kX, kY, kZ}) {
        const Quaternion q = MatrixToQuatVec(QuaternionToMatrix(AxisRotation(axis, kPi))).rot;
        EXPECT_NEAR(q.s, 0.0f, 1e-6f);
        EXPECT_NEAR(std::fabs(q.v * axis), 1.0f, 1e-6f);
        EXPECT_EQ(q.v.w, 0.0f);
    }
    const Quaternion id = MatrixToQuatVec(Matrix()).rot;
    EXPECT_TRUE(QuatNear(id, Quaternion(1), 0));
}

TEST(MatrixToQuatVec, HalfTurnAboutADiagonalAxisStaysFinite) {
    // Equal diagonal entries (here m00 = m11 = 0, m22 = -1) must still pick
    // a branch whose divisor is not zero.
    for (const Vector& axis : {Vector(1, 1, 0), Vector(1, 0, 1), Vector(0, 1, 1)}) {
        const Matrix m = QuaternionToMatrix(AxisRotation(axis, kPi));
        const Quaternion q = MatrixToQuatVec(m).rot;
        ASSERT_FALSE(std::isnan(q.s));
        EXPECT_TRUE(MatrixNear(QuaternionToMatrix(q), m, 1e-5f)) << axis;
    }
}

TEST(MatrixToQuatVec, RoundTripsAcrossBranches) {
    std::vector<Quaternion> rotations = SampleRotations();
    // Large turns about each axis (trace below zero) reach every branch.
    for (const Vector& axis : {kX, kY, kZ}) rotations.push_back(AxisRotation(axis, 2.6f));
    const Vector trans(5, -6, 7);
    for (const Quaternion& q : rotations) {
        const Matrix m = QuatVecToMatrix(q, trans);
        const QuatVec back = MatrixToQuatVec(m);
        EXPECT_GE(back.rot.s, 0.0f);
        EXPECT_TRUE(MatrixNear(QuatVecToMatrix(back), m, 1e-5f));
        // The same quaternion when s > 0, its negation (same rotation) when s < 0.
        const Quaternion expected = q.s > 0 ? q : q * -1.0f;
        EXPECT_TRUE(QuatNear(back.rot, expected, 1e-5f));
        EXPECT_TRUE(VectorNear(back.trans, trans, 0));
    }
}

TEST(QuaternionToAxisAngle, AxisAndAngle) {
    const AxisAngle quarter = QuaternionToAxisAngle(AxisRotation(kZ, kPi / 2));
    EXPECT_NEAR(quarter.angle, kPi / 2, 1e-6f);
    EXPECT_TRUE(VectorNear(quarter.axis, kZ, 1e-6f));

    const AxisAngle none = QuaternionToAxisAngle(Quaternion(1));
    EXPECT_EQ(none.angle, 0.0f);
    EXPECT_TRUE(VectorNear(none.axis, Vector(), 0));

    // A scalar beyond 1 is first divided by the length.
    const AxisAngle scaled = QuaternionToAxisAngle(Quaternion(2, Vector(0, 0, 0.001f)));
    EXPECT_FALSE(std::isnan(scaled.angle));
    EXPECT_NEAR(scaled.angle, 0.001f, 1e-4f);
}
