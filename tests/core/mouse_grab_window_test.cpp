// The mouse grab in a full-screen window, where SDL holds the input grab and
// reads the pointer as relative motion once the cursor is hidden: entering
// play from a menu click must start with the view where the level puts it,
// wherever the pointer was, and real movements must still reach the look.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "input_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }

constexpr int kW = 800;
constexpr int kH = 600;

class MouseGrab : public ::testing::Test {
protected:
    struct Started {
        test_support::TempProfile profile;
        test_support::LogCapture log;
        test_support::X11Display server;
        bool opened = false;
    };
    // Full screen at 800 x 600 on the larger test screen, as the game opens.
    static void SetUpTestSuite() {
        started = new Started();
        Sys().SetVideoModeSource([] {
            VideoMode mode;
            mode.width = kW;
            mode.height = kH;
            mode.fullScreen = true;
            mode.available = true;
            return std::vector<VideoMode>{mode};
        });
        Sys().Init();
        started->opened = Sys().InitGL();
        Input().Init();
    }
    void SetUp() override {
        ASSERT_TRUE(started->opened) << "no window (run under xvfb-run with SDL_VIDEODRIVER=x11)";
        ASSERT_TRUE(Sys().IsFullScreen() && (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN));
    }
    void TearDown() override { Sys().ReleaseMouse(); }
    // One frame's poll of the pointer.
    static Vector Poll() {
        Input().Update();
        return Input().GetMousePosition();
    }
    static inline Started* started = nullptr;
};

TEST_F(MouseGrab, TheFirstFramesAfterTheGrabReadThePointerAtTheCentre) {
    // Where a menu button may have been clicked, in SDL's window pixels.
    const int clicks[][2] = {{100, 100}, {700, 550}, {400, 40}, {30, 300}};
    for (const auto& click : clicks) {
        SDL_WarpMouse(Uint16(click[0]), Uint16(click[1]));
        const Vector before = Poll();
        ASSERT_GT(std::abs(before.x) + std::abs(before.y), 0.3f) << "the pointer did not leave the centre";
        Sys().GrabMouse();
        Sys().CenterMouse();  // the look of the frame that entered play
        for (int frame = 1; frame <= 3; ++frame) {
            const Vector seen = Poll();
            EXPECT_TRUE(seen.x == 0.0f && seen.y == 0.0f)
                << "frame " << frame << " after a grab with the pointer at (" << click[0] << ", " << click[1]
                << ") reads (" << seen.x << ", " << seen.y << ")";
            Sys().CenterMouse();
        }
        Sys().ReleaseMouse();
    }
}

TEST_F(MouseGrab, ARealMovementAfterTheGrabStillReachesThePointer) {
    SDL_WarpMouse(200, 200);
    Poll();
    Sys().GrabMouse();
    Sys().CenterMouse();
    Poll();
    Sys().CenterMouse();
    ASSERT_EQ(0, std::system("xdotool mousemove_relative -- 40 0 >/dev/null 2>&1"));
    // The X server delivers the movement when it gets to it, later on a busy
    // machine: waited for, within a generous bound, then measured.
    Vector moved = Poll();
    for (const Uint32 start = SDL_GetTicks(); moved.x == 0.0f && moved.y == 0.0f && SDL_GetTicks() - start < 10000;) {
        SDL_Delay(10);
        moved = Poll();
    }
    EXPECT_NEAR(moved.x, 40.0f / (kW / 2), 0.02f);
    EXPECT_NEAR(moved.y, 0.0f, 0.02f);
}

}  // namespace
