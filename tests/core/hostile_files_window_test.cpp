// The real game with hostile or damaged files where a player could put
// them: a bad picture in place of the splash image, a bad settings.xml in the
// profile, each start-up file cut in half. Each time it must open its window,
// fall back, and quit cleanly when the window is closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "support/game_run.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_support::TempFolder;

const std::string kHostile = std::string(QUELL_SOURCE_DIR) + "/tests/fixtures/hostile/";
const fs::path kSplash = "resource/art assets/splash_screens/studio_logo_loading.png";

// Fills `to` with links to everything in `from`, except that along `skipped`
// (relative) it makes real folders and leaves the last entry out.
void LinkTreeExcept(const fs::path& from, const fs::path& to, const fs::path& skipped) {
    const fs::path first = *skipped.begin();
    const fs::path rest = skipped.lexically_relative(first);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path name = entry.path().filename();
        if (name != first) {
            fs::create_symlink(entry.path(), to / name);
        } else if (rest != ".") {
            fs::create_directory(to / name);
            LinkTreeExcept(entry.path(), to / name, rest);
        }
    }
}

// Runs the game to its close; `fallback` must be in its output.
void ExpectFallbackAndCleanExit(const std::string& runFolder, const TempFolder& profile, const std::string& what,
                                const std::string& fallback) {
    const test_support::GameRun run =
        test_support::RunGameAndClose(QUELL_RUN_DIR "/quellbrand", runFolder, profile.Path());
    EXPECT_TRUE(run.windowOpened && run.setUpFinished) << what << "\n" << run.output;
    EXPECT_NE(run.output.find(fallback), std::string::npos) << what << "\n" << run.output;
    EXPECT_TRUE(run.exitStatus && *run.exitStatus == 0) << what << "\n" << run.output;
}

TEST(HostileFiles, TheGameStartsAndQuitsWithABadSplashImage) {
    for (const char* name : {"tga-size-overflow.tga", "png-inflate-loop.png", "png-huffman-assert.png"}) {
        TempFolder run, profile;
        LinkTreeExcept(QUELL_RUN_DIR, run.Path(), kSplash);
        fs::copy_file(kHostile + "texture/" + name, run.Path() / kSplash);
        ExpectFallbackAndCleanExit(run.Path(), profile, name, "Error loading texture!" + kSplash.string());
    }
}

TEST(HostileFiles, TheGameStartsAndQuitsWithABadSettingsFile) {
    std::string deep = "<?xml version=\"1.0\" ?>\n";  // the full-size case: stray closing tags, then deep nesting
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    std::vector<std::pair<std::string, std::string>> files = {{"deep.xml", deep}};
    for (const char* name : {"depth-underflow.xml", "unknown-node-quote.xml", "declaration-quote.xml",
                             "utf8-lead-at-end.xml"})
        files.emplace_back(name, test_support::ReadFile(kHostile + "xml/" + name));
    for (const auto& [name, text] : files) {
        TempFolder profile;
        profile.WriteFile("The Quellbrand/settings.xml", text);
        ExpectFallbackAndCleanExit(QUELL_RUN_DIR, profile, name, "Failed to load settings file");
    }
}

// Each further start-up file cut in half (the splash image and the settings
// file are the hostile ones above): the game says so and plays on.
TEST(HostileFiles, TheGameStartsAndQuitsWithEachStartUpFileCutInHalf) {
    const char* const cases[][2] = {
        {"resource/registry.xml", "can't load file resource/registry.xml"},
        {"resource/objectPatterns.xml", "can't load file resource/objectPatterns.xml"},
        {"resource/patterns/player.xml", "can't load file resource/patterns/player.xml"},
        {"resource/art assets/loading.png", "Error loading texture!resource/art assets/loading.png"},
    };
    for (const auto& c : cases) {
        TempFolder run, profile;
        LinkTreeExcept(QUELL_RUN_DIR, run.Path(), c[0]);
        const std::string original = test_support::ReadFile(std::string(QUELL_RUN_DIR) + "/" + c[0]);
        std::ofstream(run.Path() + "/" + c[0], std::ios::binary) << original.substr(0, original.size() / 2);
        ExpectFallbackAndCleanExit(run.Path(), profile, c[0], c[1]);
    }
}

}  // namespace
