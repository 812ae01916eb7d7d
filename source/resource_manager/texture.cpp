#include "resource_manager/texture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "system.h"

namespace {

// w x h x bpp in size_t, or false when it does not fit.
bool BlockSize(unsigned w, unsigned h, unsigned bpp, size_t& bytes) {
    const size_t limit = std::numeric_limits<size_t>::max();
    size_t pixels = size_t(w) * size_t(h);  // two 32-bit factors fit in 64 bits
    if (bpp != 0 && pixels > limit / bpp) return false;
    bytes = pixels * bpp;
    return true;
}

unsigned char* NewZeroedBlock(size_t bytes) {
    if (bytes == 0) return nullptr;
    return new unsigned char[bytes]();
}

unsigned ClampIndex(double value, unsigned size) {
    if (!(value > 0.0)) return 0;  // also catches NaN
    if (value >= double(size - 1)) return size - 1;
    return unsigned(value);
}

}  // namespace

Texture::Texture() = default;

Texture::Texture(unsigned w, unsigned h, unsigned bpp) {
    size_t bytes = 0;
    if (!BlockSize(w, h, bpp, bytes)) {
        Module<System>::Instance()->Error(SOURCE_POS + "texture size out of range");
        return;
    }
    width = w;
    height = h;
    bytesPerPixel = bpp;
    data = NewZeroedBlock(bytes);
}

Texture::Texture(const Texture& other)
    : width(other.width), height(other.height), bytesPerPixel(other.bytesPerPixel),
      texID(other.texID) {
    if (other.data) {
        data = new unsigned char[other.ByteCount()];
        std::memcpy(data, other.data, other.ByteCount());
    }
}

Texture::Texture(Texture&& other) noexcept
    : width(other.width), height(other.height), bytesPerPixel(other.bytesPerPixel),
      texID(other.texID), data(other.data) {
    other.data = nullptr;
    other.width = other.height = 0;
}

Texture& Texture::operator=(const Texture& other) {
    if (this == &other) return *this;
    unsigned char* copy = nullptr;
    if (other.data) {
        copy = new unsigned char[other.ByteCount()];
        std::memcpy(copy, other.data, other.ByteCount());
        Replace(other.width, other.height, other.bytesPerPixel, copy);
    } else {
        // A source without pixels leaves an empty image, never stale sizes
        // that would describe bytes that are not there.
        Replace(0, 0, other.bytesPerPixel, nullptr);
    }
    return *this;
}

Texture::~Texture() { delete[] data; }

size_t Texture::ByteCount() const {
    size_t bytes = 0;
    return BlockSize(width, height, bytesPerPixel, bytes) ? bytes : 0;
}

void Texture::Replace(unsigned w, unsigned h, unsigned bpp, unsigned char* bytes) {
    delete[] data;
    data = bytes;
    width = w;
    height = h;
    bytesPerPixel = bpp;
}

bool Texture::PixelOffset(unsigned x, unsigned y, size_t& offset) const {
    if (!data || x >= width || y >= height) return false;
    offset = (size_t(y) * width + x) * bytesPerPixel;
    return true;
}

uint32_t Texture::GetPixel(unsigned x, unsigned y) const {
    size_t at = 0;
    if (!PixelOffset(x, y, at)) return 0;
    uint32_t value = 0;
    unsigned n = std::min(bytesPerPixel, 4u);
    for (unsigned i = 0; i < n; ++i) value |= uint32_t(data[at + i]) << (8 * i);
    return value;
}

void Texture::SetPixel(unsigned x, unsigned y, uint32_t value) {
    size_t at = 0;
    if (!PixelOffset(x, y, at)) return;
    unsigned n = std::min(bytesPerPixel, 4u);
    for (unsigned i = 0; i < n; ++i) data[at + i] = (value >> (8 * i)) & 0xFF;
}

float Texture::GetAvgLuminance(unsigned x, unsigned y) const {
    size_t at = 0;
    if (!PixelOffset(x, y, at)) return 0.0f;
    const unsigned char* p = data + at;
    if (bytesPerPixel == 1) return float(p[0] / 255.0);
    if (bytesPerPixel == 3 || bytesPerPixel == 4) return float((p[0] + p[1] + p[2]) / 765.0);
    return 0.0f;
}

void Texture::SetLuminance(unsigned x, unsigned y, float lum) {
    size_t at = 0;
    if (!PixelOffset(x, y, at)) return;
    double scaled = double(lum) * 255.0;
    unsigned char v = 0;
    if (scaled >= 255.0) v = 255;
    else if (scaled > 0.0) v = (unsigned char)(scaled);  // truncates toward zero
    unsigned char* p = data + at;
    if (bytesPerPixel == 1) {
        p[0] = v;
    } else if (bytesPerPixel == 3 || bytesPerPixel == 4) {
        p[0] = p[1] = p[2] = v;
        if (bytesPerPixel == 4) p[3] = 255;
    }
}

