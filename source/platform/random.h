// The one project-wide random generator. It returns 15-bit values (0..32767)
// wherever the game would call rand(), independent of the C library's
// RAND_MAX. Seeded once at start; safe to call from any thread.
#pragma once

namespace platform {

constexpr int kRandMax = 32767;

int Rand();
void SeedRandom(unsigned int seed);
// Seeds from the wall clock the first time it is called; later calls do nothing.
void SeedRandomOnce();

}  // namespace platform
