// The real game under the test's X server, started as a player starts it: it
// opens its window at the size the settings ask for and shows the studio logo
// first, makes its profile folder, comes up despite a video mode it cannot
// set, an old shading language or a closed standard output, and quits with
// status 0 when its window is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "resource_manager.h"
#include "support/game_run.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"

namespace {

using namespace test_support;

const std::string kWindowed = "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                              "key=\"640\" /><Setting ID=\"screen_height\" key=\"480\" /></Settings>\n";

// Runs the game from the build's run folder with `settings` (none when empty)
// to its close, which must end it with status 0; gives its output.
std::string RunAndClose(const std::string& settings, const GameRunOptions& options = {}) {
    TempFolder profile;
    if (!settings.empty()) profile.WriteFile("The Quellbrand/settings.xml", settings);
    const GameRun run = RunGameAndClose(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR, profile.Path(), options);
    EXPECT_TRUE(run.windowOpened && run.setUpFinished) << run.output;
    EXPECT_TRUE(run.exitStatus && *run.exitStatus == 0) << "status " << run.exitStatus.value_or(999) << "\n"
                                                         << run.output;
    EXPECT_TRUE(settings.empty() || std::filesystem::is_directory(profile.Path() + "/The Quellbrand"));
    return run.output;
}

TEST(GameWindow, OpensAtTheConfiguredSizeShowingTheLogoAndQuitsWhenClosed) {
    const auto logo = ResourceManager().LoadTexture(std::string(QUELL_RUN_DIR) + "/" + ResourceManager::kSplashImageFile);
    ASSERT_TRUE(logo->data);
    GameRunOptions options;
    options.whileOpen = [&](unsigned long window) {
        EXPECT_EQ(X11Display().GetSize(window).value_or(WindowSize()).width, 640);
        // Polls until the logo's centre shows; the bound only spares a busy machine.
        const uint32_t centre = logo->GetPixel(logo->width / 2, logo->height / 2);
        std::optional<ScreenColor> shown;
        for (int tries = 0; tries < 600 && !Shows(shown, centre, 3); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            shown = ReadWindowPixel(window, 320, 240);
        }
        EXPECT_TRUE(Shows(shown, centre, 3));
        // Stretched over the whole window, the right way up.
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 3, 3), logo->GetPixel(5, 5), 12));
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 636, 476), logo->GetPixel(logo->width - 6, logo->height - 6), 12));
    };
    const std::string out = RunAndClose(kWindowed, options);
    EXPECT_TRUE(out.find("fullScreen = 0") != std::string::npos && out.find("Quit requested\n") != std::string::npos)
        << out;
}

TEST(GameWindow, MakesTheProfileFolderWhenItIsMissing) {
    TempFolder profile;
    const GameRun run = RunGameAndClose(QUELL_RUN_DIR "/quellbrand", QUELL_RUN_DIR, profile.Path());
    EXPECT_TRUE(run.exitStatus && *run.exitStatus == 0) << run.output;
    EXPECT_NE(run.output.find("Failed to load settings file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(profile.Path() + "/The Quellbrand"));
}

// A closed standard output must not end the game (SIGPIPE).
TEST(GameWindow, SurvivesAClosedStandardOutput) {
    GameRunOptions options;
    options.closedOutput = true;
    RunAndClose(kWindowed, options);
}

// A full-screen mode larger than the display opens the default window; a
// driver with a shading language older than 1.20 (Mesa cannot claim 1.10: it
// then names no version at all) is reported and the game plays on.
TEST(GameWindow, ComesUpDespiteAnUnsettableModeOrAnOldShadingLanguage) {
    EXPECT_NE(RunAndClose("<Settings><Setting ID=\"full_screen\" key=\"1\" /><Setting ID=\"screen_width\" key=\"4096\" />"
                          "<Setting ID=\"screen_height\" key=\"4096\" /></Settings>")
                  .find("could not be set"),
              std::string::npos);
    GameRunOptions options;
    options.environment = {{"MESA_GL_VERSION_OVERRIDE", "2.0"}, {"MESA_GLSL_VERSION_OVERRIDE", "110"}};
    EXPECT_NE(RunAndClose(kWindowed, options).find("this version of GLSL is not supported"), std::string::npos);
}

}  // namespace
