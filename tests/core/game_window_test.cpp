// The real game under the test's X server: it opens its window at the size
// the settings ask for, makes its profile folder, and quits cleanly when the
// window is closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_process.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace {

using test_support::GameProcess;
using test_support::TempFolder;

// Starts the game, checks its window size (unless 0), closes it; returns its output.
std::string RunAndClose(const TempFolder& profile, int width, int height) {
    test_support::X11Display x11;
    EXPECT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    TempFolder output;
    GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                     {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}}, output.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    if (!window) {
        ADD_FAILURE() << "no game window; output:\n" << game.StandardOutput() << game.StandardError();
        return "";
    }
    const auto size = x11.GetSize(*window);
    EXPECT_TRUE(width == 0 || (size && size->width == width && size->height == height));
    // From this last line of the set-up on, a close request reaches the pump.
    EXPECT_TRUE(game.WaitForOutput("shaderModel4 = ", 30.0)) << game.StandardOutput();
    EXPECT_TRUE(x11.SendDeleteWindow(*window));
    const auto status = game.WaitForExit(30.0);
    EXPECT_TRUE(status && *status == 0) << game.StandardOutput() << game.StandardError();
    return game.StandardOutput();
}

TEST(GameWindow, OpensAtTheConfiguredSizeAndQuitsWhenClosed) {
    TempFolder profile;
    profile.WriteFile("The Quellbrand/settings.xml",
                      "<?xml version=\"1.0\" ?>\n<Settings>\n  <Setting ID=\"full_screen\" key=\"0\" />\n"
                      "  <Setting ID=\"screen_width\" key=\"640\" />\n  <Setting ID=\"screen_height\" key=\"480\" />\n"
                      "</Settings>\n");
    const std::string out = RunAndClose(profile, 640, 480);
    EXPECT_NE(std::string::npos, out.find("Quit requested\n")) << out;
    EXPECT_NE(std::string::npos, out.find("fullScreen = 0")) << out;
}

TEST(GameWindow, MakesTheProfileFolderWhenItIsMissing) {
    TempFolder profile;
    const std::string out = RunAndClose(profile, 0, 0);
    EXPECT_TRUE(std::filesystem::is_directory(profile.Path() + "/The Quellbrand"));
    EXPECT_NE(std::string::npos, out.find("Failed to load settings file"));
}

}  // namespace
