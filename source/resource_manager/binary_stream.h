// The primitive encoding of the game's binary files (meshes, skeletons,
// animations, the score file): 4-byte little-endian int32 and float, bools as
// int32, strings as an int32 length and that many bytes, no padding.
//
// ByteReader walks a block already in memory and checks every read against
// the bytes left, so a hostile count or length fails the read instead of
// allocating or looping without bound. The stream overloads serve files that
// are read or written piece by piece. Any thread; no shared state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

class ByteReader {
public:
    ByteReader(const unsigned char* bytes, size_t size) : bytes(bytes), size(size) {}

    // Each returns false, leaving the output untouched, once the block is
    // exhausted or an earlier read failed (failure is sticky).
    bool ReadBytes(void* out, size_t n);
    // The next n bytes to decode in place, or null (the read then fails).
    const unsigned char* Take(size_t n);
    bool ReadInt(int32_t& value);
    bool ReadFloat(float& value);
    bool ReadBool(bool& value);
    bool ReadString(std::string& value);
    // A counted array's count: fails when negative or when count elements of
    // at least minElementBytes each cannot fit in the bytes left.
    bool ReadCount(size_t minElementBytes, uint32_t& count);

    // Marks the read as failed with a reason (the first reason is kept).
    bool Fail(const std::string& reason);

    size_t Position() const { return at; }
    size_t BytesLeft() const { return size - at; }
    bool Failed() const { return failed; }
    const std::string& FailureReason() const { return reason; }

private:
    const unsigned char* bytes;
    size_t size;
    size_t at = 0;
    bool failed = false;
    std::string reason;
};

// Little-endian decoding of 4 bytes, whatever the host's byte order.
inline uint32_t DecodeWord(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t DecodeInt(const unsigned char* p) {
    uint32_t bits = DecodeWord(p);
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline float DecodeFloat(const unsigned char* p) {
    uint32_t bits = DecodeWord(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Writers: a failed write shows in the stream's state.
void WriteInt(std::ostream& out, int32_t value);
void WriteFloat(std::ostream& out, float value);
void WriteBool(std::ostream& out, bool value);
void WriteString(std::ostream& out, const std::string& value);

// Checked stream readers; false on a short read. ReadString refuses a
// negative length or one above maxLength without reading the characters.
bool ReadInt(std::istream& in, int32_t& value);
bool ReadFloat(std::istream& in, float& value);
bool ReadString(std::istream& in, std::string& value, size_t maxLength);
