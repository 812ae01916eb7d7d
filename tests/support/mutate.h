// Seeded random damage to a file's bytes, for the readers' fuzz tests: bit
// flips, random bytes, hostile pieces written over it, cuts and splices. A
// fixed seed gives the same inputs on every run, so a failure repeats.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace test_support {

class Mutator {
public:
    // `hostile`: pieces to write over the input (counts, numbers, markup).
    Mutator(unsigned seed, std::vector<std::string> hostile) : rng(seed), hostile(std::move(hostile)) {}

    // One to four edits of the input.
    std::string operator()(std::string bytes) {
        for (int e = 1 + int(Pick(4)); e > 0 && !bytes.empty(); --e) {
            const size_t n = bytes.size(), from = Pick(n);
            switch (Pick(5)) {
            case 0: bytes[Pick(n)] ^= char(1 << Pick(8)); break;
            case 1: bytes[Pick(n)] = char(Pick(256)); break;
            case 2: {
                const std::string& piece = hostile[Pick(hostile.size())];
                if (n >= piece.size()) bytes.replace(Pick(n - piece.size() + 1), piece.size(), piece);
                break;
            }
            case 3: bytes.resize(Pick(n + 1)); break;
            default: bytes.insert(Pick(n + 1), bytes.substr(from, Pick(n - from + 1)));
            }
        }
        return bytes;
    }

    // 4-byte little-endian counts that readers must refuse or bound.
    static std::vector<std::string> HostileWords() {
        std::vector<std::string> words;
        for (uint32_t value : {0xFFFFFFFFu, 0u, 1u, 3u, 40u, 41u, 0x7FFFFFFFu, 0x80000000u, 0x10000u})
            words.push_back({char(value), char(value >> 8), char(value >> 16), char(value >> 24)});
        return words;
    }
    // Numbers and markup that text readers must refuse or bound.
    static std::vector<std::string> HostileTexts() {
        return {"-1", "99999999999999999999", "nan", "inf", "1e39", "0", "<", "/>", "\"", "&#0;", "<!--", "]]>"};
    }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); }

    std::mt19937 rng;
    std::vector<std::string> hostile;
};

}  // namespace test_support
