// The System without a window: frame pacing, the paused clock, the video-mode
// choice, the shading-language check, the log and error-log files and the
// settings file, with an injected clock and a temporary profile folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "system/frame_limiter.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "support/temp_folder.h"
#include "system.h"
#include "system/video_mode.h"

namespace {

const double kFrame = 1.0 / 60.0;

// A short frame sleeps the rest (truncated) and smooths towards a frame; a
// long one smooths towards itself; a clock set back under a running frame
// never sleeps longer than a frame; a paused step is exactly one frame.
TEST(FrameLimiter, SleepSmoothedStepAndPausedStep) {
    const struct { double elapsed, previous; bool paused; int sleep; double step; } cases[] = {
        {0.010, 0.02, false, 6, 0.9 * 0.02 + 0.1 * kFrame}, {0.020, kFrame, false, 0, 0.9 * kFrame + 0.1 * 0.020},
        {-3.0, kFrame, false, 16, kFrame}, {0.0, 0.0, true, 16, kFrame}, {0.0, 0.1, true, 16, kFrame}};
    for (const auto& c : cases) {
        const FrameLimit limit = ComputeFrameLimit(c.elapsed, c.previous, c.paused);
        EXPECT_EQ(limit.sleepMilliseconds, c.sleep) << c.elapsed;
        EXPECT_NEAR(limit.frameTime, c.step, 1e-15) << c.elapsed;
    }
}

TEST(SystemClock, PauseAndResumeTwiceChangeNothingAndTheClockContinues) {
    platform::SetClockTime(10.0);
    System system;
    system.Pause(true);
    const double stoppedAt = system.pausedTime.load();
    platform::SetClockTime(stoppedAt + 5.0);
    system.Pause(true);
    EXPECT_TRUE(stoppedAt == system.pausedTime.load() && stoppedAt == system.GetTime());
    EXPECT_GE(system.GetTime(true), stoppedAt + 5.0);  // the timer itself runs on
    system.StampFrameStart();
    EXPECT_EQ(stoppedAt, system.frameStartTime.load());

    const auto resumed = std::chrono::steady_clock::now();
    system.Pause(false);
    EXPECT_FALSE(system.IsPaused());
    const double read = system.GetTime();  // the five seconds never show
    EXPECT_TRUE(read >= stoppedAt &&
                read - stoppedAt <= std::chrono::duration<double>(std::chrono::steady_clock::now() - resumed).count());
    platform::SetClockTime(stoppedAt + 50.0);
    system.Pause(false);  // must not set the clock back to the old pause time
    EXPECT_GE(system.GetTime(), stoppedAt + 50.0);
}

std::vector<VideoMode> ModesWhere(bool (*available)(const VideoMode&)) {
    std::vector<VideoMode> modes = CandidateVideoModes();
    for (VideoMode& mode : modes) mode.available = available(mode);
    return modes;
}

TEST(VideoModeChoice, WidestAvailableFullScreenModeOfTheDesktopsAspect) {
    const auto all = ModesWhere([](const VideoMode&) { return true; });
    const int cases[][4] = {{1280, 1024, 1024, 768}, {1920, 1080, 1440, 900}, {1024, 768, 800, 600},
                            {1366, 768, 1280, 768},  {1400, 1000, 1280, 768}, {640, 480, 800, 600},
                            {720, 400, 1024, 600}};
    for (const auto& c : cases) {
        const VideoMode mode = ChooseVideoMode(all, c[0], c[1]);
        EXPECT_TRUE(mode.available && mode.fullScreen) << c[0] << "x" << c[1];
        EXPECT_EQ(c[2], mode.width) << c[0] << "x" << c[1];
        EXPECT_EQ(c[3], mode.height) << c[0] << "x" << c[1];
    }
    const auto no1440 = ModesWhere([](const VideoMode& m) { return m.width != 1440; });
    EXPECT_EQ(1280, ChooseVideoMode(no1440, 1920, 1080).width);
    const auto windowsOnly = ModesWhere([](const VideoMode& m) { return !m.fullScreen; });
    EXPECT_FALSE(ChooseVideoMode(windowsOnly, 1920, 1080).available);
    const auto noWide = ModesWhere([](const VideoMode& m) { return m.width * 3 == m.height * 4; });
    EXPECT_FALSE(ChooseVideoMode(noWide, 1920, 1080).available);
    EXPECT_FALSE(ChooseVideoMode(all, 1024, 0).available);  // no video info
}

TEST(GLSLVersion, ParsingAndTheSupportedMinimum) {
    const GLSLVersion old = ParseGLSLVersion("1.10 Mesa 7.0");
    EXPECT_TRUE(old.major == 1 && old.minor == 10 && ParseGLSLVersion("4.60 NVIDIA").minor == 60);
    EXPECT_TRUE(!IsGLSLVersionSupported(old) && IsGLSLVersionSupported(ParseGLSLVersion("1.20")));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("1.19")));
    // A missing or garbled text is unsupported, never a crash or an overflow.
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion(nullptr)));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("OpenGL ES GLSL")));
    EXPECT_EQ(5, ParseGLSLVersion("99999999999999999999.5").minor);
}

