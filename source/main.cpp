// The game's entry point: brings the modules up in their fixed order, runs
// the frame loop with the physics and collision threads, and shuts the
// modules down in their fixed order. Reads no command-line arguments.
#include <csignal>
#include <cstdlib>

#include "main/frame_loop.h"
#include "main/start_up.h"

int main() {
    // A closed standard output (the log piped into a pager that has quit)
    // must not end the game: the failed write is simply lost.
    std::signal(SIGPIPE, SIG_IGN);
    if (!StartGame()) return EXIT_FAILURE;
    MainLoop();
    ShutDownGame();
    return EXIT_SUCCESS;
}
