// The built-in quaternion self-test routines pass on many random inputs.
#include <gtest/gtest.h>

#include "geom/quat_selftest.h"
#include "platform/random.h"

TEST(QuatSelfTest, AllIdentitiesHold) {
    platform::SeedRandom(2024);
    int (*const tests[])(int) = {QuatTest1, QuatTest2, QuatTest3, QuatTest4, QuatTest5,
                                 QuatTest6, QuatTest7, QuatTest8, QuatTest9};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(tests[i](3000), 0) << "QuatTest" << i + 1;
}