float Texture::GetMaxLuminance() const {
    float best = 0.0f;
    for (unsigned x = 0; x < width; ++x)
        for (unsigned y = 0; y < height; ++y) best = std::max(best, GetAvgLuminance(x, y));
    return best;
}

float Texture::GetInterpAvgLuminance(float u, float v) const {
    if (!data || width == 0 || height == 0) return 0.0f;
    float fx = float(u - std::floor(double(u)));
    float fy = float(v - std::floor(double(v)));
    unsigned x0 = ClampIndex(std::floor(double(u)), width);
    unsigned y0 = ClampIndex(std::floor(double(v)), height);
    unsigned xm = ClampIndex(std::floor(double(u - 1.0f)), width);
    unsigned ym = ClampIndex(std::floor(double(v - 1.0f)), height);
    unsigned xp = ClampIndex(std::floor(double(u + 1.0f)), width);
    unsigned yp = ClampIndex(std::floor(double(v + 1.0f)), height);

    bool lowX = fx < 0.5f, lowY = fy < 0.5f;
    unsigned c1 = lowX ? xm : x0, c2 = lowX ? x0 : xp;
    unsigned r1 = lowY ? ym : y0, r2 = lowY ? y0 : yp;
    float wc = lowX ? 1.0f - fx : fx;
    float wr = lowY ? 1.0f - fy : fy;
    double top = wc * GetAvgLuminance(c1, r1) + (1.0f - wc) * GetAvgLuminance(c2, r1);
    double bottom = wc * GetAvgLuminance(c1, r2) + (1.0f - wc) * GetAvgLuminance(c2, r2);
    return float(wr * top + (1.0f - wr) * bottom);
}

void Texture::SwizzleBytes(int a, int b, int c, int d) {
    const int slots[4] = {a, b, c, d};
    for (int s : slots) {
        if (s < 0 || s > 3) {
            Module<System>::Instance()->Warning(SOURCE_POS + "SwizzleBytes: index out of 0..3");
            return;
        }
    }
    unsigned n = std::min(bytesPerPixel, 4u);
    size_t bytes = ByteCount();
    if (!data || n == 0) return;
    for (size_t at = 0; at + bytesPerPixel <= bytes; at += bytesPerPixel) {
        unsigned char scratch[4] = {0, 0, 0, 0};
        // Channels past the pixel's own bytes read as 0 rather than the
        // neighbouring pixel (or past the block at the last pixel).
        for (int i = 0; i < 4; ++i) scratch[slots[i]] = i < int(n) ? data[at + i] : 0;
        for (unsigned i = 0; i < n; ++i) data[at + i] = scratch[i];
    }
}

void Texture::FlipY() {
    if (!data) return;
    size_t row = size_t(width) * bytesPerPixel;
    for (unsigned y = 0; y < height / 2; ++y)
        std::swap_ranges(data + y * row, data + (y + 1) * row, data + size_t(height - 1 - y) * row);
}

void Texture::DownsampleBilinear() {
    unsigned w = width / 2, h = height / 2, bpp = bytesPerPixel;
    size_t bytes = size_t(w) * h * bpp;
    unsigned char* out = NewZeroedBlock(bytes);
    if (data) {
        for (unsigned y = 0; y < h; ++y) {
            for (unsigned x = 0; x < w; ++x) {
                const unsigned char* p00 = data + (size_t(2 * y) * width + 2 * x) * bpp;
                const unsigned char* p01 = p00 + size_t(width) * bpp;  // row below
                unsigned char* dst = out + (size_t(y) * w + x) * bpp;
                for (unsigned c = 0; c < bpp; ++c) {
                    float sum = float(p01[bpp + c] + p00[c] + p00[bpp + c] + p01[c]);
                    dst[c] = (unsigned char)(sum * 0.25f);
                }
            }
        }
    }
    Replace(w, h, bpp, out);
}

void Texture::DownsampleClosest(int targetWidth, int targetHeight) {
    // A zero or negative target or an empty image has no halving count
    // (log2 of 0 is infinite): leave the image as it is.
    if (targetWidth <= 0 || targetHeight <= 0 || width == 0 || height == 0) return;
    const float ln2 = float(std::log(2.0));
    auto log2f = [ln2](double value) { return float(std::log(value)) / ln2; };
    float nx = std::floor(log2f(width) - log2f(targetWidth));
    float ny = std::floor(log2f(height) - log2f(targetHeight));
    int n = int(std::min(nx, ny));  // at most 32 for 32-bit sizes
    for (int i = 0; i < n && width >= 2 && height >= 2; ++i) DownsampleBilinear();
}

void MakeRectCorners(const float* a, const float* b, float* out) {
    const float corners[8] = {a[0], a[1], a[0], b[1], b[0], b[1], b[0], a[1]};
    std::copy(corners, corners + 8, out);
}
