#include "platform/wav_check.h"

#include <algorithm>
#include <cstring>

#include "platform/file_bytes.h"

namespace platform {
namespace {

// The rates the game's sounds use and their usual neighbours; anything else
// (a rate of 0 or 1 above all) makes SDL 1.2's rate conversion overrun its
// table of filters.
constexpr std::uint32_t kSampleRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kFormatBytes = 16;

std::uint32_t Read32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

bool ReadFormat(const std::uint8_t* fmt, std::uint32_t size, WavLayout& layout, std::string& problem) {
    if (size < kFormatBytes) {
        problem = "format chunk too short";
        return false;
    }
    const std::uint16_t tag = Read16(fmt);
    layout.channels = Read16(fmt + 2);
    layout.rate = Read32(fmt + 4);
    layout.bits = Read16(fmt + 14);
    if (tag != 1 || (layout.bits != 8 && layout.bits != 16)) {
        problem = "unsupported WAV format (need 8- or 16-bit PCM), tag " + std::to_string(tag) +
                  ", " + std::to_string(layout.bits) + " bits";
        return false;
    }
    const bool knownRate = std::find(std::begin(kSampleRates), std::end(kSampleRates), layout.rate) !=
                           std::end(kSampleRates);
    if (layout.channels < 1 || layout.channels > 2 || !knownRate) {
        problem = "unsupported channel count or rate (" + std::to_string(layout.channels) +
                  " channels, " + std::to_string(layout.rate) + " Hz)";
        return false;
    }
    return true;
}

std::size_t FrameBytes(const WavLayout& layout) { return std::size_t(layout.channels) * layout.bits / 8; }

}  // namespace

bool ReadSoundFile(const std::string& file, std::vector<std::uint8_t>& bytes,
                   std::string& problem) {
    return ReadFileBytes(file, kMaxSoundFileBytes, bytes, problem);
}

bool ReadWavLayout(const std::vector<std::uint8_t>& bytes, WavLayout& layout,
                   std::string& problem) {
    const std::size_t size = bytes.size();
    const std::uint8_t* base = bytes.data();
    if (size < kRiffHeaderBytes || std::memcmp(base, "RIFF", 4) != 0 ||
        std::memcmp(base + 8, "WAVE", 4) != 0) {
        problem = "not a RIFF WAVE file";
        return false;
    }
    bool haveFormat = false;
    std::size_t offset = kRiffHeaderBytes;
    while (size - offset >= kChunkHeaderBytes) {
        const std::uint8_t* header = base + offset;
        const std::uint32_t chunkSize = Read32(header + 4);
        if (chunkSize > size - offset - kChunkHeaderBytes) {
            problem = "chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (haveFormat) {
                problem = "two format chunks";
                return false;
            }
            if (!ReadFormat(header + kChunkHeaderBytes, chunkSize, layout, problem)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat) {
                problem = "data chunk before format chunk";
                return false;
            }
            layout.dataOffset = offset + kChunkHeaderBytes;
            layout.dataBytes = chunkSize - chunkSize % FrameBytes(layout);
            if (layout.dataBytes > 0) return true;
            problem = "no samples in the data chunk";
            return false;
        }
        // Chunks are padded to an even size.
        offset += kChunkHeaderBytes + std::size_t(chunkSize) + (chunkSize & 1u);
        if (offset > size) break;
    }
    problem = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

bool CheckWavImage(const std::vector<std::uint8_t>& bytes, std::string& problem) {
    WavLayout layout;
    return ReadWavLayout(bytes, layout, problem);
}

std::vector<std::uint8_t> CanonicalWav(const std::vector<std::uint8_t>& bytes,
                                       const WavLayout& layout) {
    const std::uint16_t frameBytes = std::uint16_t(FrameBytes(layout));
    const std::uint32_t dataBytes = std::uint32_t(layout.dataBytes);
    std::vector<std::uint8_t> out;
    out.reserve(kRiffHeaderBytes + 2 * kChunkHeaderBytes + kFormatBytes + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, std::uint32_t(4 + 2 * kChunkHeaderBytes + kFormatBytes) + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, kFormatBytes);
    Put16(out, 1);
    Put16(out, layout.channels);
    Put32(out, layout.rate);
    Put32(out, layout.rate * frameBytes);
    Put16(out, frameBytes);
    Put16(out, layout.bits);
    PutTag(out, "data");
    Put32(out, dataBytes);
    out.insert(out.end(), bytes.begin() + std::ptrdiff_t(layout.dataOffset),
               bytes.begin() + std::ptrdiff_t(layout.dataOffset + dataBytes));
    return out;
}

}  // namespace platform
