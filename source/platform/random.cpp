#include "platform/random.h"

#include <atomic>
#include <ctime>

namespace platform {
namespace {

std::atomic<unsigned int> state{1u};
std::atomic<bool> seeded{false};

}  // namespace

int Rand() {
    // Linear congruential step, updated atomically so concurrent callers never
    // observe a torn state; the upper bits are the better ones.
    unsigned int current = state.load(std::memory_order_relaxed);
    unsigned int next;
    do {
        next = current * 214013u + 2531011u;
    } while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

void SeedRandom(unsigned int seed) {
    state.store(seed);
    seeded.store(true);
}

void SeedRandomOnce() {
    bool expected = false;
    if (seeded.compare_exchange_strong(expected, true)) {
        state.store(static_cast<unsigned int>(std::time(nullptr)));
    }
}

}  // namespace platform
