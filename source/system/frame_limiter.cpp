#include "system/frame_limiter.h"

FrameLimit ComputeFrameLimit(double elapsed, double frameTime, bool paused) {
    // A clock set back under a running frame would give a negative length and
    // an over-long sleep; such a frame counts as empty.
    if (elapsed < 0.0) elapsed = 0.0;
    FrameLimit limit;
    if (elapsed < kTargetFrameLength) {
        limit.sleepMilliseconds = static_cast<int>((kTargetFrameLength - elapsed) * 1000.0);
        limit.frameTime = 0.9 * frameTime + 0.1 * kTargetFrameLength;
    } else {
        limit.frameTime = 0.9 * frameTime + 0.1 * elapsed;
    }
    if (paused) limit.frameTime = kTargetFrameLength;
    return limit;
}
