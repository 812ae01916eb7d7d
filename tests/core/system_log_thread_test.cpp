// Logging from several threads at once: every line arrives whole, in the log
// text and in the error-log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "system.h"

namespace {

TEST(SystemLogThreads, ConcurrentLinesNeverInterleave) {
    test_support::TempProfile profile;
    std::filesystem::create_directories(profile.Path() + "/The Quellbrand");
    System system;
    system.SetLocalTimeSource([] { return std::tm{}; });
    const int kThreads = 4, kLines = 300;
    testing::internal::CaptureStdout();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&system, t] {
            for (int i = 0; i < kLines; ++i) {
                const std::string text = "thread " + std::to_string(t) + " line " + std::to_string(i);
                if (i % 3 == 0) system.Warning(text);
                else if (i % 50 == 1) system.Error(text);
                else system.Log(text);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    testing::internal::GetCapturedStdout();

    std::istringstream lines(system.GetLogText());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        ASSERT_TRUE(std::regex_match(line, std::regex("(WARNING: |ERROR: )?thread [0-3] line [0-9]+"))) << line;
    EXPECT_EQ(kThreads * kLines, count);
    // Each of the 16 distinct errors appended the whole log text of its
    // moment and one more line end: 16 growing prefixes of the final text.
    const std::string log = system.GetLogText();
    const std::string file =
        test_support::ReadFile(profile.Path() + "/The Quellbrand/error_log_1_0_1900_0_0_0.txt");
    size_t start = 0, previous = 0;
    int snapshots = 0;
    for (size_t end = file.find("\n\n", start); end != std::string::npos; end = file.find("\n\n", start)) {
        const std::string snapshot = file.substr(start, end + 1 - start);
        ASSERT_EQ(0u, log.compare(0, snapshot.size(), snapshot)) << "snapshot " << snapshots;
        ASSERT_GT(snapshot.size(), previous);
        previous = snapshot.size();
        start = end + 2;
        ++snapshots;
    }
    EXPECT_TRUE(file.size() == start && snapshots == 16);
}

}  // namespace
