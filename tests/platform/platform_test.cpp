// The platform clock and random numbers.
#include <gtest/gtest.h>

#include <chrono>
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

// A reading after a set is the value set plus no more than the real time since.
TEST(Clock, SetMovesTheReadingAndTimeKeepsRunning) {
    for (double value : {100.0, 0.0, 5e6}) {
        const auto before = std::chrono::steady_clock::now();
        platform::SetClockTime(value);
        const double read = platform::GetClockTime();
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        EXPECT_TRUE(read >= value && read <= value + elapsed) << value << " read as " << read;
        EXPECT_GE(platform::GetClockTime(), read);
    }
}
