// The platform clock and random numbers.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
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

// A stopped clock reads exactly what was set, however much real time passes,
// and runs on from there once started; stopping or starting twice is harmless.
TEST(Clock, AStoppedClockStandsAtTheValueSetAndRunsOnFromItWhenStarted) {
    platform::SetClockTime(50.0);
    platform::StopClock();
    platform::StopClock();
    const double stoppedAt = platform::GetClockTime();
    EXPECT_GE(stoppedAt, 50.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(stoppedAt, platform::GetClockTime());
    platform::SetClockTime(1000.25);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(1000.25, platform::GetClockTime());

    const auto before = std::chrono::steady_clock::now();
    platform::StartClock();
    platform::StartClock();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double read = platform::GetClockTime();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    EXPECT_TRUE(read >= 1000.25 + 0.02 && read <= 1000.25 + elapsed) << read;
}
