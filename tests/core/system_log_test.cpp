// Logging formats and the error-log files, with a fixed local time and a
// temporary profile folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"
#include "system.h"

namespace {

using test_support::ReadFile;
using test_support::TempProfile;

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(SystemLog, EachKindOfLineGoesToTheConsoleAndTheLogTextWithItsPrefix) {
    System system;
    system.running.store(false);  // no error-log file for this test
    testing::internal::CaptureStdout();
    system.Log("plain");
    system.Log("own line break\n");
    system.Warning("careful");
    system.Error("system.cpp:12 broken");
    const std::string console = testing::internal::GetCapturedStdout();
    const std::string expected =
        "plain\nown line break\n\nWARNING: careful\nERROR: system.cpp:12 broken\n";
    EXPECT_EQ(expected, console);
    EXPECT_EQ(expected, system.GetLogText());
}

TEST(SystemLog, ErrorLogFileNameHasNoLeadingZeros) {
    EXPECT_EQ("error_log_4_24_2010_9_5_3.txt", System::ErrorLogFileName(LocalTime(2010, 4, 24, 9, 5, 3)));
    EXPECT_EQ("error_log_12_31_1999_0_0_0.txt", System::ErrorLogFileName(LocalTime(1999, 12, 31, 0, 0, 0)));
    EXPECT_EQ("error_log_1_1_2030_23_59_59.txt", System::ErrorLogFileName(LocalTime(2030, 1, 1, 23, 59, 59)));
}

class ErrorLogFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Folder());
        system.SetLocalTimeSource([] { return LocalTime(2010, 4, 24, 9, 5, 3); });
        testing::internal::CaptureStdout();  // keep the test output readable
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
    }
    std::string Folder() const { return profile.Path() + "/The Quellbrand"; }
    std::string LogFile() const { return Folder() + "/error_log_4_24_2010_9_5_3.txt"; }
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(Folder()),
                                                 std::filesystem::directory_iterator()));
    }

    TempProfile profile;
    System system;
};

TEST_F(ErrorLogFiles, ErrorWritesTheWholeLogTextAndOneMoreLineEnd) {
    system.Log("first line");
    system.Warning("second line");
    system.Error("main.cpp:7 it broke");
    EXPECT_EQ("first line\nWARNING: second line\nERROR: main.cpp:7 it broke\n\n", ReadFile(LogFile()));
}

TEST_F(ErrorLogFiles, ARepeatedErrorWritesNoNewFileButAnotherErrorAppends) {
    system.Error("frame.cpp:1 same every frame");
    const std::string afterFirst = ReadFile(LogFile());
    system.Error("frame.cpp:1 same every frame");
    system.Error("frame.cpp:1 same every frame");
    EXPECT_EQ(afterFirst, ReadFile(LogFile()));
    EXPECT_EQ(1u, FileCount());

    system.Error("frame.cpp:2 something else");
    EXPECT_EQ(afterFirst + system.GetLogText() + "\n", ReadFile(LogFile()));
    EXPECT_NE(std::string::npos, system.GetLogText().find("same every frame\nERROR: frame.cpp:1"))
        << "every repeat still reaches the log text";
}

TEST_F(ErrorLogFiles, NoFileAfterAQuit) {
    system.Quit();
    system.Error("late.cpp:3 during shutdown");
    EXPECT_EQ(0u, FileCount());
    EXPECT_NE(std::string::npos, system.GetLogText().find("ERROR: late.cpp:3 during shutdown\n"));
}

TEST_F(ErrorLogFiles, MissingProfileFolderSkipsTheFileQuietly) {
    std::filesystem::remove_all(Folder());
    system.Error("x.cpp:1 nowhere to write");
    EXPECT_FALSE(std::filesystem::exists(Folder()));
    EXPECT_EQ("ERROR: x.cpp:1 nowhere to write\n", system.GetLogText());
}

TEST_F(ErrorLogFiles, ErrorNeverWaitsForInput) {
    // Standard input holds one character; an Error that waited for a key
    // would take it.
    int fds[2];
    ASSERT_EQ(0, pipe(fds));
    const int savedStdin = dup(0);
    ASSERT_EQ(1, write(fds[1], "k", 1));
    dup2(fds[0], 0);
    system.Error("y.cpp:2 must not block");
    fcntl(0, F_SETFL, O_NONBLOCK);
    char left = 0;
    const ssize_t got = read(0, &left, 1);
    dup2(savedStdin, 0);
    close(savedStdin);
    close(fds[0]);
    close(fds[1]);
    EXPECT_EQ(1, got);
    EXPECT_EQ('k', left);
}

}  // namespace
