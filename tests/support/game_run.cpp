#include "support/game_run.h"

#include "support/game_process.h"
#include "support/temp_folder.h"

namespace test_support {

namespace {

// Bounds that only spare a busy machine. A close waits for the first level's
// load to end, which under a sanitizer on a loaded machine takes a minute.
constexpr double kWindowSeconds = 60.0;
constexpr double kSetUpSeconds = 60.0;
constexpr double kExitSeconds = 180.0;

}  // namespace

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
    const auto window = x11.WaitForWindow("The Quellbrand", game.Pid(), kWindowSeconds);
    run.windowOpened = window.has_value();
    if (window) {
        run.windowSize = x11.GetSize(*window);
        if (options.whileOpen) options.whileOpen(*window);
        // From this last line of the set-up on, a close request reaches the pump.
        run.setUpFinished = game.WaitForOutput("shaderModel4 = ", kSetUpSeconds);
        if (options.closedOutput) game.CloseOutput();
        x11.SendDeleteWindow(*window);
        run.exitStatus = game.WaitForExit(kExitSeconds);
    }
    run.output = game.StandardOutput() + game.StandardError();
    return run;
}

}  // namespace test_support
