// The window's title when SDL's first start fails: the System's Init meets a
// video driver that does not exist, InitGL then starts the video itself and
// opens the window. A window without the game's title cannot be found in
// the player's window list, nor by the tests' window search.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

TEST(SystemCaption, AWindowOpenedAfterAFailedFirstStartCarriesTheGamesTitle) {
    test_support::TempProfile profile;
    test_support::LogCapture log;
    test_support::X11Display server;
    ASSERT_TRUE(server.IsOpen()) << "run under xvfb-run with SDL_VIDEODRIVER=x11";
    {
        test_support::SavedVariable driver("SDL_VIDEODRIVER");
        setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
        Sys().Init();
    }
    ASSERT_TRUE(log.Has("SDL_Init failed")) << log.Text();
    ASSERT_EQ(0u, SDL_WasInit(SDL_INIT_VIDEO)) << "the first start left no video behind";

    ASSERT_TRUE(Sys().InitGL()) << log.Text();
    char* title = nullptr;
    char* iconTitle = nullptr;
    SDL_WM_GetCaption(&title, &iconTitle);
    EXPECT_STREQ("The Quellbrand", title);
    EXPECT_STREQ("The Quellbrand", iconTitle);
    EXPECT_TRUE(server.WaitForWindow("The Quellbrand", getpid(), 10.0).has_value()) << "no window of that title";
}

}  // namespace
