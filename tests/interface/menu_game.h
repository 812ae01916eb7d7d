// The whole game in the test's process, on the test's X server, driven as a
// player drives it: main's own start-up, the splash (ended by a key once the
// first load of level 1 is in), the title; then clicks and keys from xdotool
// on the game's window, read through SDL's event pump and waited for until
// the input module has seen them. The title's picture ("tex_start") and the
// options' and the sky's ("tex_skybox") are flat colours of the test's, so a
// screen can be told by its pixels. The window is 1024 x 768. Every wait is
// bounded by frames.
#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game_logic.h"
#include "game_states/ingame_state.h"
#include "game_states/pause_state.h"
#include "game_states/title_state.h"
#include "input_manager.h"
#include "interface/interface_object.h"
#include "interface_manager.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/own_pictures.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace menu_test {

inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline System& Sys() { return *Module<System>::Instance(); }
inline InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
inline SoundManager& Sound() { return *Module<SoundManager>::Instance(); }
inline InputManager& Input() { return *Module<InputManager>::Instance(); }
inline InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }

// Opaque flat colours, red in the low byte.
constexpr uint32_t kTitleColour = 0xFF3070B0u;
constexpr uint32_t kSkyColour = 0xFF50A040u;

template <class State>
bool OnTop() {
    return dynamic_cast<State*>(Logic().TopState()) != nullptr;
}

// A flat picture in the form the registry's files take.
inline std::string FlatPng(uint32_t colour) {
    const uint32_t quadrants[4] = {colour, colour, colour, colour};
    return test_support::QuadrantPng(64, 64, quadrants);
}

class MenuGame : public ::testing::Test {
protected:
    static constexpr int kW = 1024, kH = 768;

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }

    void SetUp() override {
        ASSERT_TRUE(display.IsOpen()) << "run under xvfb-run";
        profile.WriteFile("The Quellbrand/settings.xml",
                          "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                          "key=\"1024\" /><Setting ID=\"screen_height\" key=\"768\" /></Settings>\n");
        Sys().running.store(true);  // the log capture marks the game as not running
        ASSERT_TRUE(StartGame()) << log.Text();
        started = true;
        const auto found = display.WaitForWindow("The Quellbrand", getpid(), 10.0);
        ASSERT_TRUE(found.has_value());
        window = *found;
        Xdo("windowfocus --sync " + std::to_string(window));
        ASSERT_TRUE(RunUntil([] { return Logic().loadingDone.load(); }, 1500)) << log.Text();
        HoldKey("x");
        ASSERT_TRUE(RunUntil([] { return Ui().currentState == InterfaceState::Title && TitleOnTop(); }, 200))
            << log.Text();
        Frames(2);
    }

    void TearDown() override {
        std::system("xdotool mouseup 1 keyup Escape keyup x keyup j >/dev/null 2>&1");
        if (!started) return;
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
        ShutDownGame();
    }

    static bool TitleOnTop() { return OnTop<TitleState>(); }

    // Frames of the game's own loop until `done`, at most `limit`; false
    // when it never held. With `fixedStep` each frame lasts exactly 1/60 s
    // of game time, whatever the machine's pace.
    bool RunUntil(const std::function<bool()>& done, int limit, bool fixedStep = false) {
        for (int i = 0; i < limit && Sys().running.load(); ++i) {
            if (done()) return true;
            Frame(fixedStep);
        }
        return done();
    }
    void Frames(int count, bool fixedStep = false) { RunUntil([] { return false; }, count, fixedStep); }
    void Frame(bool fixedStep = false) {
        if (fixedStep) Sys().frameTime.store(1.0 / 60.0);
        RunFrame(!fixedStep);
    }

    void Xdo(const std::string& arguments) {
        const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    // A key held for a few frames, as a player's press.
    void HoldKey(const std::string& key, int frames = 3) {
        Xdo("keydown " + key);
        Frames(frames);
        Xdo("keyup " + key);
        Frames(1);
    }
    // Frames until the input module reads `code` as down (or up), at most
    // kInputFrames: an xdotool step reaches the game when the X server and
    // the machine's load let it, not within a set number of frames.
    static constexpr int kInputFrames = 600;
    bool SeesDown(int code, bool down = true) {
        return RunUntil([&] { return Input().IsKeyDown(code) == down; }, kInputFrames);
    }
    // The pointer moved to interface pixel (x, y), y counted upwards, and
    // frames until the input module has it there.
    void PointAt(float x, float y) {
        const std::string to = std::to_string(int(x)) + " " + std::to_string(Sys().height - 1 - int(y));
        Xdo("mousemove --window " + std::to_string(test_support::OwnDrawingWindow()) + " " + to);
        const auto there = [&] {
            const Vector at = Input().GetMousePosition();
            const float px = (at.x + 1.0f) * 0.5f * float(Sys().width), py = (at.y + 1.0f) * 0.5f * float(Sys().height);
            return std::abs(px - int(x)) <= 2.0f && std::abs(py - int(y)) <= 2.0f;
        };
        EXPECT_TRUE(RunUntil(there, kInputFrames)) << "the pointer never reached " << x << ", " << y;
    }
    // The left button pressed at (x, y), held until the input module has
    // seen it down (the interface takes the click in that frame), then
    // released until it reads as up (or the click has ended the game).
    void ClickAt(float x, float y) {
        PointAt(x, y);
        Xdo("mousedown 1");
        EXPECT_TRUE(SeesDown(InputManager::kMouseLeft)) << "the press never arrived";
        Frames(2);
        Xdo("mouseup 1");
        EXPECT_TRUE(SeesDown(InputManager::kMouseLeft, false) || !Sys().running.load()) << "the release never arrived";
    }
    // A click on the middle of the registered widget of that name.
    void Click(const std::string& name) {
        const InterfaceObject* widget = Registry().Find(name);
        ASSERT_NE(nullptr, widget) << "no widget " << name << " on screen " << Ui().currentState;
        ClickAt(widget->position.x + 0.5f * widget->width, widget->position.y + 0.5f * widget->height);
    }
    // The colour shown at interface pixel (x, y).
    std::optional<test_support::ScreenColor> Shown(int x, int y) const {
        return test_support::ReadOwnWindowPixel(x, Sys().height - 1 - y);
    }
    bool ShowsColour(int x, int y, uint32_t rgba, int tolerance = 4) const {
        return test_support::Shows(Shown(x, y), rgba, tolerance);
    }
    int LevelLoads() const { return log.Count("Starting LoadLevel()"); }
    // "Start Game", then frames until play runs on level 1's second load.
    void StartPlaying() {
        const int loads = LevelLoads();
        Click("Start Game");
        ASSERT_TRUE(RunUntil(
            [&] {
                return OnTop<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() &&
                       LevelLoads() == loads + 2;
            },
            1800))
            << log.Text();
        Frames(20);
    }
    // Escape in play, then frames until the pause screen is up.
    void Pause() {
        HoldKey("Escape");
        ASSERT_TRUE(RunUntil([] { return OnTop<PauseState>() && Ui().currentState == InterfaceState::Pause; }, 30));
        Frames(2);
    }

    test_support::LogCapture log;
    test_support::TempProfile profile;
    test_support::RunFolderWith run{QUELL_RUN_DIR,
                                    {{"resource/art assets/screens/start.png", FlatPng(kTitleColour)},
                                     {"resource/art assets/screens/sky.png", FlatPng(kSkyColour)}}};
    test_support::WorkingIn working{run.Path()};
    test_support::X11Display display;
    unsigned long window = 0;
    bool started = false;
};

}  // namespace menu_test
