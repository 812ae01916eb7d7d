// The real game under the test's X server, started as a player starts it: it
// opens its window at the size the settings ask for and shows the studio logo
// first, makes its profile folder, comes up despite damaged start-up files, a
// video mode it cannot set, an old shading language or a closed standard
// output, and quits with status 0 when its window is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "resource_manager.h"
#include "support/game_process.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

const std::string kSettings = "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                              "key=\"640\" /><Setting ID=\"screen_height\" key=\"480\" /></Settings>\n";

struct GameRun {
    std::string runFolder = QUELL_RUN_DIR;
    std::map<std::string, std::string> environment;
    bool pipedOutput = false;
    std::function<void(unsigned long window)> whileOpen;
};

// Starts the game, lets `whileOpen` look at its window, closes it and expects
// status 0; gives the game's output.
std::string RunAndClose(const TempFolder& profile, GameRun run = {}) {
    X11Display x11;
    EXPECT_TRUE(x11.IsOpen()) << "needs an X display (run under xvfb-run)";
    TempFolder output;
    run.environment.insert({{"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}});
    GameProcess game(QUELL_RUN_DIR "/quellbrand", run.runFolder, run.environment, output.Path(), run.pipedOutput);
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    if (!window) {
        ADD_FAILURE() << "no game window; output:\n" << game.StandardOutput() << game.StandardError();
        return "";
    }
    if (run.whileOpen) run.whileOpen(*window);
    // From this last line of the set-up on, a close request reaches the pump.
    EXPECT_TRUE(game.WaitForOutput("shaderModel4 = ", 30.0)) << game.StandardOutput();
    if (run.pipedOutput) game.CloseOutput();  // as a pager that quits: the next line finds no reader
    EXPECT_TRUE(x11.SendDeleteWindow(*window));
    const auto status = game.WaitForExit(30.0);
    EXPECT_TRUE(status && *status == 0) << "status " << status.value_or(999) << "\n"
                                         << game.StandardOutput() << game.StandardError();
    return game.StandardOutput();
}

TEST(GameWindow, OpensAtTheConfiguredSizeShowingTheLogoAndQuitsWhenClosed) {
    TempFolder profile;
    profile.WriteFile("The Quellbrand/settings.xml", kSettings);
    GameRun run;
    const auto logo = ResourceManager().LoadTexture(std::string(QUELL_RUN_DIR) + "/" + ResourceManager::kSplashImageFile);
    ASSERT_TRUE(logo->data);
    run.whileOpen = [&](unsigned long window) {
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
    const std::string out = RunAndClose(profile, run);
    EXPECT_NE(out.find("fullScreen = 0"), std::string::npos) << out;
    EXPECT_NE(out.find("Quit requested\n"), std::string::npos) << out;
}

TEST(GameWindow, MakesTheProfileFolderWhenItIsMissing) {
    TempFolder profile;
    EXPECT_NE(RunAndClose(profile).find("Failed to load settings file"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(profile.Path() + "/The Quellbrand"));
}

// A closed standard output must not end the game (SIGPIPE).
TEST(GameWindow, SurvivesAClosedStandardOutput) {
    TempFolder profile;
    profile.WriteFile("The Quellbrand/settings.xml", kSettings);
    GameRun run;
    run.pipedOutput = true;
    RunAndClose(profile, run);
}

// Each start-up file cut in half, an unsettable mode or an old shading
// language: the game says so and plays on.
TEST(GameWindow, ComesUpDespiteEachDamagedStartUpFileAndDriverShortcoming) {
    const struct {
        const char* damaged;  // relative to the run folder, or the settings file
        const char* settings;
        bool oldShadingLanguage;  // Mesa cannot claim 1.10: it then names no version at all
        const char* said;
    } cases[] = {
        {"settings.xml", nullptr, false, "Failed to load settings file"},
        {"resource/registry.xml", nullptr, false, "can't load file resource/registry.xml"},
        {"resource/objectPatterns.xml", nullptr, false, "can't load file resource/objectPatterns.xml"},
        {"resource/patterns/player.xml", nullptr, false, "player.xml"},
        {"resource/art assets/splash_screens/studio_logo_loading.png", nullptr, false, "studio_logo_loading.png"},
        {"resource/art assets/loading.png", nullptr, false, "Error loading texture!resource/art assets/loading.png"},
        {nullptr, "<Settings><Setting ID=\"full_screen\" key=\"1\" /><Setting ID=\"screen_width\" key=\"4096\" />"
                  "<Setting ID=\"screen_height\" key=\"4096\" /></Settings>", false, "could not be set"},
        {nullptr, nullptr, true, "this version of GLSL is not supported"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        TempFolder profile, run;
        profile.WriteFile("The Quellbrand/settings.xml", c.settings ? c.settings : kSettings);
        for (const char* folder : {"resource", "scripts", "shaders"})
            fs::copy(fs::path(QUELL_RUN_DIR) / folder, fs::path(run.Path()) / folder, fs::copy_options::recursive);
        if (c.damaged) {
            const std::string path = std::string(c.damaged) == "settings.xml" ? profile.Path() + "/The Quellbrand/settings.xml"
                                                                             : run.Path() + "/" + c.damaged;
            fs::resize_file(path, fs::file_size(path) / 2);
        }
        GameRun options;
        options.runFolder = run.Path();
        if (c.oldShadingLanguage)
            options.environment = {{"MESA_GL_VERSION_OVERRIDE", "2.0"}, {"MESA_GLSL_VERSION_OVERRIDE", "110"}};
        const std::string out = RunAndClose(profile, options);
        EXPECT_NE(out.find(c.said), std::string::npos) << out;
    }
}

}  // namespace
