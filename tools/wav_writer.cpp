#include "wav_writer.h"

#include <fstream>
#include <iostream>

namespace {

void PutLE(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

}  // namespace

bool WriteWav16(const std::string& path, const std::vector<std::int16_t>& samples, int channels,
                int rate) {
    const std::uint32_t blockAlign = 2u * channels;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVE", 4);
    out.write("fmt ", 4);
    PutLE(out, 16, 4);  // plain PCM format chunk
    PutLE(out, 1, 2);
    PutLE(out, channels, 2);
    PutLE(out, rate, 4);
    PutLE(out, rate * blockAlign, 4);
    PutLE(out, blockAlign, 2);
    PutLE(out, 16, 2);
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (std::int16_t sample : samples) PutLE(out, static_cast<std::uint16_t>(sample), 2);
    out.close();
    if (!out) {
        std::cerr << "content_gen: cannot write " << path << std::endl;
        return false;
    }
    return true;
}
