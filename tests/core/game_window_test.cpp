// The real game under the test's X server: it opens its window at the size
// the settings ask for, makes its profile folder, and quits cleanly when the
// window is closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_run.h"
#include "support/temp_folder.h"

namespace {

using test_support::TempFolder;

// Starts the game, checks its window size (unless 0), closes it; returns its output.
std::string RunAndClose(const TempFolder& profile, int width, int height) {
    const test_support::GameRun run = test_support::RunGameAndClose(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR, profile.Path());
    EXPECT_TRUE(run.windowOpened) << "no game window; output:\n" << run.output;
    const auto& size = run.windowSize;
    EXPECT_TRUE(width == 0 || (size && size->width == width && size->height == height));
    EXPECT_TRUE(run.setUpFinished) << run.output;
    EXPECT_TRUE(run.exitStatus && *run.exitStatus == 0) << run.output;
    return run.output;
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
