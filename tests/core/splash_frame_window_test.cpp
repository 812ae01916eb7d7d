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

using test_support::GameProcess;
using test_support::ScreenColor;
using test_support::TempFolder;
using test_support::X11Display;

// The flat centre area of the generated studio logo.
const ScreenColor LOGO_GREEN = {40, 220, 90};

const char* const WINDOWED_SETTINGS =
    "<Settings>\n"
    "  <Setting ID=\"full_screen\" key=\"0\" />\n"
    "  <Setting ID=\"screen_width\" key=\"640\" />\n"
    "  <Setting ID=\"screen_height\" key=\"480\" />\n"
    "</Settings>\n";

bool Near(const ScreenColor& a, const ScreenColor& b) {
    return std::abs(a.r - b.r) <= 3 && std::abs(a.g - b.g) <= 3 && std::abs(a.b - b.b) <= 3;
}

// Reads the pixel until it shows `wanted` or `seconds` have passed (a bound
// on waiting for a busy machine, not a speed requirement). The last colour
// seen, or nothing when the window could not be read at all.
std::optional<ScreenColor> WaitForColor(unsigned long window, int x, int y, const ScreenColor& wanted,
                                        double seconds) {
    std::optional<ScreenColor> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        seen = test_support::ReadWindowPixel(window, x, y);
        if (seen && Near(*seen, wanted)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return seen;
}

std::string Describe(const std::optional<ScreenColor>& c) {
    if (!c) return "nothing readable";
    return std::to_string(c->r) + "," + std::to_string(c->g) + "," + std::to_string(c->b);
}

TEST(SplashFrame, TheStudioLogoFillsTheWindowAfterStart) {
    X11Display x11;
    ASSERT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    TempFolder profile;
    TempFolder output;
    profile.WriteFile("The Quellbrand/settings.xml", WINDOWED_SETTINGS);

    GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                     {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"},
                      {"SDL_AUDIODRIVER", "dummy"}},
                     output.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    ASSERT_TRUE(window.has_value()) << game.StandardOutput() << game.StandardError();
    const auto size = x11.GetSize(*window);
    ASSERT_TRUE(size.has_value());

    const auto centre = WaitForColor(*window, size->width / 2, size->height / 2, LOGO_GREEN, 30.0);
    EXPECT_TRUE(centre && Near(*centre, LOGO_GREEN))
        << "window centre shows " << Describe(centre) << "\n" << game.StandardOutput();
    // The logo is stretched over the whole window: the corner is its
    // magenta-to-orange background, not the green and not black.
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
