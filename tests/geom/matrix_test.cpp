// Matrix: column-major storage, bounded row/column access, products, and the
// special constructions (rigid inverse, projection and its inverse, fixed
// angle rotation, basis normalisation).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geom/geom_expect.h"

namespace {

const float kPi = 3.14159265f;

Matrix Translation(float x, float y, float z) {
    Matrix m;
    m.TranslateMat(x, y, z);
    return m;
}

Matrix Rotation(float a, float b, float c) {
    Matrix m;
    m.FixedAngleRotation(a, b, c);
    return m;
}

Matrix Numbered() {
    float data[16];
    for (int i = 0; i < 16; ++i) data[i] = static_cast<float>(i + 1);
    return Matrix(data);
}

}  // namespace

TEST(Matrix, StorageIsColumnMajor) {
    EXPECT_EQ(sizeof(Matrix), static_cast<size_t>(Matrix_DATA_SIZE));
    const Matrix m = Numbered();
    // The second float is row 1 of column 0.
    EXPECT_EQ(m.m[0][1], 2.0f);
    EXPECT_EQ(m.m[1][0], 5.0f);
    EXPECT_EQ(m.DataPtr()[7], m.m[1][3]);

    // A translation lands in the last four floats handed to OpenGL.
    const Matrix t = Translation(1, 2, 3);
    EXPECT_EQ(t.DataPtr()[12], 1.0f);
    EXPECT_EQ(t.DataPtr()[13], 2.0f);
    EXPECT_EQ(t.DataPtr()[14], 3.0f);

    const float* none = nullptr;
    EXPECT_TRUE(MatrixNear(Matrix(none), Matrix()));
}

TEST(Matrix, IdentityZeroAndTrace) {
    Matrix m;
    EXPECT_FLOAT_EQ(m.Trace(), 4.0f);
    m.Zero();
    EXPECT_FLOAT_EQ(m.Trace(), 0.0f);
    m.Identity();
    EXPECT_FLOAT_EQ(m.Trace(3), 3.0f);
    EXPECT_FLOAT_EQ(Numbered().Trace(2), 1.0f + 6.0f);
}

TEST(Matrix, TraceCountIsBounded) {
    const Matrix m = Numbered();
    EXPECT_FLOAT_EQ(m.Trace(9), m.Trace(4));
    EXPECT_FLOAT_EQ(m.Trace(0), 0.0f);
    EXPECT_FLOAT_EQ(m.Trace(-5), 0.0f);
}

TEST(Matrix, RowsAndColumns) {
    EXPECT_TRUE(VectorNear(Translation(1, 2, 3).VecFromCol(3), Vector(1, 2, 3, 0)));
    EXPECT_TRUE(VectorNear(Matrix().VecFromRow(3), Vector(0, 0, 0, 1)));

    Matrix m;
    m.RowFromVec(1, Vector(5, 6, 7, 8));
    EXPECT_TRUE(VectorNear(m.VecFromRow(1), Vector(5, 6, 7, 8)));
    EXPECT_EQ(m.m[2][1], 7.0f);
    m.ColFromVec(2, Vector(1, 2, 3, 4));
    EXPECT_EQ(m.m[2][3], 4.0f);
    // VecFromCol drops the bottom row.
    EXPECT_TRUE(VectorNear(m.VecFromCol(2), Vector(1, 2, 3, 0)));
}

TEST(Matrix, OutOfRangeRowsAndColumnsTouchNothing) {
    Matrix m = Numbered();
    const Matrix before = m;
    for (int bad : {-1, 4, 1000}) {
        m.RowFromVec(bad, Vector(9, 9, 9, 9));
        m.ColFromVec(bad, Vector(9, 9, 9, 9));
        EXPECT_TRUE(VectorNear(m.VecFromRow(bad), Vector()));
        EXPECT_TRUE(VectorNear(m.VecFromCol(bad), Vector()));
    }
    EXPECT_EQ(std::memcmp(m.m, before.m, sizeof(m.m)), 0);
}

TEST(Matrix, TransformAndProducts) {
    const Matrix t = Translation(1, 2, 3);
    EXPECT_TRUE(VectorNear(t * Vector(0, 0, 0, 1), Vector(1, 2, 3, 1)));
    EXPECT_TRUE(VectorNear(t * Vector(0, 0, 0, 0), Vector(0, 0, 0, 0)));

    // this * b applies b first: rotate a quarter turn about z, then move.
    const Matrix r = Rotation(kPi / 2, 0, 0);
    EXPECT_TRUE(VectorNear((t * r) * Vector(1, 0, 0, 1), Vector(1, 3, 3, 1)));
    EXPECT_TRUE(VectorNear((r * t) * Vector(1, 0, 0, 1), Vector(-2, 2, 3, 1)));

    // The product agrees with applying the factors one after the other.
    const Matrix a = Numbered();
    const Matrix b = Rotation(0.3f, -1.1f, 2.0f);
    const Vector p(0.5f, -1, 2, 1);
    EXPECT_TRUE(VectorNear((a * b) * p, a * (b * p), 1e-4f));
}

