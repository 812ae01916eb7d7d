// The real game under the test's X server: right after its window opens it
// shows the studio logo, the first picture the game draws.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/game_process.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace {

using test_support::ScreenColor;

const ScreenColor kLogoGreen = {40, 220, 90};  // the flat centre of the logo

bool Near(const ScreenColor& a, const ScreenColor& b) {
    return std::abs(a.r - b.r) <= 3 && std::abs(a.g - b.g) <= 3 && std::abs(a.b - b.b) <= 3;
}

std::string Describe(const std::optional<ScreenColor>& c) {
    if (!c) return "nothing readable";
    return std::to_string(c->r) + "," + std::to_string(c->g) + "," + std::to_string(c->b);
}

TEST(SplashFrame, TheStudioLogoFillsTheWindowAfterStart) {
    test_support::X11Display x11;
    ASSERT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    test_support::TempFolder profile;
    test_support::TempFolder output;
    profile.WriteFile("The Quellbrand/settings.xml",
                      "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" key=\"640\" />"
                      "<Setting ID=\"screen_height\" key=\"480\" /></Settings>\n");
    test_support::GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                                   {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"},
                                    {"SDL_AUDIODRIVER", "dummy"}},
                                   output.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    ASSERT_TRUE(window.has_value()) << game.StandardOutput() << game.StandardError();

    // Polls until the logo shows; the bound only spares a busy machine.
    std::optional<ScreenColor> centre;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    do {
        centre = test_support::ReadWindowPixel(*window, 320, 240);
        if (centre && Near(*centre, kLogoGreen)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    EXPECT_TRUE(centre && Near(*centre, kLogoGreen))
        << "window centre shows " << Describe(centre) << "\n" << game.StandardOutput();
    // Stretched over the whole window: the corner is the magenta-to-orange
    // background, neither the green nor black.
    const auto corner = test_support::ReadWindowPixel(*window, 4, 4);
    ASSERT_TRUE(corner.has_value());
    EXPECT_GT(corner->r, 150) << Describe(corner);
    EXPECT_LT(corner->g, 120) << Describe(corner);

    ASSERT_TRUE(x11.SendDeleteWindow(*window));
    const auto status = game.WaitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << game.StandardOutput();
    EXPECT_EQ(0, *status) << game.StandardOutput() << game.StandardError();
}

}  // namespace
