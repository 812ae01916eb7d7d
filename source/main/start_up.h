// The game's start-up and shutdown: every module brought up and shut down in
// its fixed order. main runs the frame loop between the two; the end-to-end
// tests call the same two functions around frames of their own.
// Main thread.
#pragma once

// Logs the build lines, starts the System, makes the profile folder, opens
// the window, initialises every module in order (with one splash frame on
// the way) and starts the physics and collision threads. False when no
// window could be opened: that is logged and the System is shut down again.
bool StartGame();

// After the last frame: logs "frame loop over, shutting down", joins the
// worker threads and a running level load, kills every module in order and
// logs "shutdown complete" as the run's last line.
void ShutDownGame();
