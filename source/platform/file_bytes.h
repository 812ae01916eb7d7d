// Reading a whole untrusted file into memory with a size limit checked
// before anything is allocated. Any thread; no shared state; never logs.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace platform {

// Bytes is std::string or a std::vector of a byte type. False with problem
// set when the file cannot be opened or read, or holds more than maxBytes.
template <class Bytes>
bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes, Bytes& bytes, std::string& problem) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        problem = "cannot open file";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) {
        problem = "unreadable or larger than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(&bytes[0]), size)) {
        problem = "read failed";
        return false;
    }
    return true;
}

}  // namespace platform
