// Vector: which operations include w, the bounded index access, the pointer
// constructors and the printed form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <sstream>

#include "geom/geom_expect.h"

TEST(Vector, WComponentRules) {
    EXPECT_EQ(Vector(1, 2, 3).w, 0.0f);
    const Vector a(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(a.Mag(), std::sqrt(30.0f));
    EXPECT_FLOAT_EQ(a * a, 14.0f);

    const Vector b(5, 6, 7, 8);
    EXPECT_TRUE(VectorNear(a + b, Vector(6, 8, 10, 12)));
    EXPECT_TRUE(VectorNear(b - a, Vector(4, 4, 4, 4)));
    EXPECT_TRUE(VectorNear(a * 2.0f, Vector(2, 4, 6, 8)));

    // Cross drops w even when both inputs carry w = 1.
    const Vector c = Cross(Vector(1, 0, 0, 1), Vector(0, 1, 0, 1));
    EXPECT_TRUE(VectorNear(c, Vector(0, 0, 1, 0)));
    EXPECT_TRUE(VectorNear(Cross(Vector(0, 1, 0), Vector(1, 0, 0)), Vector(0, 0, -1, 0)));
    EXPECT_TRUE(VectorNear(Cross(Vector(2, 3, 4), Vector(5, 6, 7)), Vector(-3, 6, -3, 0)));
}

TEST(Vector, NormalizeUsesAllFourComponents) {
    Vector v(3, 0, 4, 0);
    v.Normalize();
    EXPECT_TRUE(VectorNear(v, Vector(0.6f, 0, 0.8f, 0)));

    const Vector withW(1, 1, 1, 1);
    EXPECT_TRUE(VectorNear(withW.Norm(), Vector(0.5f, 0.5f, 0.5f, 0.5f)));
    EXPECT_TRUE(VectorNear(withW, Vector(1, 1, 1, 1))) << "Norm must not change its source";
}

TEST(Vector, NormalizingZeroStaysFinite) {
    Vector zero;
    zero.Normalize();
    EXPECT_TRUE(VectorNear(zero, Vector(0, 0, 0, 0)));
    const Vector copy = Vector().Norm();
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::isnan(copy[i]));
}

TEST(Vector, PointerConstructorsReadOnlyWhatTheyMay) {
    const float p[4] = {1, 2, 3, 4};
    EXPECT_TRUE(VectorNear(Vector(p), Vector(1, 2, 3, 0)));
    EXPECT_TRUE(VectorNear(Vector(p, 2), Vector(1, 2, 0, 0)));
    EXPECT_TRUE(VectorNear(Vector(p, 4), Vector(1, 2, 3, 4)));
    EXPECT_TRUE(VectorNear(Vector(p, 0), Vector()));
    EXPECT_TRUE(VectorNear(Vector(p, -3), Vector()));

    // A count above four must not read past the four floats it may use
    // (a heap block of exactly four lets the address sanitizer see it).
    std::unique_ptr<float[]> four(new float[4]{5, 6, 7, 8});
    EXPECT_TRUE(VectorNear(Vector(four.get(), 9), Vector(5, 6, 7, 8)));

    const float* none = nullptr;
    EXPECT_TRUE(VectorNear(Vector(none), Vector()));
    EXPECT_TRUE(VectorNear(Vector(none, 4), Vector()));
}

TEST(Vector, IndexAccessIsBounded) {
    Vector v(1, 2, 3, 4);
    const Vector& cv = v;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(cv[i], static_cast<float>(i + 1));
    v[2] = 9;
    EXPECT_EQ(v.z, 9.0f);

    EXPECT_EQ(cv[4], 0.0f);
    EXPECT_EQ(cv[-1], 0.0f);
    EXPECT_EQ(v[100], 0.0f);

    // Writes through a bad index go nowhere: the vector is unchanged and the
    // slot does not remember the value.
    v[4] = 42;
    v[-7] = 42;
    EXPECT_TRUE(VectorNear(v, Vector(1, 2, 9, 4)));
    EXPECT_EQ(v[4], 0.0f);
}

TEST(Vector, SetAndFloatArray) {
    Vector v;
    v.Set(1, 2, 3, 4);
    float out[4] = {0, 0, 0, 0};
    v.ToFloatArray(out);
    EXPECT_EQ(out[0], 1.0f);
    EXPECT_EQ(out[1], 2.0f);
    EXPECT_EQ(out[2], 3.0f);
    EXPECT_EQ(out[3], 4.0f);
}

TEST(Vector, LayoutIsFourPackedFloatsInOrder) {
    // Vertex data and the script bindings rely on x, y, z, w in this order.
    EXPECT_EQ(sizeof(Vector), 4 * sizeof(float));
    EXPECT_EQ(offsetof(Vector, x), 0u);
    EXPECT_EQ(offsetof(Vector, w), 3 * sizeof(float));
}

TEST(Vector, PrintedFormLeavesStreamFlagsSet) {
    std::ostringstream out;
    out << Vector(1, -2.5f, 0.00004f, 3);
    EXPECT_EQ(out.str(), "+1.0000 -2.5000 +0.0000 +3.0000 \n");
    out.str("");
    out << 2.0f;
    EXPECT_EQ(out.str(), "+2.0000");
}
