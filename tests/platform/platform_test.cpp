// The platform clock and random numbers.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/clock.h"
#include "platform/random.h"

TEST(Random, StaysWithinFifteenBitsAndIsReproducible) {
    platform::SeedRandom(1234);
    std::vector<int> first;
    for (int i = 0; i < 10000; ++i) {
        first.push_back(platform::Rand());
        ASSERT_TRUE(first.back() >= 0 && first.back() <= platform::kRandMax) << first.back();
    }
    EXPECT_GT(std::set<int>(first.begin(), first.end()).size(), 5000u);
    platform::SeedRandom(1234);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(first[i], platform::Rand());
}

TEST(Clock, SetMovesTheReadingAndTimeKeepsRunning) {
    platform::SetClockTime(100.0);
    const double a = platform::GetClockTime();
    EXPECT_TRUE(a >= 100.0 && a < 101.0) << a;
    platform::SetClockTime(0.0);
    const double b = platform::GetClockTime();
    EXPECT_LT(b, 1.0);
    EXPECT_GE(platform::GetClockTime(), b);
}
