// Matrix: column-major storage, bounded row/column access, products, and the
// special constructions (rigid inverse, projection and its inverse, fixed
// angle rotation, basis normalisation).
#include <gtest/gtest.h>

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

TEST(Matrix, StorageIsColumnMajorAndAccessIsBounded) {
    const Matrix n = Numbered();
    EXPECT_EQ(n.m[0][1], 2.0f);  // the second float is row 1 of column 0
    EXPECT_EQ(n.m[1][0], 5.0f);
    EXPECT_EQ(Translation(1, 2, 3).DataPtr()[14], 3.0f);  // translation in the last four floats

    EXPECT_FLOAT_EQ(n.Trace(2), 1.0f + 6.0f);
    EXPECT_FLOAT_EQ(n.Trace(9), n.Trace(4));
    EXPECT_FLOAT_EQ(n.Trace(-5), 0.0f);

    Matrix m = n;
    for (int bad : {-1, 4, 1000}) {
        m.RowFromVec(bad, Vector(9, 9, 9, 9));
        m.ColFromVec(bad, Vector(9, 9, 9, 9));
        EXPECT_TRUE(VectorNear(m.VecFromRow(bad), Vector()) && VectorNear(m.VecFromCol(bad), Vector()));
    }
    EXPECT_EQ(std::memcmp(m.m, n.m, sizeof(m.m)), 0);
}

TEST(Matrix, ProductsApplyTheRightFactorFirst) {
    const Matrix t = Translation(1, 2, 3);
    const Matrix r = Rotation(kPi / 2, 0, 0);
    EXPECT_TRUE(VectorNear((t * r) * Vector(1, 0, 0, 1), Vector(1, 3, 3, 1)));
    EXPECT_TRUE(VectorNear((r * t) * Vector(1, 0, 0, 1), Vector(-2, 2, 3, 1)));
    const Matrix a = Numbered(), b = Rotation(0.3f, -1.1f, 2.0f);
    const Vector p(0.5f, -1, 2, 1);
    EXPECT_TRUE(VectorNear((a * b) * p, a * (b * p), 1e-4f));

    const Matrix s = Numbered().ScaleLinear(10.0f);  // keeps the translation column and the bottom row
    EXPECT_TRUE(s.m[2][2] == 110.0f && s.m[0][3] == 4.0f && s.m[3][0] == 13.0f);
}

TEST(Matrix, SpecialOrthoInvInvertsRigidTransforms) {
    Matrix t = Translation(1, 2, 3);
    t.SpecialOrthoInv();
    EXPECT_TRUE(MatrixNear(t, Translation(-1, -2, -3)));
    const Matrix rigid = Translation(4, -5, 6) * Rotation(0.7f, -0.4f, 2.5f);
    Matrix inverse = rigid;
    inverse.SpecialOrthoInv();
    EXPECT_TRUE(MatrixNear(inverse * rigid, Matrix()));
}

TEST(Matrix, PerspectiveAndItsInverse) {
    Matrix p, inv;
    p.PerspectiveMat(kPi / 2, 1, 1, 3);
    Matrix expected;
    expected.Zero();
    expected.m[0][0] = expected.m[1][1] = 1, expected.m[2][2] = -2, expected.m[3][2] = -3, expected.m[2][3] = -1;
    EXPECT_TRUE(MatrixNear(p, expected, 1e-6f));
    inv.InvPerspectiveMat(kPi / 2, 1, 1, 3);
    EXPECT_TRUE(MatrixNear(p * inv, Matrix(), 1e-6f));

    p.PerspectiveMat(1.0f, 1.6f, 0.1f, 500.0f);
    inv.InvPerspectiveMat(1.0f, 1.6f, 0.1f, 500.0f);
    EXPECT_TRUE(MatrixNear(p * inv, Matrix(), 1e-4f));
}

TEST(Matrix, FixedAngleRotationOrderAndOrthonormality) {
    // a about z, b about y, c about x.
    EXPECT_TRUE(VectorNear(Rotation(kPi / 2, 0, 0) * Vector(1, 0, 0), Vector(0, 1, 0)));
    EXPECT_TRUE(VectorNear(Rotation(0, kPi / 2, 0) * Vector(0, 0, 1), Vector(1, 0, 0)));
    EXPECT_TRUE(VectorNear(Rotation(0, 0, kPi / 2) * Vector(0, 1, 0), Vector(0, 0, 1)));
    EXPECT_TRUE(MatrixNear(Rotation(0.4f, -1.3f, 2.2f), Rotation(0, 0, 2.2f) * Rotation(0, -1.3f, 0) * Rotation(0.4f, 0, 0)));
    const float angles[][3] = {{0.1f, 0.2f, 0.3f}, {3.0f, -2.0f, 1.0f}, {-6.0f, 5.5f, 0.01f}};
    for (const auto& abc : angles) {
        const Matrix r = Rotation(abc[0], abc[1], abc[2]);
        Matrix rt = r;
        rt.Transpose();
        // Orthonormal, and right-handed: no mirror image.
        EXPECT_TRUE(MatrixNear(rt * r, Matrix()) && VectorNear(Cross(r.VecFromCol(0), r.VecFromCol(1)), r.VecFromCol(2)));
    }
}

TEST(Matrix, NormLinearBasis) {
    Matrix m = Numbered();
    m.m[1][0] = m.m[1][1] = m.m[1][2] = 0.0f;  // a zero column stays zero, not not-a-number
    m.NormLinearBasis();
    EXPECT_TRUE(VectorNear(m.VecFromCol(0), Vector(1, 2, 3).Norm()) && VectorNear(m.VecFromCol(1), Vector()));
}
