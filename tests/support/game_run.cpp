#include "support/game_run.h"

#include "support/game_process.h"
#include "support/temp_folder.h"

namespace test_support {

GameRun RunGameAndClose(const std::string& program, const std::string& workingFolder,
                        const std::string& profileFolder, const GameRunOptions& options) {
    GameRun run;
    X11Display x11;
    if (!x11.IsOpen()) {
        run.output = "no X display (run under xvfb-run)";
        return run;
    }
    TempFolder outputFolder;
    std::map<std::string, std::string> environment = options.environment;
    environment.insert({{"UserProfile", profileFolder}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}});
    GameProcess game(program, workingFolder, environment, outputFolder.Path(), options.closedOutput);
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), 30.0);
    run.windowOpened = window.has_value();
    if (window) {
        run.windowSize = x11.GetSize(*window);
        if (options.whileOpen) options.whileOpen(*window);
        // From this last line of the set-up on, a close request reaches the pump.
        run.setUpFinished = game.WaitForOutput("shaderModel4 = ", 30.0);
        if (options.closedOutput) game.CloseOutput();
        x11.SendDeleteWindow(*window);
        run.exitStatus = game.WaitForExit(30.0);
    }
    run.output = game.StandardOutput() + game.StandardError();
    return run;
}

}  // namespace test_support
