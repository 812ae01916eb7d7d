// How much of the view the cockpit takes: drawn alone through the cockpit
// pass at the two window sizes the options offer. At rest it frames the view
// (the dashboard low, slim pillars at the sides). At every lag the movement
// gives it, from the largest downwards (boosting) to the largest upwards
// (falling), it leaves the crosshair free and stays at least partly in view.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/cockpit_cover.h"
#include "support/first_level_test.h"

namespace {

using namespace test_support;

const float kRest = 1.5707963f;  // the top of the bob, where it rests

// The lags (moveOffset.y) the movement gives the cockpit, in this step.
constexpr float kLowestLag = -8.0f, kHighestLag = 5.0f, kLagStep = 0.5f;

// The covered shares of the whole window, of its middle 70% x 60% and of the
// crosshair's box (the middle 20% x 20%).
struct Shares {
    double window, centre, cross;
};

Shares Cover(const int size[2], float lag) {
    const CockpitCover cover(size[0], size[1], Vector(0.0f, lag, 0.0f, 0.0f), kRest);
    return {cover.ShareOfMiddle(1.0, 1.0), cover.ShareOfMiddle(0.7, 0.6), cover.ShareOfMiddle(0.2, 0.2)};
}

class CockpitCoverage : public FirstLevelTest {};

TEST_F(CockpitCoverage, FramesTheViewAndLeavesTheCrosshairFreeAtEachSize) {
    const int sizes[][2] = {{1024, 768}, {800, 600}};
    for (const auto& size : sizes) {
        const std::string where = std::to_string(size[0]) + "x" + std::to_string(size[1]);
        const Shares rest = Cover(size, 0.0f);
        std::printf("%s at rest: window %5.1f%%  central box %5.1f%%\n", where.c_str(), rest.window * 100,
                    rest.centre * 100);
        EXPECT_LE(rest.window, 0.30) << where;
        EXPECT_LE(rest.centre, 0.05) << where;
        EXPECT_GT(rest.window, 0.05) << where << ": the cockpit is drawn";
        int lags = 0;
        for (float lag = kLowestLag; lag <= kHighestLag; lag += kLagStep, ++lags) {
            const Shares lagging = Cover(size, lag);
            std::printf("%s lag %+4.1f: window %5.1f%%  crosshair box %5.1f%%\n", where.c_str(), lag,
                        lagging.window * 100, lagging.cross * 100);
            EXPECT_EQ(lagging.cross, 0.0) << where << " lag " << lag << ": the crosshair is covered";
            EXPECT_GT(lagging.window, 0.0) << where << " lag " << lag << ": the cockpit left the view";
        }
        EXPECT_EQ(27, lags) << "the sweep missed an end";
    }
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
