// The texture decoder: every kind of PNG becomes 8-bit RGBA, anything else
// (other formats, oversized or corrupt images, the files that broke the old
// decoder) is refused with a reason, and a seeded mutation fuzz.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>

#include "resource_manager.h"
#include "resource_manager/png_texture.h"
#include "support/log_capture.h"
#include "support/mutation.h"
#include "support/temp_folder.h"

namespace {

const std::string kHostile = std::string(QUELL_SOURCE_DIR) + "/tests/fixtures/hostile/texture/";

std::string Be32(uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return Be32(uint32_t(data.size())) + body +
           Be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

// A PNG of the given header fields whose image data is `rows` (each row
// with its filter byte already in front), compressed whole.
std::string Png(uint32_t width, uint32_t height, int depth, int colour, const std::string& rows,
                const std::string& extraChunks = "", int interlace = 0) {
    uLongf size = compressBound(uLong(rows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()));
    packed.resize(size);
    const std::string header = Be32(width) + Be32(height) + char(depth) + char(colour) + '\0' + '\0' + char(interlace);
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + extraChunks + Chunk("IDAT", packed) + Chunk("IEND", "");
}

// Bytes that must decode; null (and a failure) otherwise.
std::unique_ptr<Texture> Decoded(const std::string& bytes) {
    std::string problem;
    std::unique_ptr<Texture> texture = DecodePngTexture(bytes, problem);
    EXPECT_TRUE(texture) << problem;
    return texture;
}

// The seven Adam7 passes of an 8 x 8 grey image whose row y holds 8y.
std::string InterlacedRows() {
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};  // x, y, x step, y step
    std::string rows;
    for (const auto& pass : passes)
        for (int y = pass[1]; y < 8; y += pass[3]) {
            rows += '\0';
            for (int x = pass[0]; x < 8; x += pass[2]) rows += char(y * 8);
        }
    return rows;
}

TEST(PngTexture, EveryKindOfPngBecomesRgbaWithTheTopRowFirst) {
    // RGB: opaque alpha is added; row 0 is the file's first row.
    auto rgb = Decoded(Png(2, 2, 8, 2, std::string("\0\x01\x02\x03\x04\x05\x06\0\x07\x08\x09\x0a\x0b\x0c", 14)));
    ASSERT_TRUE(rgb && rgb->width == 2u && rgb->height == 2u && rgb->bytesPerPixel == 4u);
    EXPECT_TRUE(rgb->GetPixel(0, 0) == 0xFF030201u && rgb->GetPixel(1, 1) == 0xFF0C0B0Au);
    // Grey with alpha, 16 bits a channel: the high bytes remain.
    auto grey = Decoded(Png(1, 1, 16, 4, std::string("\0\x80\x01\x40\x02", 5)));
    EXPECT_TRUE(grey && grey->GetPixel(0, 0) == 0x40808080u);
    // A palette with a transparent second entry, two bits a pixel.
    const std::string palette = Chunk("PLTE", "\x10\x20\x30\x40\x50\x60") + Chunk("tRNS", std::string("\xFF\x00", 2));
    auto indexed = Decoded(Png(2, 1, 2, 3, std::string("\0\x40", 2), palette));
    EXPECT_TRUE(indexed && indexed->GetPixel(0, 0) == 0x00605040u && indexed->GetPixel(1, 0) == 0xFF302010u);
    // Interlaced: the seven passes are put together.
    auto woven = Decoded(Png(8, 8, 8, 0, InterlacedRows(), "", 1));
    ASSERT_TRUE(woven);
    for (unsigned y = 0; y < 8; ++y) EXPECT_EQ(woven->GetPixel(5, y), 0xFF000000u | 0x010101u * (y * 8)) << y;
}

TEST(PngTexture, OtherFormatsOversizedAndCorruptImagesAreRefused) {
    const std::string row = std::string(1, '\0') + std::string(4, '\x7f');
    std::string badCrc = Png(1, 1, 8, 6, row);
    badCrc[29] ^= 1;  // inside the header chunk's checksum
    std::string cut = Png(1, 1, 8, 6, row);
    cut.resize(cut.size() - 20);  // inside the image data
    const struct { const char* what; std::string bytes; } cases[] = {
        {"empty", ""},
        {"BMP", "BM" + std::string(60, '\0')},
        {"wider than the limit", Png(kMaxTextureSide + 1, 1, 8, 6, std::string(4 * (kMaxTextureSide + 1) + 1, '\0'))},
        {"taller than the limit", Png(1, kMaxTextureSide + 1, 8, 0, std::string(2 * (kMaxTextureSide + 1), '\0'))},
        {"zero height", Png(1, 0, 8, 6, "")},
        {"bad checksum", badCrc},
        {"cut short", cut},
        {"too little image data", Png(2, 2, 8, 6, row)},
    };
    for (const auto& test : cases) {
        std::string problem;
        EXPECT_TRUE(!DecodePngTexture(test.bytes, problem) && !problem.empty()) << test.what;
    }
}

TEST(PngTexture, FilesThatBrokeTheOldDecoderGiveAnEmptyTextureAndAnError) {
    for (const char* name : {"tga-size-overflow.tga", "png-inflate-loop.png", "png-huffman-assert.png"}) {
        test_support::LogCapture log;
        const std::unique_ptr<Texture> texture = ResourceManager().LoadTexture(kHostile + name);
        ASSERT_TRUE(texture) << name;
        EXPECT_TRUE(texture->data == nullptr && texture->width == 0u) << name;
        EXPECT_TRUE(log.Has(kHostile + name + ": ") && log.Has("Error loading texture!" + kHostile + name)) << log.Text();
    }
}

// Mutations of small valid images; half of them get their chunk checksums
// made right again, so the damage reaches the decompressor and the filters.
TEST(PngTexture, MutationFuzzNeverCrashesAndAcceptsOnlySaneImages) {
    std::string gradient;
    for (int y = 0; y < 16; ++y) {
        gradient += char(y % 5);  // every filter type
        for (int x = 0; x < 64; ++x) gradient += char(x * y);
    }
    const std::string seeds[] = {
        Png(16, 16, 8, 6, gradient),
        Png(2, 1, 2, 3, std::string("\0\x40", 2), Chunk("PLTE", "\x10\x20\x30\x40\x50\x60")),
        Png(8, 8, 8, 0, InterlacedRows(), "", 1),
    };
    std::mt19937 rng(17);
    const int cases = 20000;
    int accepted = 0;
    for (int i = 0; i < cases; ++i) {
        std::string bytes = test_support::Mutate(seeds[i % 3], rng);
        if (i % 2 == 0) {
            for (size_t at = 8; at + 12 <= bytes.size();) {  // each chunk's checksum made right
                const uint32_t length = uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
                                        uint32_t(uint8_t(bytes[at + 2])) << 8 | uint8_t(bytes[at + 3]);
                if (length > bytes.size() - at - 12) break;
                const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + at + 4), uInt(length + 4));
                bytes.replace(at + 8 + length, 4, Be32(uint32_t(crc)));
                at += 12 + length;
            }
        }
        std::string problem;
        const std::unique_ptr<Texture> texture = DecodePngTexture(bytes, problem);
        if (!texture) continue;
        ++accepted;
        EXPECT_TRUE(texture->data && texture->bytesPerPixel == 4u && texture->width <= kMaxTextureSide &&
                    texture->height <= kMaxTextureSide);
    }
    EXPECT_TRUE(accepted > 0 && accepted < cases) << accepted;
}

}  // namespace
