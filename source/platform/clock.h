// The game clock: a steady high-resolution timer read and set in seconds.
// Setting it shifts the origin so that the next read continues from the value
// set. Any thread may read it; only the main thread (or a test) sets it.
#pragma once

namespace platform {

double GetClockTime();
void SetClockTime(double seconds);

}  // namespace platform
