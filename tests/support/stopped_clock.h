// The game clock stopped while a test steps time itself (set, frame, set...),
// and running again afterwards. A running clock moves on inside a frame: a
// weapon's rate, a shot's lifetime or a timed event would then depend on how
// long the frame took, which under a sanitizer on a busy machine is anything.
#pragma once

#include "platform/clock.h"

namespace test_support {

class StoppedClock {
public:
    StoppedClock() { platform::StopClock(); }
    ~StoppedClock() { platform::StartClock(); }
    StoppedClock(const StoppedClock&) = delete;
    StoppedClock& operator=(const StoppedClock&) = delete;
};

}  // namespace test_support
