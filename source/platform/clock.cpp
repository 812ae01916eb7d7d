#include "platform/clock.h"

#include <atomic>
#include <chrono>

namespace platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

double SteadySeconds() {
    static const SteadyClock::time_point start = SteadyClock::now();
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// Clock value = steady seconds - origin.
std::atomic<double> origin{0.0};

}  // namespace

double GetClockTime() { return SteadySeconds() - origin.load(); }

void SetClockTime(double seconds) { origin.store(SteadySeconds() - seconds); }

}  // namespace platform
