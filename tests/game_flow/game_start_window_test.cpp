// The real game started as a player starts it: the slides show at once and
// play while level 1 loads (once), a key after the load ends them, and a
// window closed while the level still loads ends the game cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "resource_manager.h"
#include "support/game_process.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 640, kHeight = 480;
const std::string kWindowed = "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                              "key=\"640\" /><Setting ID=\"screen_height\" key=\"480\" /></Settings>\n";
constexpr const char* kSlidesOver = "splash screen over";

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// What one look at the window saw: a grid of 16 x 12 points and the centre.
struct Look {
    size_t colours = 0;
    std::optional<ScreenColor> centre;
};

Look LookAt(unsigned long window) {
    std::vector<std::pair<int, int>> points;
    for (int row = 0; row < 12; ++row)
        for (int column = 0; column < 16; ++column)
            points.emplace_back(kWidth * (2 * column + 1) / 32, kHeight * (2 * row + 1) / 24);
    points.emplace_back(kWidth / 2, kHeight / 2);
    const std::vector<ScreenColor> shown = ReadWindowPixels(window, points);
    Look look;
    if (shown.empty()) return look;
    std::set<int> colours;
    for (const ScreenColor& c : shown) colours.insert(c.r << 16 | c.g << 8 | c.b);
    look.colours = colours.size();
    look.centre = shown.back();
    return look;
}

// A key held long enough for the game's once-per-frame look at the keyboard.
void PressKey(unsigned long window) {
    const std::string command = "xdotool windowfocus --sync " + std::to_string(window) +
                                " keydown space sleep 0.15 keyup space >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

class GameStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x11.IsOpen()) << "no X display (run under xvfb-run)";
        profile.WriteFile("The Quellbrand/settings.xml", kWindowed);
    }

    // Starts the game in `runFolder` and waits for its window.
    void Start(const std::string& runFolder = QUELL_RUN_DIR) {
        game = std::make_unique<GameProcess>(
            QUELL_RUN_DIR "/quellbrand", runFolder,
            std::map<std::string, std::string>{
                {"UserProfile", profile.Path()}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}},
            output.Path());
        const auto found = x11.WaitForWindow("The Quellbrand", game->Pid(), 30.0);
        ASSERT_TRUE(found) << game->StandardOutput();
        window = *found;
    }

    // Looks until one shows a picture (the window's first frames are drawn
    // while the modules start); the time it came.
    Clock::time_point WaitForAPicture() {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (LookAt(window).colours < 8 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_LT(Clock::now(), deadline) << "no picture in the window";
        return Clock::now();
    }

    // Closes the window as a player would; the game's whole output.
    std::string CloseAndCheckTheExit() {
        x11.SendDeleteWindow(window);
        const std::optional<int> status = game->WaitForExit(60.0);
        const std::string out = game->StandardOutput() + game->StandardError();
        EXPECT_TRUE(status && *status == 0) << "status " << status.value_or(999) << "\n" << out;
        return out;
    }

    X11Display x11;
    TempFolder profile;
    TempFolder output;
    std::unique_ptr<GameProcess> game;
    unsigned long window = 0;
};

TEST_F(GameStart, TheSlidesPlayWhileTheFirstLevelLoadsOnce) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto studio = ResourceManager().LoadTexture(std::string(QUELL_RUN_DIR) +
                                                      "/resource/art assets/splash_screens/studio_logo.png");
    ASSERT_TRUE(studio->data);
    const uint32_t studioCentre = studio->GetPixel(studio->width / 2, studio->height / 2);
    WaitForAPicture();
    // Each slide fades to black at its end: a look may catch that moment.
    // How many looks fit into the show depends on the machine's speed; that
    // the show went on past its first slide does not.
    int looks = 0, fadedLooks = 0;
    bool studioSeen = false, laterSlideSeen = false;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (game->StandardOutput().find(kSlidesOver) == std::string::npos && Clock::now() < deadline) {
        const Look look = LookAt(window);
        ++looks;
        if (look.colours < 8) ++fadedLooks;
        const bool studio = Shows(look.centre, studioCentre, 6);
        laterSlideSeen = laterSlideSeen || (studioSeen && !studio && look.colours >= 8);
        studioSeen = studioSeen || studio;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_LE(fadedLooks * 6, looks) << "a window without a picture too often";
    EXPECT_TRUE(studioSeen);
    EXPECT_TRUE(laterSlideSeen) << "the slides ended early";
    const std::string out = CloseAndCheckTheExit();
    for (const char* line : {"loading the level", "Starting LoadLevel()", "level Loaded", kSlidesOver})
        EXPECT_EQ(CountOf(out, line), 1) << line;
    EXPECT_EQ(CountOf(out, "ERROR"), 0) << out;
}

TEST_F(GameStart, AKeyAfterTheLoadEndsTheSlides) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto firstPicture = WaitForAPicture();
    ASSERT_TRUE(game->WaitForOutput("level Loaded", 60.0)) << game->StandardOutput();
    const double loaded = SecondsSince(firstPicture);
    const auto firstKey = Clock::now();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (game->StandardOutput().find(kSlidesOver) == std::string::npos && Clock::now() < deadline) {
        PressKey(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const double afterKey = SecondsSince(firstKey);
    EXPECT_LT(afterKey, 3.0) << "the slides went on after a key";
    if (loaded < 6.0) {
        EXPECT_LT(SecondsSince(firstPicture), 9.0) << "the slides were not cut short";
    }
    CloseAndCheckTheExit();
}

// main waits for the loader before the modules it uses shut down. The run
// folder's first level script waits three seconds before it runs the real
// one, so that the close surely comes while the level loads.
TEST_F(GameStart, AWindowClosedWhileTheLevelLoadsEndsTheGameCleanly) {
    namespace fs = std::filesystem;
    TempFolder run;
    for (const fs::directory_entry& entry : fs::directory_iterator(QUELL_RUN_DIR))
        if (entry.path().filename() != "scripts") fs::create_symlink(entry.path(), fs::path(run.Path()) / entry.path().filename());
    fs::create_directory(run.Path() + "/scripts");
    for (const fs::directory_entry& entry : fs::directory_iterator(QUELL_RUN_DIR "/scripts"))
        if (entry.path().filename() != "load_level_1.lua")
            fs::create_symlink(entry.path(), fs::path(run.Path()) / "scripts" / entry.path().filename());
    run.WriteFile("scripts/load_level_1.lua",
                  "os.execute('sleep 3')\ndofile('" QUELL_RUN_DIR "/scripts/load_level_1.lua')\n");
    ASSERT_NO_FATAL_FAILURE(Start(run.Path()));
    ASSERT_TRUE(game->WaitForOutput("loading the level", 30.0)) << game->StandardOutput();
    const std::string out = CloseAndCheckTheExit();
    // The load was still running when the close came, and ended before the game.
    EXPECT_TRUE(InOrder(out, {"loading the level", "Quit requested", "level Loaded"})) << out;
    EXPECT_EQ(CountOf(out, kSlidesOver), 0);
}

}  // namespace
