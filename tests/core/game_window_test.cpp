// The real game under the test's X server, started as a player starts it: it
// opens its window at the size the settings ask for and shows the studio logo
// first, makes its profile folder, and quits with status 0 when its window is
// closed. So it does despite a video mode it cannot set, an old shading
// language, a closed standard output, and hostile or damaged files where a
// player could put them: a bad picture in place of the splash image, a bad
// settings.xml, each start-up file cut in half.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include "resource_manager.h"
#include "support/game_run.h"
#include "support/own_pictures.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace test_support;

const std::string kWindowed = "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                              "key=\"640\" /><Setting ID=\"screen_height\" key=\"480\" /></Settings>\n";
const std::string kHostile = std::string(QUELL_SOURCE_DIR) + "/tests/fixtures/hostile/";

// Runs the game in `runFolder` with a fresh profile holding `settings` (none
// when empty) to its close: the window must open, the profile folder be made
// and the close end the game with status 0. Gives its output.
std::string RunAndClose(const std::string& settings, const std::string& runFolder = QUELL_RUN_DIR,
                        const GameRunOptions& options = {}) {
    TempFolder profile;
    if (!settings.empty()) profile.WriteFile("The Quellbrand/settings.xml", settings);
    const GameRun run = RunGameAndClose(QUELL_RUN_DIR "/quellbrand", runFolder, profile.Path(), options);
    EXPECT_TRUE(run.windowOpened && run.setUpFinished) << run.output;
    EXPECT_TRUE(run.exitStatus && *run.exitStatus == 0) << "status " << run.exitStatus.value_or(999) << "\n"
                                                         << run.output;
    EXPECT_TRUE(fs::is_directory(profile.Path() + "/The Quellbrand"));
    return run.output;
}

// The test's own splash picture, four flat quadrants, stands in for the
// art: the window must show each quadrant where it belongs.
TEST(GameWindow, OpensAtTheConfiguredSizeShowingTheLogoAndQuitsWhenClosed) {
    const uint32_t quadrants[4] = {0xFF2040C0u, 0xFF20C040u, 0xFFC02040u, 0xFF40C0C0u};
    const RunFolderWith run(QUELL_RUN_DIR, {{ResourceManager::kSplashImageFile, QuadrantPng(1024, 768, quadrants)}});
    GameRunOptions options;
    options.whileOpen = [&](unsigned long window) {
        EXPECT_EQ(X11Display().GetSize(window).value_or(WindowSize()).width, 640);
        // Polls until the picture shows; the bound only spares a busy machine.
        std::optional<ScreenColor> shown;
        for (int tries = 0; tries < 600 && !Shows(shown, quadrants[0], 3); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            shown = ReadWindowPixel(window, 160, 120);
        }
        EXPECT_TRUE(Shows(shown, quadrants[0], 3));
        // Stretched over the whole window, the right way up.
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 3, 3), quadrants[0], 3));
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 480, 120), quadrants[1], 3));
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 160, 360), quadrants[2], 3));
        EXPECT_TRUE(Shows(ReadWindowPixel(window, 636, 476), quadrants[3], 3));
    };
    const std::string out = RunAndClose(kWindowed, run.Path(), options);
    EXPECT_TRUE(out.find("fullScreen = 0") != std::string::npos && out.find("Quit requested\n") != std::string::npos)
        << out;
    // The shutdown is logged after the quit, and its last line ends the log.
    const std::string ended = "\nshutdown complete\n";
    const std::string::size_type begun = out.find("\nframe loop over, shutting down\n");
    EXPECT_TRUE(begun != std::string::npos && begun > out.find("Quit requested\n")) << out;
    EXPECT_EQ(out.size() - ended.size(), out.rfind(ended)) << out;
}

// A closed standard output must not end the game (SIGPIPE). A full-screen
// mode larger than the display opens the default window; a driver with a
// shading language older than 1.20 (Mesa cannot claim 1.10: it then names no
// version at all) is reported and the game plays on.
TEST(GameWindow, ComesUpDespiteAClosedOutputAnUnsettableModeOrAnOldShadingLanguage) {
    GameRunOptions closedOutput, oldGlsl;
    closedOutput.closedOutput = true;
    RunAndClose(kWindowed, QUELL_RUN_DIR, closedOutput);
    EXPECT_NE(RunAndClose("<Settings><Setting ID=\"full_screen\" key=\"1\" /><Setting ID=\"screen_width\" key=\"4096\" />"
                          "<Setting ID=\"screen_height\" key=\"4096\" /></Settings>")
                  .find("could not be set"),
              std::string::npos);
    oldGlsl.environment = {{"MESA_GL_VERSION_OVERRIDE", "2.0"}, {"MESA_GLSL_VERSION_OVERRIDE", "110"}};
    EXPECT_NE(RunAndClose(kWindowed, QUELL_RUN_DIR, oldGlsl).find("this version of GLSL is not supported"),
              std::string::npos);
}

TEST(HostileFiles, TheGameStartsAndQuitsWithABadSplashImage) {
    const fs::path splash = ResourceManager::kSplashImageFile;
    for (const char* name : {"tga-size-overflow.tga", "png-inflate-loop.png", "png-huffman-assert.png"}) {
        SCOPED_TRACE(name);
        const RunFolderWith run(QUELL_RUN_DIR, {{splash.string(), ReadFile(kHostile + "texture/" + name)}});
        EXPECT_NE(RunAndClose("", run.Path()).find("Error loading texture!" + splash.string()), std::string::npos);
    }
}

TEST(HostileFiles, TheGameStartsAndQuitsWithABadSettingsFile) {
    std::string deep = "<?xml version=\"1.0\" ?>\n";  // the full-size case: stray closing tags, then deep nesting
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    std::vector<std::pair<std::string, std::string>> files = {{"deep.xml", deep}};
    for (const char* name : {"depth-underflow.xml", "unknown-node-quote.xml", "declaration-quote.xml",
                             "utf8-lead-at-end.xml"})
        files.emplace_back(name, ReadFile(kHostile + "xml/" + name));
    for (const auto& [name, text] : files) {
        SCOPED_TRACE(name);
        EXPECT_NE(RunAndClose(text).find("Failed to load settings file"), std::string::npos);
    }
}

// Each further start-up file cut in half: the game says so and plays on.
TEST(HostileFiles, TheGameStartsAndQuitsWithEachStartUpFileCutInHalf) {
    const char* const cases[][2] = {
        {"resource/registry.xml", "can't load file resource/registry.xml"},
        {"resource/objectPatterns.xml", "can't load file resource/objectPatterns.xml"},
        {"resource/patterns/player.xml", "can't load file resource/patterns/player.xml"},
        {"resource/art assets/loading.png", "Error loading texture!resource/art assets/loading.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const std::string original = ReadFile(std::string(QUELL_RUN_DIR) + "/" + c[0]);
        const RunFolderWith run(QUELL_RUN_DIR, {{c[0], original.substr(0, original.size() / 2)}});
        EXPECT_NE(RunAndClose("", run.Path()).find(c[1]), std::string::npos);
    }
}

}  // namespace
