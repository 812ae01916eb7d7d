// Texture: the CPU-side image kept in the resource store under every "tex_"
// name: 8-bit channels in R, G, B, A order, row 0 first, plus the name of the
// OpenGL texture made from it (made and freed elsewhere, on the main thread).
//
// Threads: a plain value; any thread may build or edit its own Texture.
// Never calls OpenGL. Every pixel access is bounds-checked: an index outside
// the image reads as 0 and writes nothing, so scripts cannot corrupt memory.
#pragma once

#include <cstddef>
#include <cstdint>

class Texture {
public:
    // The texID of a texture that has no OpenGL texture yet.
    static constexpr unsigned kNoTexture = 0xFFFFFFFFu;

    Texture();
    // Zero-filled; an image too large to address ends up empty.
    Texture(unsigned width, unsigned height, unsigned bytesPerPixel);
    Texture(const Texture& other);
    // Takes the pixel block; other is left empty.
    Texture(Texture&& other) noexcept;
    // Copies sizes and bytes; the target keeps its own texID.
    Texture& operator=(const Texture& other);
    ~Texture();

    // The byte count of the pixel block.
    size_t ByteCount() const;

    // The pixel's bytes as a little-endian word (missing channels read 0).
    uint32_t GetPixel(unsigned x, unsigned y) const;
    // Writes the low bytesPerPixel bytes of value into the pixel.
    void SetPixel(unsigned x, unsigned y, uint32_t value);

    float GetAvgLuminance(unsigned x, unsigned y) const;
    void SetLuminance(unsigned x, unsigned y, float lum);
    float GetMaxLuminance() const;
    // Four-sample blend around (u, v); neighbours are clamped to the image.
    float GetInterpAvgLuminance(float u, float v) const;

    // Moves byte i of every pixel to slot a, b, c or d; indices must be 0..3
    // (otherwise the call is refused with a warning).
    void SwizzleBytes(int a, int b, int c, int d);
    void FlipY();
    void DownsampleBilinear();
    void DownsampleClosest(int targetWidth, int targetHeight);

    unsigned width = 0;
    unsigned height = 0;
    unsigned bytesPerPixel = 0;
    unsigned texID = kNoTexture;
    unsigned char* data = nullptr;

private:
    // Byte offset of pixel (x, y), or false when it lies outside the image.
    bool PixelOffset(unsigned x, unsigned y, size_t& offset) const;
    // Takes a new[] block of exactly w x h x bpp bytes; frees the old one.
    void Replace(unsigned w, unsigned h, unsigned bpp, unsigned char* bytes);
};

// Writes the four corners of the rectangle spanned by the 2-float points a
// and b into out[0..7], going round from a.
void MakeRectCorners(const float* a, const float* b, float* out);
