// Level 1 played in the real game, in this process, on the test's X server:
// main's own start-up, the splash (skipped by a key once the first load is
// in), the title's "Start Game" clicked, the second load of level 1, then keys
// and the mouse button from xdotool on the game's window, read through SDL's
// event pump as a player's would be: walking, the up-boost, the laser, and
// Escape for the pause. Every wait is bounded by a frame count.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "game_logic.h"
#include "game_states/ingame_state.h"
#include "game_states/pause_state.h"
#include "game_states/title_state.h"
#include "interface/interface_object.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace {

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

template <class State>
bool OnTop() {
    return dynamic_cast<State*>(Logic().TopState()) != nullptr;
}

class PlayWindow : public ::testing::Test {
protected:
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
    // One xdotool command on the focused game window.
    void Xdo(const std::string& arguments) {
        const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    // A key or button held for `frames` frames of the game.
    void Hold(const std::string& down, const std::string& up, int frames) {
        Xdo(down);
        Frames(frames);
        Xdo(up);
        Frames(2);
    }
    // A key or button held until `done`, at most `limit` frames; whether it
    // came. What a held key does is paced by the game's clock, not by frames:
    // under a slow renderer the up-boost is spent and the player back on the
    // ground, or a walk past the terrain's edge, well within a fixed count.
    bool HoldUntil(const std::string& down, const std::string& up, const std::function<bool()>& done,
                   int limit) {
        Xdo(down);
        const bool came = RunUntil(done, limit);
        Xdo(up);
        Frames(2);
        return came;
    }
    static Vector PlayerPosition() {
        ObjectLock lock;
        return Objects().GetGameObject(GameObject::kPlayerName)->trans;
    }
    static int PlayerShotsInTable() {
        ObjectLock lock;
        int shots = 0;
        for (const auto& entry : Objects().gameObjectList) shots += entry.second.name.rfind("playerBullet", 0) == 0;
        return shots;
    }

    test_support::TempProfile profile;
    test_support::X11Display display;
};

TEST_F(PlayWindow, TheTitleStartsLevelOneAndKeysAndTheMouseDriveThePlayer) {
    ASSERT_TRUE(display.IsOpen()) << "run under xvfb-run";
    test_support::LogCapture log;
    Sys().running.store(true);  // the capture marks the game as not running
    ASSERT_TRUE(StartGame()) << log.Text();
    const auto window = display.WaitForWindow("The Quellbrand", getpid(), 10.0);
    ASSERT_TRUE(window.has_value());
    Xdo("windowfocus --sync " + std::to_string(*window));

    // The splash: once the first load is in, a key ends the slides.
    ASSERT_TRUE(RunUntil([] { return Logic().loadingDone.load(); }, 1200)) << log.Text();
    Hold("keydown x", "keyup x", 3);
    ASSERT_TRUE(RunUntil(OnTop<TitleState>, 120)) << log.Text();

    // The title's "Start Game" button, pressed and held across frames.
    const InterfaceObject* button = Module<ObjectManager>::Instance()->interObjList.Find("Start Game");
    ASSERT_NE(nullptr, button);
    const int x = int(button->position.x + 0.5f * button->width);
    const int y = Sys().height - 1 - int(button->position.y + 0.5f * button->height);
    const std::string to = std::to_string(x) + " " + std::to_string(y);
    Xdo("mousemove --window " + std::to_string(test_support::OwnDrawingWindow()) + " " + to);
    Hold("mousedown 1", "mouseup 1", 3);
    ASSERT_TRUE(RunUntil(
        [&] {
            return OnTop<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() &&
                   log.Count("Starting LoadLevel()") == 3;
        },
        1800))
        << log.Text();
    EXPECT_EQ(2, log.Count("GameLogic::Instance().levelScript = ./scripts/load_level_1.lua"));
    Frames(30);  // the player settles on its hover height

    // Each within a second at 60 frames a second.
    const float ground = PlayerPosition().y;
    EXPECT_TRUE(HoldUntil("keydown space", "keyup space", [&] { return PlayerPosition().y - ground > 15.0f; }, 45))
        << "Space thrusts upwards";
    ASSERT_TRUE(RunUntil([&] { return PlayerPosition().y < ground + 1.0f; }, 600)) << "down again";

    const Vector forward = Objects().cameraObject.GetInvViewMatrix() * Vector(0.0f, 0.0f, -1.0f, 0.0f);
    const Vector start = PlayerPosition();
    EXPECT_TRUE(HoldUntil("keydown w", "keyup w", [&] { return (PlayerPosition() - start) * forward > 50.0f; }, 60))
        << "W walks along the camera's forward axis";

    // Shots are looked for while they fly: at a few frames a second they
    // reach a machine or the ground within the two frames after the release.
    const uint32_t shotsBefore = Logic().shotsFired;
    bool shotSeen = false;
    EXPECT_TRUE(HoldUntil("mousedown 1", "mouseup 1",
                          [&] {
                              shotSeen = shotSeen || PlayerShotsInTable() > 0;
                              return shotSeen && Logic().shotsFired - shotsBefore >= 9u;
                          },
                          60))
        << "the left button fires the laser: " << Logic().shotsFired - shotsBefore << " shots, one seen flying "
        << shotSeen;

    Hold("keydown Escape", "keyup Escape", 3);
    EXPECT_TRUE(RunUntil(OnTop<PauseState>, 10));
    EXPECT_TRUE(Sys().IsPaused());
    EXPECT_FALSE(Sys().IsMouseGrabbed());

    ShutDownGame();
}

}  // namespace
