#include <gtest/gtest.h>

#include <set>

#include "platform/clock.h"
#include "platform/random.h"

TEST(Random, StaysWithinFifteenBitsAndIsReproducible) {
    platform::SeedRandom(1234);
    std::vector<int> first;
    std::set<int> distinct;
    for (int i = 0; i < 10000; ++i) {
        int r = platform::Rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, platform::kRandMax);
        first.push_back(r);
        distinct.insert(r);
    }
    EXPECT_GT(distinct.size(), 5000u);
    platform::SeedRandom(1234);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(first[i], platform::Rand());
}

TEST(Clock, SetMovesTheReadingAndTimeKeepsRunning) {
    platform::SetClockTime(100.0);
    double a = platform::GetClockTime();
    EXPECT_GE(a, 100.0);
    EXPECT_LT(a, 101.0);
    platform::SetClockTime(0.0);
    double b = platform::GetClockTime();
    EXPECT_LT(b, 1.0);
    EXPECT_GE(platform::GetClockTime(), b);
}