TEST(Matrix, TransposeAndScaling) {
    Matrix m = Numbered();
    m.Transpose();
    EXPECT_EQ(m.m[0][1], 5.0f);
    EXPECT_EQ(m.m[3][2], 12.0f);
    m.Transpose();
    EXPECT_TRUE(MatrixNear(m, Numbered()));

    const Matrix twice = Numbered() * 2.0f;
    EXPECT_EQ(twice.m[3][3], 32.0f);

    // ScaleLinear keeps the translation column and the bottom row.
    const Matrix s = Numbered().ScaleLinear(10.0f);
    EXPECT_EQ(s.m[0][0], 10.0f);
    EXPECT_EQ(s.m[2][2], 110.0f);
    EXPECT_EQ(s.m[0][3], 4.0f);
    EXPECT_EQ(s.m[3][0], 13.0f);
    EXPECT_EQ(s.m[3][3], 16.0f);
}

TEST(Matrix, SpecialOrthoInvInvertsRigidTransforms) {
    Matrix t = Translation(1, 2, 3);
    t.SpecialOrthoInv();
    EXPECT_TRUE(MatrixNear(t, Translation(-1, -2, -3)));

    const Matrix rigid = Translation(4, -5, 6) * Rotation(0.7f, -0.4f, 2.5f);
    Matrix inverse = rigid;
    inverse.SpecialOrthoInv();
    EXPECT_TRUE(MatrixNear(inverse * rigid, Matrix(), 1e-5f));
    EXPECT_TRUE(MatrixNear(rigid * inverse, Matrix(), 1e-5f));
}

TEST(Matrix, PerspectiveAndItsInverse) {
    Matrix p;
    p.PerspectiveMat(kPi / 2, 1, 1, 3);
    EXPECT_NEAR(p.m[0][0], 1.0f, 1e-6f);
    EXPECT_NEAR(p.m[1][1], 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(p.m[2][2], -2.0f);
    EXPECT_FLOAT_EQ(p.m[3][2], -3.0f);
    EXPECT_FLOAT_EQ(p.m[2][3], -1.0f);
    EXPECT_EQ(p.m[3][3], 0.0f);

    Matrix inv;
    inv.InvPerspectiveMat(kPi / 2, 1, 1, 3);
    EXPECT_TRUE(MatrixNear(p * inv, Matrix(), 1e-6f));

    // A typical game camera, in both orders.
    p.PerspectiveMat(1.0f, 1.6f, 0.1f, 500.0f);
    inv.InvPerspectiveMat(1.0f, 1.6f, 0.1f, 500.0f);
    EXPECT_TRUE(MatrixNear(p * inv, Matrix(), 1e-4f));
    EXPECT_TRUE(MatrixNear(inv * p, Matrix(), 1e-4f));

    // The near plane maps to clip depth -1, the far plane to +1.
    const Vector nearPoint = p * Vector(0, 0, -0.1f, 1);
    const Vector farPoint = p * Vector(0, 0, -500.0f, 1);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-4f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
}

TEST(Matrix, FixedAngleRotationOrderAndOrthonormality) {
    EXPECT_TRUE(MatrixNear(Rotation(0, 0, 0), Matrix()));

    // a about z, b about y, c about x.
    EXPECT_TRUE(VectorNear(Rotation(kPi / 2, 0, 0) * Vector(1, 0, 0), Vector(0, 1, 0)));
    EXPECT_TRUE(VectorNear(Rotation(0, kPi / 2, 0) * Vector(0, 0, 1), Vector(1, 0, 0)));
    EXPECT_TRUE(VectorNear(Rotation(0, 0, kPi / 2) * Vector(0, 1, 0), Vector(0, 0, 1)));
    const float a = 0.4f, b = -1.3f, c = 2.2f;
    EXPECT_TRUE(MatrixNear(Rotation(a, b, c),
                           Rotation(0, 0, c) * Rotation(0, b, 0) * Rotation(a, 0, 0)));

    const float angles[][3] = {{0.1f, 0.2f, 0.3f}, {3.0f, -2.0f, 1.0f}, {-6.0f, 5.5f, 0.01f}};
    for (const auto& abc : angles) {
        const Matrix r = Rotation(abc[0], abc[1], abc[2]);
        Matrix rt = r;
        rt.Transpose();
        EXPECT_TRUE(MatrixNear(rt * r, Matrix(), 1e-5f));
        EXPECT_NEAR(Det3(r), 1.0f, 1e-5f);
    }
}

TEST(Matrix, NormLinearBasis) {
    Matrix m = Numbered();
    m.NormLinearBasis();
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(Vector(m.m[c][0], m.m[c][1], m.m[c][2]).Mag(), 1.0f, 1e-6f);
        EXPECT_EQ(m.m[c][3], 0.0f);
    }
    EXPECT_NEAR(m.m[0][1] / m.m[0][0], 2.0f, 1e-5f) << "direction kept";
    EXPECT_TRUE(VectorNear(m.VecFromRow(3), Vector(0, 0, 0, 16)));
    EXPECT_EQ(m.m[3][0], 13.0f);

    // A zero column stays zero rather than turning into not-a-number.
    Matrix flat;
    flat.m[1][1] = 0.0f;
    flat.NormLinearBasis();
    EXPECT_TRUE(VectorNear(flat.VecFromCol(1), Vector()));
}
