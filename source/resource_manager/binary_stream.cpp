#include "resource_manager/binary_stream.h"

#include <cstring>

namespace {

void EncodeLittleEndian(uint32_t bits, unsigned char* p) {
    for (int i = 0; i < 4; ++i) p[i] = (bits >> (8 * i)) & 0xFF;
}

uint32_t FloatToBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void WriteWord(std::ostream& out, uint32_t bits) {
    unsigned char raw[4];
    EncodeLittleEndian(bits, raw);
    out.write(reinterpret_cast<const char*>(raw), 4);
}

bool ReadWord(std::istream& in, unsigned char (&raw)[4]) {
    return bool(in.read(reinterpret_cast<char*>(raw), 4));
}

}  // namespace

// ---- ByteReader ----------------------------------------------------------------

bool ByteReader::Fail(const std::string& why) {
    if (!failed) reason = why + " at byte " + std::to_string(at);
    failed = true;
    return false;
}

const unsigned char* ByteReader::Take(size_t n) {
    if (failed) return nullptr;
    if (n > BytesLeft()) {
        Fail("unexpected end of file");
        return nullptr;
    }
    static const unsigned char nothing = 0;  // an empty take from an empty block
    const unsigned char* start = bytes ? bytes + at : &nothing;
    at += n;
    return start;
}

bool ByteReader::ReadBytes(void* out, size_t n) {
    const unsigned char* p = Take(n);
    if (p && n > 0) std::memcpy(out, p, n);
    return p != nullptr;
}

bool ByteReader::ReadInt(int32_t& value) {
    const unsigned char* p = Take(4);
    if (p) value = DecodeInt(p);
    return p != nullptr;
}

bool ByteReader::ReadFloat(float& value) {
    const unsigned char* p = Take(4);
    if (p) value = DecodeFloat(p);
    return p != nullptr;
}

bool ByteReader::ReadBool(bool& value) {
    int32_t raw = 0;
    if (!ReadInt(raw)) return false;
    value = raw != 0;
    return true;
}

bool ByteReader::ReadString(std::string& value) {
    int32_t length = 0;
    if (!ReadInt(length)) return false;
    if (length < 0 || size_t(length) > BytesLeft())
        return Fail("string length " + std::to_string(length) + " out of range");
    value.assign(reinterpret_cast<const char*>(bytes + at), size_t(length));
    at += size_t(length);
    return true;
}

bool ByteReader::ReadCount(size_t minElementBytes, uint32_t& count) {
    int32_t raw = 0;
    if (!ReadInt(raw)) return false;
    if (raw < 0) return Fail("negative count " + std::to_string(raw));
    if (minElementBytes > 0 && size_t(raw) > BytesLeft() / minElementBytes)
        return Fail("count " + std::to_string(raw) + " larger than the file");
    count = uint32_t(raw);
    return true;
}

// ---- Streams ---------------------------------------------------------------------

void WriteInt(std::ostream& out, int32_t value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteWord(out, bits);
}

void WriteFloat(std::ostream& out, float value) { WriteWord(out, FloatToBits(value)); }

void WriteBool(std::ostream& out, bool value) { WriteInt(out, value ? 1 : 0); }

void WriteString(std::ostream& out, const std::string& value) {
    WriteInt(out, int32_t(value.size()));
    out.write(value.data(), std::streamsize(value.size()));
}

bool ReadInt(std::istream& in, int32_t& value) {
    unsigned char raw[4];
    if (!ReadWord(in, raw)) return false;
    value = DecodeInt(raw);
    return true;
}

bool ReadFloat(std::istream& in, float& value) {
    unsigned char raw[4];
    if (!ReadWord(in, raw)) return false;
    value = DecodeFloat(raw);
    return true;
}

bool ReadString(std::istream& in, std::string& value, size_t maxLength) {
    int32_t length = 0;
    if (!ReadInt(in, length)) return false;
    if (length < 0 || size_t(length) > maxLength) return false;
    std::string text(size_t(length), '\0');
    if (length > 0 && !in.read(&text[0], length)) return false;
    value = std::move(text);
    return true;
}
