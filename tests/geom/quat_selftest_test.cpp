// The built-in quaternion self-test routines pass on many random inputs.
#include <gtest/gtest.h>

#include "geom/quat_selftest.h"
#include "platform/random.h"

TEST(QuatSelfTest, AllIdentitiesHold) {
    platform::SeedRandom(2024);
    const int trials = 3000;
    EXPECT_EQ(QuatTest1(trials), 0);
    EXPECT_EQ(QuatTest2(trials), 0);
    EXPECT_EQ(QuatTest3(trials), 0);
    EXPECT_EQ(QuatTest4(trials), 0);
    EXPECT_EQ(QuatTest5(trials), 0);
    EXPECT_EQ(QuatTest6(trials), 0);
    EXPECT_EQ(QuatTest7(trials), 0);
    EXPECT_EQ(QuatTest8(trials), 0);
    EXPECT_EQ(QuatTest9(trials), 0);
}
