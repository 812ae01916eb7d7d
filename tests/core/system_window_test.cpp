// The System with a real window: the start-up fallback when no video mode
// qualifies, text entry through the SDL event pump, and the mouse grab,
// release and centring as the InputManager then reads the pointer.
#include <SDL.h>
#include <gtest/gtest.h>

#include "input_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }

// Started as main does, with a mode list in which nothing qualifies.
class SystemWindow : public ::testing::Test {
protected:
    // Kept to the end: the profile, the log since start-up, and a connection that keeps Xvfb up.
    struct Started {
        test_support::TempProfile profile;
        test_support::LogCapture log;
        test_support::X11Display server;
        bool opened = false;
    };
    static void SetUpTestSuite() {
        started = new Started();
        Sys().SetVideoModeSource([] { return CandidateVideoModes(); });  // none available
        Sys().Init();
        started->opened = Sys().InitGL();
        Input().Init();
    }
    void SetUp() override { ASSERT_TRUE(started->opened) << "no window (run under xvfb-run with SDL_VIDEODRIVER=x11)"; }
    static void Key(int unicode) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.unicode = Uint16(unicode);
        SDL_PushEvent(&event);
    }
    static Vector PointerAfterUpdate() {
        Input().Update();
        return Input().GetMousePosition();
    }
    static inline Started* started = nullptr;
};

TEST_F(SystemWindow, WithoutAQualifyingModeTheDefaultWindowOpens) {
    EXPECT_TRUE(started->log.Has("could not find suitable resolution!")) << started->log.Text();
    EXPECT_TRUE(Sys().width == System::kDefaultWidth && Sys().height == System::kDefaultHeight && !Sys().fullScreen);
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->w == System::kDefaultWidth && screen->h == System::kDefaultHeight);
}

TEST_F(SystemWindow, TypedCharactersReachTheTextOnlyInTextInputMode) {
    Input().ClearText();
    Key('x');
    Sys().Update();
    Sys().SetTextInputMode(true);
    for (int c : {int('A'), int('b'), 8, int('c'), 13}) Key(c);
    Sys().Update();
    Sys().SetTextInputMode(false);
    EXPECT_EQ(Input().GetText(), "Ac\n");
}

TEST_F(SystemWindow, GrabHidesAndCentresThePointerAndReleaseShowsIt) {
    SDL_WarpMouse(10, 10);
    EXPECT_LT(PointerAfterUpdate().x, -0.9f);
    Sys().GrabMouse();
    EXPECT_TRUE(Sys().IsMouseGrabbed() && SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE);
    EXPECT_FLOAT_EQ(Input().GetMousePosition().x, 0.0f) << "set at once, before the next poll";
    const Vector centred = PointerAfterUpdate();
    EXPECT_TRUE(centred.x == 0.0f && centred.y == 0.0f) << centred.x << ", " << centred.y;
    SDL_WarpMouse(1000, 20);
    EXPECT_GT(PointerAfterUpdate().x, 0.9f);
    Sys().CenterMouse();
    EXPECT_EQ(PointerAfterUpdate().x, 0.0f);
    Sys().ReleaseMouse();
    EXPECT_TRUE(!Sys().IsMouseGrabbed() && SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE);
}

}  // namespace
