// Vector: which operations include w, the bounded index access, the pointer
// constructors and the printed form.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "geom/geom_expect.h"

TEST(Vector, WComponentRulesAndNormalize) {
    const Vector a(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(a.Mag(), std::sqrt(30.0f));
    EXPECT_FLOAT_EQ(a * a, 14.0f);
    EXPECT_TRUE(VectorNear(Vector(5, 6, 7, 8) - a, Vector(4, 4, 4, 4)));
    // Cross drops w even when both inputs carry w = 1.
    EXPECT_TRUE(VectorNear(Cross(Vector(1, 0, 0, 1), Vector(0, 1, 0, 1)), Vector(0, 0, 1, 0)));
    EXPECT_TRUE(VectorNear(Cross(Vector(2, 3, 4), Vector(5, 6, 7)), Vector(-3, 6, -3, 0)));

    EXPECT_TRUE(VectorNear(Vector(1, 1, 1, 1).Norm(), Vector(0.5f, 0.5f, 0.5f, 0.5f)));
    Vector zero;
    zero.Normalize();
    EXPECT_TRUE(VectorNear(zero, Vector(0, 0, 0, 0))) << "zero stays finite";
}

TEST(Vector, PointerConstructorsAndIndexAreBounded) {
    const float p[4] = {1, 2, 3, 4};
    EXPECT_TRUE(VectorNear(Vector(p, 2), Vector(1, 2, 0, 0)) && VectorNear(Vector(p, -3), Vector()));
    // A count above four must not read past the four floats (a heap block of
    // exactly four lets the address sanitizer see it).
    std::unique_ptr<float[]> four(new float[4]{5, 6, 7, 8});
    EXPECT_TRUE(VectorNear(Vector(four.get(), 9), Vector(5, 6, 7, 8)));
    const float* none = nullptr;
    EXPECT_TRUE(VectorNear(Vector(none, 4), Vector()));

    Vector v(1, 2, 3, 4);
    v[2] = 9;
    EXPECT_TRUE(v.z == 9.0f && (v[-1]) == 0.0f);
    // Writes through a bad index go nowhere and the slot does not remember them.
    v[4] = 42;
    v[-7] = 42;
    EXPECT_TRUE(VectorNear(v, Vector(1, 2, 9, 4)) && v[4] == 0.0f);
}

TEST(Vector, PrintedFormLeavesStreamFlagsSet) {
    std::ostringstream out;
    out << Vector(1, -2.5f, 0.00004f, 3);
    EXPECT_EQ(out.str(), "+1.0000 -2.5000 +0.0000 +3.0000 \n");
    out.str("");
    out << 2.0f;
    EXPECT_EQ(out.str(), "+2.0000");
}
