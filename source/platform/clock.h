// The game clock: a steady high-resolution timer read and set in seconds.
// Setting it shifts the origin so that the next read continues from the value
// set. Any thread may read it; only the main thread (or a test) sets, stops
// or starts it.
//
// A stopped clock reads the value last set (or the reading it was stopped at)
// until it is set again or started: a test that steps time itself, frame by
// frame, then sees exactly the times it set, however slowly the frame runs.
#pragma once

namespace platform {

double GetClockTime();
void SetClockTime(double seconds);
// Stands the clock still at its current reading. Safe to repeat.
void StopClock();
// Runs the clock on from its current reading. Safe to repeat.
void StartClock();

}  // namespace platform
