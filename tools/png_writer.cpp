#include "png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <iostream>
#include <vector>

namespace {

// libpng reports errors by longjmp: keep the jump inside one plain function
// that owns no C++ objects.
bool Encode(FILE* file, const RgbaImage& image, png_bytep* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const RgbaImage& image) {
    std::vector<png_bytep> rows(size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[y] = const_cast<png_bytep>(&image.pixels[size_t(y) * image.width * 4]);
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && Encode(file, image, rows.data());
    if (file && std::fclose(file) != 0) ok = false;
    if (!ok) std::cerr << "content_gen: could not write " << path << std::endl;
    return ok;
}