using test_support::ReadFile;

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900, time.tm_mon = month - 1, time.tm_mday = day;
    time.tm_hour = hour, time.tm_min = minute, time.tm_sec = second;
    return time;
}

// UserProfile is unset for every Linux player: HOME, then the user database.
// Only the game's own folder is ever made, and only inside an existing one.
TEST(ProfileFolder, UserProfileThenHomeThenTheUserDatabaseAndNeverAParentChain) {
    test_support::SavedVariable savedProfile("UserProfile"), savedHome("HOME");
    test_support::TempFolder home;
    unsetenv("UserProfile");
    setenv("HOME", home.Path().c_str(), 1);
    System system;
    system.running.store(false);
    testing::internal::CaptureStdout();
    system.MakeDir("The Quellbrand");
    EXPECT_TRUE(std::filesystem::is_directory(home.Path() + "/The Quellbrand"));
    EXPECT_EQ(platform::ProfileFilePath("score.bin"), home.Path() + "/The Quellbrand/score.bin");
    setenv("UserProfile", (home.Path() + "/missing/deeper").c_str(), 1);
    system.MakeDir("The Quellbrand");
    EXPECT_FALSE(std::filesystem::exists(home.Path() + "/missing"));
    EXPECT_NE(system.GetLogText().find("the user profile folder " + home.Path() + "/missing/deeper does not exist"),
              std::string::npos);
    testing::internal::GetCapturedStdout();
    unsetenv("UserProfile");
    unsetenv("HOME");
    const passwd* user = getpwuid(getuid());
    ASSERT_TRUE(user && user->pw_dir);
    EXPECT_EQ(platform::GetUserProfile(), user->pw_dir);
}

// A temporary profile folder and a System with a fixed local time; what it
// logs goes to standard output as well, exactly.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Folder());
        system.SetLocalTimeSource([] { return LocalTime(2010, 4, 24, 9, 5, 3); });
        testing::internal::CaptureStdout();
    }
    void TearDown() override { EXPECT_EQ(testing::internal::GetCapturedStdout(), system.GetLogText()); }
    std::string Folder() const { return profile.Path() + "/The Quellbrand"; }
    std::string LogFile() const { return Folder() + "/error_log_4_24_2010_9_5_3.txt"; }
    void Load(const std::string& xml) {
        profile.WriteFile("The Quellbrand/settings.xml", xml);
        system.LoadSettings();
    }
    void ExpectUnchanged() {
        EXPECT_TRUE(system.width == 1024 && system.height == 768 && !system.fullScreen);
    }
    test_support::TempProfile profile;
    System system;
};
using ErrorLogFiles = ProfileTest;
using StartupSettings = ProfileTest;

TEST_F(ErrorLogFiles, EachNewErrorAppendsTheWholeLogTextButARepeatDoesNot) {
    system.Log("plain");
    system.Log("own line break\n");
    system.Warning("careful");
    system.Error("frame.cpp:1 same every frame");
    const std::string afterFirst = ReadFile(LogFile());
    EXPECT_EQ("plain\nown line break\n\nWARNING: careful\nERROR: frame.cpp:1 same every frame\n\n", afterFirst);
    system.Error("frame.cpp:1 same every frame");
    EXPECT_EQ(afterFirst, ReadFile(LogFile()));
    system.Error("frame.cpp:2 something else");
    EXPECT_EQ(afterFirst + system.GetLogText() + "\n", ReadFile(LogFile()));
    EXPECT_NE(std::string::npos, system.GetLogText().find("same every frame\nERROR: frame.cpp:1"));
}

