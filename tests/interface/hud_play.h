// Level 1 in the real game, in this process, on the test's X server at
// 1024 x 768, for the head-up display's tests: main's own start-up, the
// splash ended by a key once the first load is in, the title's "Start Game"
// clicked, the level's second load, and the display built over it. The interface pictures are flat white (installed
// under their real names), so each widget shows its own colour over the
// scene, unless a fixture keeps the game's own. Every wait is bounded by a
// frame count.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "game_states/menu_messages.h"
#include "game_states/title_state.h"
#include "interface/hud_window.h"
#include "interface_manager.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "support/log_capture.h"
#include "support/own_pictures.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace hud_play {

inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline System& Sys() { return *Module<System>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline InterfaceObjectList& Registry() { return Objects().interObjList; }

// The window at the size the display's places are checked at.
inline const std::string kWindowed = "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                              "key=\"1024\" /><Setting ID=\"screen_height\" key=\"768\" /></Settings>\n";

template <class State>
bool OnTop() {
    return dynamic_cast<State*>(Logic().TopState()) != nullptr;
}

class HudPlay : public ::testing::Test {
protected:
    HudPlay() : HudPlay(hud_window::FlatInterfacePictures()) {}
    // `pictures` replace the run folder's files of those names; none keeps
    // the game's own pictures.
    explicit HudPlay(const std::map<std::string, std::string>& pictures) : run(QUELL_RUN_DIR, pictures) {}

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }

    // Frames of the game's own loop until `done`, at most `limit`.
    static bool RunUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit && Sys().running.load(); ++i) {
            if (done()) return true;
            RunFrame(true);
        }
        return done();
    }
    static void Frames(int count) { RunUntil([] { return false; }, count); }
    // One xdotool command, on the game's focused window.
    void Xdo(const std::string& arguments) {
        const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }

    // From the start to level 1 in play with its display built.
    void StartLevelOne(test_support::LogCapture& log) {
        ASSERT_TRUE(display.IsOpen()) << "run under xvfb-run";
        profile.WriteFile("The Quellbrand/settings.xml", kWindowed);
        Sys().running.store(true);  // the capture marks the game as not running
        ASSERT_TRUE(StartGame()) << log.Text();
        const auto shown = display.WaitForWindow("The Quellbrand", getpid(), 10.0);
        ASSERT_TRUE(shown.has_value());
        window = *shown;
        Xdo("windowfocus --sync " + std::to_string(window));
        ASSERT_TRUE(RunUntil([] { return Logic().loadingDone.load(); }, 1200)) << log.Text();
        Xdo("keydown x");
        Frames(3);
        Xdo("keyup x");
        ASSERT_TRUE(RunUntil([] { return OnTop<TitleState>() && Registry().Contains("Start Game"); }, 120))
            << log.Text();
        Click("Start Game");
        ASSERT_TRUE(RunUntil(
            [&] {
                return OnTop<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() &&
                       log.Count("Starting LoadLevel()") == 3 && Registry().Contains("minimap");
            },
            1800))
            << log.Text();
        Frames(10);  // the player settles on its hover height
    }

    // A press of the mouse button on the middle of the registered widget of
    // that name, held for a few frames as a player's would be.
    void Click(const std::string& name) {
        const InterfaceObject* widget = Registry().Find(name);
        ASSERT_NE(widget, nullptr) << name;
        const int x = int(widget->position.x + widget->width / 2);
        const int y = Sys().height - 1 - int(widget->position.y + widget->height / 2);
        Xdo("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " + std::to_string(y));
        Frames(2);
        Xdo("mousedown 1");
        Frames(3);
        Xdo("mouseup 1");
        Frames(1);
    }

    // Interface points (y up) of the game's window.
    static std::vector<test_support::ScreenColor> ShownAt(std::vector<std::pair<int, int>> points) {
        for (auto& point : points) point.second = Sys().height - 1 - point.second;
        return test_support::ReadOwnWindowPixels(points);
    }

    test_support::TempProfile profile;
    test_support::RunFolderWith run;
    test_support::WorkingIn working{run.Path()};
    test_support::X11Display display;
    unsigned long window = 0;
};

}  // namespace hud_play
