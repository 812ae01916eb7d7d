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

    const FrameLimit empty = ComputeFrameLimit(0.0, 0.0, false);
    EXPECT_EQ(16, empty.sleepMilliseconds);
    EXPECT_DOUBLE_EQ(0.1 * kFrame, empty.frameTime);  // the step starts from 0
}

TEST(FrameLimiter, LongFrameDoesNotSleepAndMovesTheStepATenthTowardItsLength) {
    const FrameLimit limit = ComputeFrameLimit(0.020, kFrame, false);
    EXPECT_EQ(0, limit.sleepMilliseconds);
    EXPECT_DOUBLE_EQ(0.9 * kFrame + 0.1 * 0.020, limit.frameTime);

    const FrameLimit exact = ComputeFrameLimit(kFrame, 0.05, false);
    EXPECT_EQ(0, exact.sleepMilliseconds);
    EXPECT_DOUBLE_EQ(0.9 * 0.05 + 0.1 * kFrame, exact.frameTime);
}

TEST(FrameLimiter, PausedStepIsExactlyOneSixtiethWhateverCameBefore) {
    for (double previous : {0.0, 0.005, 0.1}) {
        const FrameLimit limit = ComputeFrameLimit(0.0, previous, true);
        EXPECT_EQ(kFrame, limit.frameTime);
        EXPECT_EQ(16, limit.sleepMilliseconds);
    }
    EXPECT_EQ(kFrame, ComputeFrameLimit(0.5, 0.1, true).frameTime);
}

TEST(FrameLimiter, ClockSetBackUnderAFrameNeverSleepsLongerThanAFrame) {
    const FrameLimit limit = ComputeFrameLimit(-3.0, kFrame, false);
    EXPECT_EQ(16, limit.sleepMilliseconds);
    EXPECT_DOUBLE_EQ(kFrame, limit.frameTime);
}

TEST(FrameLimiter, SteadyShortFramesConvergeToOneSixtieth) {
    double step = 0.0;
    for (int i = 0; i < 200; ++i) step = ComputeFrameLimit(0.004, step, false).frameTime;
    EXPECT_NEAR(kFrame, step, 1e-9);
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

TEST_F(SystemClock, FrameStartFollowsTheRunningClock) {
    system.StampFrameStart();
    EXPECT_GE(system.frameStartTime.load(), 10.0);
    EXPECT_LT(system.frameStartTime.load(), 11.0);
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

TEST(VideoModeChoice, CandidatesAreSixSizesEachAsWindowThenFullScreen) {
    const std::vector<VideoMode> modes = CandidateVideoModes();
    ASSERT_EQ(12u, modes.size());
    const int sizes[][2] = {{800, 600}, {1024, 768}, {1280, 1024}, {1024, 600}, {1280, 768}, {1440, 900}};
    for (size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(sizes[i / 2][0], modes[i].width);
        EXPECT_EQ(sizes[i / 2][1], modes[i].height);
        EXPECT_EQ(i % 2 == 1, modes[i].fullScreen);
        EXPECT_FALSE(modes[i].available);
    }
}

TEST(VideoModeChoice, PicksTheWidestModeOfTheDesktopsAspectNarrowerThanTheDesktop) {
    const std::vector<VideoMode> modes = ModesWhere(All);
    ExpectMode(ChooseVideoMode(modes, 1280, 1024), 1024, 768);  // 1280 is not less than 1280
    ExpectMode(ChooseVideoMode(modes, 1920, 1080), 1440, 900);
    ExpectMode(ChooseVideoMode(modes, 1024, 768), 800, 600);
    ExpectMode(ChooseVideoMode(modes, 1600, 1200), 1280, 1024);
    ExpectMode(ChooseVideoMode(modes, 1366, 768), 1280, 768);
}

TEST(VideoModeChoice, SmallDesktopStillGetsTheFirstModeOfItsAspectClass) {
    const std::vector<VideoMode> modes = ModesWhere(All);
    ExpectMode(ChooseVideoMode(modes, 640, 480), 800, 600);
    ExpectMode(ChooseVideoMode(modes, 720, 400), 1024, 600);
}

TEST(VideoModeChoice, AspectOfExactlyOnePointFourCountsAsWide) {
    ExpectMode(ChooseVideoMode(ModesWhere(All), 1400, 1000), 1280, 768);
}

TEST(VideoModeChoice, SkipsModesSdlRefusesAndWindowedModes) {
    const auto no1440 = ModesWhere([](const VideoMode& m) { return m.width != 1440; });
    ExpectMode(ChooseVideoMode(no1440, 1920, 1080), 1280, 768);

    const auto windowsOnly = ModesWhere([](const VideoMode& m) { return !m.fullScreen; });
    EXPECT_FALSE(ChooseVideoMode(windowsOnly, 1920, 1080).available);

    const auto noWide = ModesWhere([](const VideoMode& m) { return m.width * 3 == m.height * 4; });
    EXPECT_FALSE(ChooseVideoMode(noWide, 1920, 1080).available);
}

TEST(VideoModeChoice, DesktopWithoutSizeQualifiesNothing) {
    EXPECT_FALSE(ChooseVideoMode(ModesWhere(All), 0, 0).available);
    EXPECT_FALSE(ChooseVideoMode(ModesWhere(All), 1024, 0).available);
}

TEST(VideoModeChoice, SystemChoosesAmongItsOwnModes) {
    System system;
    system.videoModes = ModesWhere(All);
    ExpectMode(system.ChooseVideoMode(1920, 1080), 1440, 900);
    system.videoModes.clear();
    EXPECT_FALSE(system.ChooseVideoMode(1920, 1080).available);
}

TEST(GLSLVersion, ReadsMajorAndTheDigitsAfterTheFirstFullStop) {
    GLSLVersion v = ParseGLSLVersion("1.10 Mesa 7.0");
    EXPECT_EQ(1, v.major);
    EXPECT_EQ(10, v.minor);
    EXPECT_FALSE(IsGLSLVersionSupported(v));

    v = ParseGLSLVersion("4.60 NVIDIA");
    EXPECT_EQ(4, v.major);
    EXPECT_EQ(60, v.minor);
    EXPECT_TRUE(IsGLSLVersionSupported(v));

    EXPECT_TRUE(IsGLSLVersionSupported(ParseGLSLVersion("1.20")));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("1.19")));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("0.99")));
    EXPECT_TRUE(IsGLSLVersionSupported(ParseGLSLVersion("2")));
}

TEST(GLSLVersion, MissingOrGarbledTextIsUnsupportedNotACrash) {
    const GLSLVersion none = ParseGLSLVersion(nullptr);
    EXPECT_EQ(0, none.major);
    EXPECT_EQ(0, none.minor);
    EXPECT_FALSE(IsGLSLVersionSupported(none));
    EXPECT_FALSE(IsGLSLVersionSupported(ParseGLSLVersion("OpenGL ES GLSL")));
    const GLSLVersion huge = ParseGLSLVersion("99999999999999999999.5");
    EXPECT_GT(huge.major, 1);
    EXPECT_EQ(5, huge.minor);
}

}  // namespace
