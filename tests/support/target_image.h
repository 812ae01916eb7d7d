// What a render target of the deferred frame holds, read back from OpenGL:
// level 0 of its texture, bottom row first, with the decoding of the mesh
// programs' packed depth and normals, and a pixel-by-pixel comparison of two
// pictures. Needs the OpenGL context current.
#pragma once

#include <GL/glew.h>

#include <cstdlib>
#include <vector>

#include "geom/geom.h"
#include "graphics.h"

namespace test_support {

struct Texel {
    int r, g, b, a;
};

class TargetImage {
public:
    TargetImage(unsigned texture, int width, int height)
        : width(width), height(height), bytes(size_t(width) * height * 4) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    }
    int Width() const { return width; }
    int Height() const { return height; }
    Texel At(int x, int y) const {
        const unsigned char* p = &bytes[(size_t(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // The linear eye depth that the mesh programs pack into red, green and blue.
    float DepthAt(int x, int y) const {
        const Texel t = At(x, y);
        return Graphics::kFarPlane * (t.r / 255.0f + t.g / 255.0f / 255.0f + t.b / 255.0f / 65025.0f);
    }
    // The eye-space normal stored as n * 0.5 + 0.5.
    Vector NormalAt(int x, int y) const {
        const Texel t = At(x, y);
        return Vector(t.r / 127.5f - 1.0f, t.g / 127.5f - 1.0f, t.b / 127.5f - 1.0f);
    }

private:
    int width, height;
    std::vector<unsigned char> bytes;
};

// Pixels of two same-sized pictures whose red, green or blue differ by more
// than `tolerance`.
inline int CountDifferent(const TargetImage& a, const TargetImage& b, int tolerance) {
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const Texel p = a.At(x, y), q = b.At(x, y);
            count += std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance ||
                     std::abs(p.b - q.b) > tolerance;
        }
    return count;
}

}  // namespace test_support
