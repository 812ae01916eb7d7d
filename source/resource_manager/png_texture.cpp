#include "resource_manager/png_texture.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/file_bytes.h"

namespace {

// Ancillary chunks (text, profiles) are never needed; cap what libpng keeps.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;
constexpr png_size_t kSignatureBytes = 8;

struct PngSource {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    char message[160] = "corrupt PNG";
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->at) png_error(png, "the file ends early");
    std::memcpy(out, source->bytes + source->at, count);
    source->at += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    PngSource* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source->message, sizeof source->message, "%s", message);
    png_longjmp(png, 1);
}

// Warnings are about ancillary chunks libpng has already dropped.
void OnWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp: the two functions below hold no object
// with a destructor, so nothing is skipped when it jumps out of them.
bool ReadHeader(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxTextureSide, kMaxTextureSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    // Whatever the file holds becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

class ReadStruct {
public:
    explicit ReadStruct(PngSource& source)
        : png(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning)),
          info(png ? png_create_info_struct(png) : nullptr) {
        if (info) png_set_read_fn(png, &source, ReadBytes);
    }
    ~ReadStruct() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    ReadStruct(const ReadStruct&) = delete;
    ReadStruct& operator=(const ReadStruct&) = delete;

    png_structp png;
    png_infop info;
};

}  // namespace

std::unique_ptr<Texture> DecodePngTexture(const std::string& bytes, std::string& problem) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < kSignatureBytes || png_sig_cmp(data, 0, kSignatureBytes) != 0) {
        problem = "not a PNG image";
        return nullptr;
    }
    PngSource source;
    source.bytes = data;
    source.size = bytes.size();
    ReadStruct reader(source);
    if (!reader.info) {
        problem = "out of memory";
        return nullptr;
    }
    if (!ReadHeader(reader.png, reader.info)) {
        problem = source.message;
        return nullptr;
    }
    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    auto image = std::make_unique<Texture>(width, height, 4u);
    if (!image->data || height == 0 || png_get_rowbytes(reader.png, reader.info) != image->ByteCount() / height) {
        problem = "unexpected image layout";
        return nullptr;
    }
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = image->data + std::size_t(y) * width * 4;
    if (!ReadRows(reader.png, reader.info, rows.data())) {
        problem = source.message;
        return nullptr;
    }
    return image;
}

std::unique_ptr<Texture> LoadPngTexture(const std::string& path, std::string& problem) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, kMaxTextureFileBytes, bytes, problem)) return nullptr;
    return DecodePngTexture(bytes, problem);
}
