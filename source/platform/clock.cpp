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

// Running: clock value = steady seconds - origin. Stopped: the standing value.
std::atomic<double> origin{0.0};
std::atomic<double> standing{0.0};
std::atomic<bool> stopped{false};

}  // namespace

double GetClockTime() { return stopped.load() ? standing.load() : SteadySeconds() - origin.load(); }

void SetClockTime(double seconds) {
    standing.store(seconds);
    origin.store(SteadySeconds() - seconds);
}

void StopClock() {
    if (stopped.load()) return;
    standing.store(GetClockTime());
    stopped.store(true);
}

void StartClock() {
    if (!stopped.load()) return;
    origin.store(SteadySeconds() - standing.load());
    stopped.store(false);
}

}  // namespace platform
