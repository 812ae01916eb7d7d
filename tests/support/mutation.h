// Seeded random mutations for fuzzing the readers of untrusted files: bit
// flips, overwritten bytes, hostile pieces written over the input (32-bit
// little-endian counts and sizes for binary files, numbers and markup for
// text), cuts and splices. A fixed seed gives the same inputs every run.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace test_support {

inline const std::vector<std::string>& HostileWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> made;
        for (uint32_t w : {0xFFFFFFFFu, 0u, 1u, 3u, 40u, 41u, 0x7FFFFFFFu, 0x80000000u, 0x10000u})
            made.push_back({char(w & 0xFF), char(w >> 8 & 0xFF), char(w >> 16 & 0xFF), char(w >> 24 & 0xFF)});
        return made;
    }();
    return words;
}

inline const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts = {"-1",  "99999999999999999999", "nan",  "inf", "1e39", "0",
                                                   "<",   "/>",                   "\"",   "&#0;", "<!--", "]]>"};
    return texts;
}

inline std::string Mutate(std::string bytes, std::mt19937& rng,
                          const std::vector<std::string>& hostile = HostileWords()) {
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    for (int e = 1 + int(pick(4)); e > 0 && !bytes.empty(); --e) {
        const size_t n = bytes.size(), from = pick(n);
        switch (pick(5)) {
        case 0: bytes[pick(n)] ^= char(1 << pick(8)); break;
        case 1: bytes[pick(n)] = char(pick(256)); break;
        case 2: {
            const std::string& piece = hostile[pick(hostile.size())];
            if (n >= piece.size()) bytes.replace(pick(n - piece.size() + 1), piece.size(), piece);
            break;
        }
        case 3: bytes.resize(pick(n + 1)); break;
        default: bytes.insert(pick(n + 1), bytes.substr(from, pick(n - from + 1)));
        }
    }
    return bytes;
}

}  // namespace test_support
