// The System with a real window under the test's X server: start-up with
// windowed settings, the OpenGL checks, the event pump, the mouse grab and the
// run-time resolution change.
#include <gtest/gtest.h>

#include <SDL.h>


#include "input_manager.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace {

using test_support::TempProfile;

class SystemWindow : public ::testing::Test {
protected:
    void SetUp() override {
        profile.WriteFile("The Quellbrand/settings.xml",
                          "<Settings><Setting ID=\"full_screen\" key=\"0\" />"
                          "<Setting ID=\"screen_width\" key=\"640\" />"
                          "<Setting ID=\"screen_height\" key=\"480\" /></Settings>");
        testing::internal::CaptureStdout();
        system.Init();
        opened = system.InitGL();
    }
    void TearDown() override {
        system.Kill();
        testing::internal::GetCapturedStdout();
    }
    void Push(const SDL_Event& event) {
        SDL_Event copy = event;
        ASSERT_EQ(0, SDL_PushEvent(&copy));
    }
    SDL_Event KeyDown(Uint16 unicode) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = SDLK_x;
        event.key.keysym.unicode = unicode;
        return event;
    }

    test_support::X11Display x11;  // holds the server up across tests
    TempProfile profile;
    System system;
    bool opened = false;
};

TEST_F(SystemWindow, StartsPausedInTheConfiguredWindowWithAUsableDriver) {
    ASSERT_TRUE(opened) << system.GetLogText();
    EXPECT_TRUE(system.IsPaused());
    EXPECT_FALSE(system.IsFullScreen());
    ASSERT_NE(nullptr, system.screen);
    EXPECT_EQ(640, system.screen->w);
    EXPECT_EQ(480, system.screen->h);
    EXPECT_EQ(12u, system.videoModes.size());
    const std::string log = system.GetLogText();
    EXPECT_EQ(std::string::npos, log.find("not supported")) << log;
    EXPECT_NE(std::string::npos, log.find("shaderModel4 = ")) << log;
    EXPECT_TRUE(system.majorGLSLVersion > 1 ||
                (system.majorGLSLVersion == 1 && system.minorGLSLVersion >= 20));
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("The Quellbrand", title);
}

TEST_F(SystemWindow, EventPumpQuitsOnACloseRequestAndLogsIt) {
    ASSERT_TRUE(opened);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    system.Update();
    EXPECT_FALSE(system.running.load());
    EXPECT_NE(std::string::npos, system.GetLogText().find("Quit requested\n\n"));
}

TEST_F(SystemWindow, TypedCharactersReachTheTextBufferOnlyInTextInputMode) {
    ASSERT_TRUE(opened);
    InputManager* input = Module<InputManager>::Instance();
    input->ClearText();
    Push(KeyDown('q'));
    system.Update();
    EXPECT_EQ("", input->GetText());

    system.SetTextInputMode(true);
    Push(KeyDown('q'));
    Push(KeyDown(13));
    system.Update();
    EXPECT_EQ("q\n", input->GetText());
    system.SetTextInputMode(false);
    input->ClearText();
    EXPECT_TRUE(system.running.load());
}

TEST_F(SystemWindow, GrabCentresTheMouseAndReleaseGivesItBack) {
    ASSERT_TRUE(opened);
    InputManager* input = Module<InputManager>::Instance();
    input->SetMousePosition(Vector(0.5f, 0.5f, 0.0f, 0.0f));
    system.GrabMouse();
    EXPECT_TRUE(system.IsMouseGrabbed());
    EXPECT_EQ(0.0f, input->GetMousePosition().x);
    EXPECT_EQ(0.0f, input->GetMousePosition().y);
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    system.ReleaseMouse();
    EXPECT_FALSE(system.IsMouseGrabbed());
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
}

TEST_F(SystemWindow, ChangeResolutionSwitchesTheWindowAndLogsEachStep) {
    ASSERT_TRUE(opened);
    system.fontSpacing = 0.5f;
    EXPECT_TRUE(system.ChangeResolution(800, 600, false));
    EXPECT_EQ(800, system.width);
    EXPECT_EQ(600, system.height);
    ASSERT_NE(nullptr, system.screen);
    EXPECT_EQ(800, system.screen->w);
    EXPECT_EQ(600, system.screen->h);
    EXPECT_FLOAT_EQ(0.7f, system.fontSpacing);
    const std::string log = system.GetLogText();
    size_t at = 0;
    for (const char* step : {"starting ChangeResolution()\n", "changing video mode\n", "graphics init\n",
                             "reloading context\n", "finished changing resolution\n"}) {
        at = log.find(step, at);
        ASSERT_NE(std::string::npos, at) << step << " missing or out of order in\n" << log;
    }
}

}  // namespace