TEST_F(ErrorLogFiles, NoFileAfterAQuitOrWithoutTheFolderAndNeverWaitsForInput) {
    system.Quit();
    system.Error("late.cpp:3 during shutdown");
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
    system.running.store(true);
    std::filesystem::remove_all(Folder());
    // Standard input holds one character that an Error waiting for a key would take.
    int fds[2];
    ASSERT_EQ(0, pipe(fds));
    const int savedStdin = dup(0);
    ASSERT_EQ(1, write(fds[1], "k", 1));
    dup2(fds[0], 0);
    system.Error("x.cpp:1 nowhere to write");
    fcntl(0, F_SETFL, O_NONBLOCK);
    char left = 0;
    const ssize_t got = read(0, &left, 1);
    dup2(savedStdin, 0);
    for (int fd : {savedStdin, fds[0], fds[1]}) close(fd);
    EXPECT_TRUE(got == 1 && left == 'k' && !std::filesystem::exists(Folder()));
    EXPECT_NE(std::string::npos, system.GetLogText().find("ERROR: x.cpp:1 nowhere to write\n"));
}

std::string Setting(const std::string& id, const std::string& key) {
    return "<Setting ID=\"" + id + "\" key=\"" + key + "\" />";
}
std::string Document(const std::string& body) { return "<?xml version=\"1.0\" ?>\n<Settings>" + body + "</Settings>\n"; }

TEST_F(StartupSettings, MissingWrongRootedOrBadFilesAndValuesChangeNothing) {
    system.LoadSettings();
    Load("<Settings><Setting ID=\"screen_width\" key=\"640\"");
    Load("<?xml version=\"1.0\" ?>\n<Options>" + Setting("screen_width", "640") + "</Options>");
    Load("<?xml version=\"1.0\" ?>\n<!-- no element at all -->\n");
    ExpectUnchanged();
    const std::string log = system.GetLogText();
    EXPECT_EQ(0u, log.find("Failed to load settings file\nFailed to load settings file\nWARNING: ")) << log;
    EXPECT_NE(std::string::npos, log.find("settings.xml: ")) << "a damaged file names itself and its reason";
    EXPECT_EQ(log.find("Invalid XML file\nInvalid XML file\n"), log.size() - 34) << log;
    for (const char* bad : {"", "abc", "12abc", "0", "-640", "99999999999", "1e3", "100000"}) {
        Load(Document(Setting("screen_width", bad) + Setting("screen_height", bad)));
        SCOPED_TRACE(bad);
        ExpectUnchanged();
    }
    Load(Document("<Setting ID=\"full_screen\" /><Setting key=\"640\" /><Other ID=\"screen_width\" key=\"640\" />"));
    ExpectUnchanged();
}

TEST_F(StartupSettings, ReadsTheScreenModeAndALaterValidDuplicateWins) {
    Load(Document(Setting("forward", "87") + Setting("full_screen", "1") + Setting("screen_width", "640") +
                  Setting("screen_width", "800") + Setting("screen_height", "480") +
                  Setting("screen_height", "-1")));
    EXPECT_TRUE(system.fullScreen && system.width == 800 && system.height == 480);
    EXPECT_NE(std::string::npos, system.GetLogText().find("fullScreen = 1\n"));
    // A window larger than the desktop is refused; full screen, SDL judges when setting it.
    system.desktopWidth = 1024, system.desktopHeight = 768;
    Load(Document(Setting("full_screen", "0") + Setting("screen_width", "8192") + Setting("screen_height", "700")));
    EXPECT_TRUE(!system.fullScreen && system.width == 800 && system.height == 480);
    EXPECT_NE(std::string::npos, system.GetLogText().find("ignoring window size 8192x700 in " + Folder() + "/settings.xml"));
    Load(Document(Setting("full_screen", "1") + Setting("screen_width", "8192")));
    EXPECT_EQ(system.width, 8192);
}

}  // namespace
