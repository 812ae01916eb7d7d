// One whole run of the real game under the test's X server: started in a
// run folder with a profile folder of the test's, its window awaited, closed
// as a player would once the set-up is done, and its exit awaited. Every wait
// is bounded; a game still running at the end is killed.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "support/x11_window.h"

namespace test_support {

struct GameRun {
    bool windowOpened = false;
    std::optional<WindowSize> windowSize;  // as first mapped
    bool setUpFinished = false;            // its last set-up line was written
    std::optional<int> exitStatus;         // see GameProcess::WaitForExit
    std::string output;                    // standard output and error
};

struct GameRunOptions {
    std::map<std::string, std::string> environment;  // added to the run's own
    // Standard output through a pipe whose reader goes once the set-up is
    // done, as a pager that quits does.
    bool closedOutput = false;
    std::function<void(unsigned long window)> whileOpen;  // looks at the window before the close
};

// Runs program (the game) in workingFolder (the build's run folder, or a
// copy of it); UserProfile is profileFolder, the video driver X11, sound dummy.
GameRun RunGameAndClose(const std::string& program, const std::string& workingFolder,
                        const std::string& profileFolder, const GameRunOptions& options = {});

}  // namespace test_support
