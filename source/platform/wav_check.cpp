#include "platform/wav_check.h"

#include <cstring>
#include <fstream>

namespace platform {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

bool CheckFormat(const std::uint8_t* fmt, std::uint32_t size, std::string& problem) {
    if (size < 16) {
        problem = "format chunk too short";
        return false;
    }
    std::uint16_t tag = Read16(fmt);
    std::uint16_t channels = Read16(fmt + 2);
    std::uint32_t rate = Read32(fmt + 4);
    std::uint16_t bits = Read16(fmt + 14);
    if (tag != 1 || (bits != 8 && bits != 16)) {
        problem = "unsupported WAV format (need 8- or 16-bit PCM), tag " + std::to_string(tag) +
                  ", " + std::to_string(bits) + " bits";
        return false;
    }
    if (channels < 1 || channels > 2 || rate < 1000 || rate > 192000) {
        problem = "unsupported channel count or rate";
        return false;
    }
    return true;
}

}  // namespace

bool ReadSoundFile(const std::string& file, std::vector<std::uint8_t>& bytes,
                   std::string& problem) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) {
        problem = "cannot open file";
        return false;
    }
    std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxSoundFileBytes) {
        problem = "file too large or unreadable";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        problem = "read error";
        return false;
    }
    return true;
}

bool CheckWavImage(const std::vector<std::uint8_t>& bytes, std::string& problem) {
    const std::size_t size = bytes.size();
    const std::uint8_t* base = bytes.data();
    if (size < 12 || std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0) {
        problem = "not a RIFF WAVE file";
        return false;
    }
    bool haveFormat = false;
    std::size_t offset = 12;
    while (size - offset >= 8) {
        const std::uint8_t* header = base + offset;
        std::uint32_t chunkSize = Read32(header + 4);
        if (chunkSize > size - offset - 8) {
            problem = "chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (!CheckFormat(header + 8, chunkSize, problem)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (haveFormat) return true;
            problem = "data chunk before format chunk";
            return false;
        }
        // Chunks are padded to an even size.
        offset += 8 + std::size_t(chunkSize) + (chunkSize & 1u);
        if (offset > size) break;
    }
    problem = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

}  // namespace platform
