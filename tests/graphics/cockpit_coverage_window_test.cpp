// How much of the view the cockpit takes: drawn alone through the cockpit
// pass at the two window sizes the options offer, at rest, at the largest
// lag upwards (falling) and at the largest lag downwards (boosting). At
// rest it frames the view (the dashboard low, slim pillars at the sides);
// lagging upwards it still leaves the crosshair free.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "support/cockpit_cover.h"
#include "support/first_level_test.h"

namespace {

using namespace test_support;

const float kRest = 1.5707963f;  // the top of the bob, where it rests

struct Case {
    const char* what;
    float lag;             // moveOffset.y
    double mostOfWindow;   // covered share of the whole window at most
    double mostOfCentre;   // ... of the middle 70% x 60%
    double mostOfCross;    // ... of the crosshair's box, the middle 20% x 20%
};

class CockpitCoverage : public FirstLevelTest {};

TEST_F(CockpitCoverage, FramesTheViewAndLeavesTheCrosshairFreeAtEachSize) {
    const Case cases[] = {
        {"at rest", 0.0f, 0.30, 0.05, 0.0},
        {"lagging upwards", 5.0f, 1.0, 1.0, 0.0},
        {"lagging downwards", -8.0f, 1.0, 1.0, 1.0},
    };
    const int sizes[][2] = {{1024, 768}, {800, 600}};
    for (const auto& size : sizes)
        for (const Case& c : cases) {
            const CockpitCover cover(size[0], size[1], Vector(0.0f, c.lag, 0.0f, 0.0f), kRest);
            const double window = cover.ShareOfMiddle(1.0, 1.0), centre = cover.ShareOfMiddle(0.7, 0.6),
                         cross = cover.ShareOfMiddle(0.2, 0.2);
            std::printf("%dx%d %-18s window %5.1f%%  central box %5.1f%%  crosshair box %5.1f%%\n", size[0], size[1],
                        c.what, window * 100, centre * 100, cross * 100);
            const std::string where = std::to_string(size[0]) + "x" + std::to_string(size[1]) + " " + c.what;
            EXPECT_LE(window, c.mostOfWindow) << where;
            EXPECT_LE(centre, c.mostOfCentre) << where;
            EXPECT_LE(cross, c.mostOfCross) << where;
            if (c.lag == 0.0f) {
                EXPECT_GT(window, 0.05) << where << ": the cockpit is drawn";
            }
        }
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
