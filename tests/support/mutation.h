// Seeded random mutations for fuzzing the readers of untrusted files: bit
// flips, overwritten bytes, hostile 32-bit little-endian words (counts and
// sizes), cuts and splices. A fixed seed gives the same inputs every run.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace test_support {

inline std::string Mutate(std::string bytes, std::mt19937& rng) {
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const uint32_t hostile[] = {0xFFFFFFFFu, 0, 1, 3, 40, 41, 0x7FFFFFFFu, 0x80000000u, 0x10000};
    for (int e = 1 + int(pick(4)); e > 0 && !bytes.empty(); --e) {
        const size_t n = bytes.size(), from = pick(n);
        switch (pick(5)) {
        case 0: bytes[pick(n)] ^= char(1 << pick(8)); break;
        case 1: bytes[pick(n)] = char(pick(256)); break;
        case 2:
            if (n >= 4) {
                const size_t at = pick(n - 3);
                const uint32_t word = hostile[pick(9)];
                for (int i = 0; i < 4; ++i) bytes[at + i] = char((word >> (8 * i)) & 0xFF);
            }
            break;
        case 3: bytes.resize(pick(n + 1)); break;
        default: bytes.insert(pick(n + 1), bytes.substr(from, pick(n - from + 1)));
        }
    }
    return bytes;
}

}  // namespace test_support
