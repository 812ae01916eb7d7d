// The end-of-frame pacing rule of the frame loop, as pure arithmetic: how
// long to sleep to fill a 1/60 s frame and the new smoothed time step that
// every module's next Update uses. The System applies it (System::FrameLimiter).
#pragma once

constexpr double kTargetFrameLength = 1.0 / 60.0;

struct FrameLimit {
    int sleepMilliseconds = 0;
    double frameTime = 0.0;  // the smoothed time step for the next frame
};

// `elapsed` is the frame's measured length before any sleep (0 while paused,
// because the paused clock stands still). A short frame sleeps the rest of
// the frame in whole milliseconds and counts as 1/60 s; a long one counts
// fully; each moves the step a tenth of the way. While paused the step is
// exactly 1/60 s.
FrameLimit ComputeFrameLimit(double elapsed, double frameTime, bool paused);
