// FrameClock: the clock of one worker pass. The main thread publishes it with
// the pass's running and paused flags before the frame barrier, so the
// physics and collision threads read one frame start and one time step for
// the whole pass, never fields the main thread rewrites while they run.
// A plain value, any thread.
#pragma once

struct FrameClock {
    double frameStart = 0.0;  // seconds on the System clock
    double timeStep = 0.0;    // the smoothed frame time, seconds
};
