// The real game under the test's X server: it opens its window at the size
// the settings file asks for and quits cleanly when the window is closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_process.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace {

using test_support::GameProcess;
using test_support::TempFolder;
using test_support::X11Display;

// The last line of the window set-up: from then on a close request reaches
// the game's event pump (SDL drops events while it sets a full-screen mode).
const char* const kWindowReady = "shaderModel4 = ";

const char* const kWindowedSettings =
    "<?xml version=\"1.0\" ?>\n"
    "<Settings>\n"
    "  <Setting ID=\"full_screen\" key=\"0\" />\n"
    "  <Setting ID=\"screen_width\" key=\"640\" />\n"
    "  <Setting ID=\"screen_height\" key=\"480\" />\n"
    "</Settings>\n";

TEST(GameWindow, OpensAtTheConfiguredSizeAndQuitsWhenClosed) {
    X11Display x11;
    ASSERT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    TempFolder profile;
    TempFolder output;
    profile.WriteFile("The Quellbrand/settings.xml", kWindowedSettings);

    GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                     {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}},
                     output.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    ASSERT_TRUE(window.has_value()) << "no game window; output:\n"
                                    << game.StandardOutput() << game.StandardError();
    const auto size = x11.GetSize(*window);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(640, size->width);
    EXPECT_EQ(480, size->height);

    ASSERT_TRUE(game.WaitForOutput(kWindowReady, 30.0)) << game.StandardOutput();
    ASSERT_TRUE(x11.SendDeleteWindow(*window));
    const auto status = game.WaitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << "the game did not end after its window was closed\n"
                                    << game.StandardOutput() << game.StandardError();
    EXPECT_EQ(0, *status) << game.StandardOutput() << game.StandardError();

    const std::string out = game.StandardOutput();
    EXPECT_NE(std::string::npos, out.find("Quit requested\n")) << out;
    EXPECT_NE(std::string::npos, out.find("fullScreen = 0")) << out;
}

TEST(GameWindow, MakesTheProfileFolderWhenItIsMissing) {
    X11Display x11;
    ASSERT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    TempFolder profile;
    TempFolder output;
    const std::string folder = profile.Path() + "/The Quellbrand";
    ASSERT_FALSE(std::filesystem::exists(folder));

    GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                     {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}},
                     output.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    ASSERT_TRUE(window.has_value()) << game.StandardOutput() << game.StandardError();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_NE(std::string::npos, game.StandardOutput().find("Failed to load settings file"));
    ASSERT_TRUE(game.WaitForOutput(kWindowReady, 30.0)) << game.StandardOutput();
    ASSERT_TRUE(x11.SendDeleteWindow(*window));
    const auto status = game.WaitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << game.StandardOutput() << game.StandardError();
    EXPECT_EQ(0, *status);
}

TEST(GameWindow, WithoutADisplayTheGameLogsAndExitsWithAnError) {
    TempFolder profile;
    TempFolder output;
    GameProcess game(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR,
                     {{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", ""}},
                     output.Path());
    const auto status = game.WaitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << game.StandardOutput();
    EXPECT_GT(*status, 0) << "a clean failure, not a crash; output:\n" << game.StandardOutput();
    EXPECT_NE(std::string::npos, game.StandardOutput().find("ERROR: Unable to set SDL_Surface"));
}

}  // namespace
