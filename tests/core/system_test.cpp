// The System's arithmetic: frame pacing, the paused clock, the video-mode
// choice and the shading-language version check. No window needed.
#include <gtest/gtest.h>

#include "frame_limiter.h"
#include "platform/clock.h"
#include "system.h"
#include "video_mode.h"

namespace {

const double kFrame = 1.0 / 60.0;

TEST(FrameLimiter, ShortFrameSleepsTheRestInWholeMillisecondsAndCountsAsAFullFrame) {
    const FrameLimit limit = ComputeFrameLimit(0.010, 0.02, false);
    EXPECT_EQ(6, limit.sleepMilliseconds);  // 16.67 - 10 = 6.67, truncated
    EXPECT_DOUBLE_EQ(0.9 * 0.02 + 0.1 * kFrame, limit.frameTime);
    EXPECT_DOUBLE_EQ(0.1 * kFrame, ComputeFrameLimit(0.0, 0.0, false).frameTime);  // from 0
    // A clock set back under a running frame never sleeps longer than a frame.
    EXPECT_EQ(16, ComputeFrameLimit(-3.0, kFrame, false).sleepMilliseconds);
}

TEST(FrameLimiter, LongFrameDoesNotSleepAndMovesTheStepATenthTowardItsLength) {
    const FrameLimit limit = ComputeFrameLimit(0.020, kFrame, false);
    EXPECT_EQ(0, limit.sleepMilliseconds);
    EXPECT_DOUBLE_EQ(0.9 * kFrame + 0.1 * 0.020, limit.frameTime);
    EXPECT_EQ(0, ComputeFrameLimit(kFrame, 0.05, false).sleepMilliseconds);
}

TEST(FrameLimiter, PausedStepIsExactlyOneSixtieth) {
    for (double previous : {0.0, 0.005, 0.1}) {
        const FrameLimit limit = ComputeFrameLimit(0.0, previous, true);
        EXPECT_EQ(kFrame, limit.frameTime);
        EXPECT_EQ(16, limit.sleepMilliseconds);
    }
}

class SystemClock : public ::testing::Test {
protected:
    void SetUp() override { platform::SetClockTime(10.0); }
    System system;
};

TEST_F(SystemClock, PauseFreezesTheClockAndResumeContinuesWhereItStopped) {
    system.Pause(true);
    const double stoppedAt = system.pausedTime.load();
    EXPECT_TRUE(system.IsPaused());

    platform::SetClockTime(stoppedAt + 5.0);  // five seconds of pause go by
    EXPECT_EQ(stoppedAt, system.GetTime());
    EXPECT_GE(system.GetTime(true), stoppedAt + 5.0);  // the timer itself runs on
    system.StampFrameStart();
    EXPECT_EQ(stoppedAt, system.frameStartTime.load());

    system.Pause(false);
    EXPECT_FALSE(system.IsPaused());
    EXPECT_GE(system.GetTime(), stoppedAt);
    EXPECT_LT(system.GetTime(), stoppedAt + 1.0);  // the five seconds never show
}

TEST_F(SystemClock, PausingTwiceOrResumingWhileRunningChangesNothing) {
    system.Pause(true);
    const double stoppedAt = system.pausedTime.load();
    platform::SetClockTime(stoppedAt + 3.0);
    system.Pause(true);
    EXPECT_EQ(stoppedAt, system.pausedTime.load());
    EXPECT_EQ(stoppedAt, system.GetTime());

    system.Pause(false);
    platform::SetClockTime(50.0);
    system.Pause(false);  // must not set the clock back to the old pause time
    EXPECT_GE(system.GetTime(), 50.0);
    EXPECT_FALSE(system.IsPaused());
}

std::vector<VideoMode> ModesWhere(bool (*available)(const VideoMode&)) {
    std::vector<VideoMode> modes = CandidateVideoModes();
    for (VideoMode& mode : modes) mode.available = available(mode);
    return modes;
}

bool All(const VideoMode&) { return true; }

void ExpectMode(const VideoMode& mode, int width, int height) {
    EXPECT_TRUE(mode.available);
    EXPECT_TRUE(mode.fullScreen);
    EXPECT_EQ(width, mode.width);
    EXPECT_EQ(height, mode.height);
}

TEST(VideoModeChoice, PicksTheWidestModeOfTheDesktopsAspectNarrowerThanTheDesktop) {
    const std::vector<VideoMode> modes = ModesWhere(All);
    ExpectMode(ChooseVideoMode(modes, 1280, 1024), 1024, 768);  // 1280 is not less than 1280
    ExpectMode(ChooseVideoMode(modes, 1920, 1080), 1440, 900);
    ExpectMode(ChooseVideoMode(modes, 1024, 768), 800, 600);
    ExpectMode(ChooseVideoMode(modes, 1366, 768), 1280, 768);
    ExpectMode(ChooseVideoMode(modes, 1400, 1000), 1280, 768);  // aspect 1.4 counts as wide
    // A small desktop still gets the first mode of its aspect class.
    ExpectMode(ChooseVideoMode(modes, 640, 480), 800, 600);
    ExpectMode(ChooseVideoMode(modes, 720, 400), 1024, 600);
}

TEST(VideoModeChoice, OnlyAvailableFullScreenModesQualify) {
    const auto no1440 = ModesWhere([](const VideoMode& m) { return m.width != 1440; });
    ExpectMode(ChooseVideoMode(no1440, 1920, 1080), 1280, 768);
    const auto windowsOnly = ModesWhere([](const VideoMode& m) { return !m.fullScreen; });
    EXPECT_FALSE(ChooseVideoMode(windowsOnly, 1920, 1080).available);
    const auto noWide = ModesWhere([](const VideoMode& m) { return m.width * 3 == m.height * 4; });
    EXPECT_FALSE(ChooseVideoMode(noWide, 1920, 1080).available);
    EXPECT_FALSE(ChooseVideoMode(ModesWhere(All), 1024, 0).available);  // no video info
}

TEST(GLSLVersion, ReadsMajorAndTheDigitsAfterTheFirstFullStop) {
    const GLSLVersion old = ParseGLSLVersion("1.10 Mesa 7.0");
    EXPECT_EQ(1, old.major);
    EXPECT_EQ(10, old.minor);
    EXPECT_FALSE(IsGLSLVersionSupported(old));
    const GLSLVersion recent = ParseGLSLVersion("4.60 NVIDIA");
    EXPECT_EQ(4, recent.major);
    EXPECT_EQ(60, recent.minor);
    EXPECT_TRUE(IsGLSLVersionSupported(recent));
    EXPECT_TRUE(IsGLSLVersionSupported(ParseGLSLVersion("1.20")));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("1.19")));
    // A missing or garbled text is unsupported, never a crash or an overflow.
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion(nullptr)));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("OpenGL ES GLSL")));
    EXPECT_EQ(5, ParseGLSLVersion("99999999999999999999.5").minor);
}

}  // namespace
