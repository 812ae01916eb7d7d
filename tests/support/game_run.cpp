#include "support/game_run.h"

#include "support/game_process.h"
#include "support/temp_folder.h"

namespace test_support {

GameRun RunGameAndClose(const std::string& program, const std::string& workingFolder,
                        const std::string& profileFolder) {
    GameRun run;
    X11Display x11;
    if (!x11.IsOpen()) {
        run.output = "no X display (run under xvfb-run)";
        return run;
    }
    TempFolder outputFolder;
    GameProcess game(program, workingFolder,
                     {{"UserProfile", profileFolder}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}},
                     outputFolder.Path());
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    run.windowOpened = window.has_value();
    if (window) {
        run.windowSize = x11.GetSize(*window);
        // From this last line of the set-up on, a close request reaches the pump.
        run.setUpFinished = game.WaitForOutput("shaderModel4 = ", 30.0);
        x11.SendDeleteWindow(*window);
        run.exitStatus = game.WaitForExit(30.0);
    }
    run.output = game.StandardOutput() + game.StandardError();
    return run;
}

}  // namespace test_support
