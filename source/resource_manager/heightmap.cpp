// Height-map terrain: a lattice over the unit square whose heights are an
// image's luminance and whose normals follow the image's slopes. CPU only;
// scripts call it (through the binding) to build terrain meshes.
#include <algorithm>
#include <cmath>

#include "resource_manager.h"

namespace {

// The image's footprint on the lattice: lattice coordinate 0..1 maps to
// 0..scale pixels.
struct Sampling {
    const Texture& image;
    int width;
    int height;
    float sx;
    float sz;
};

Sampling MakeSampling(const Texture& image) {
    const unsigned w = image.width, h = image.height;
    return {image, int(w), int(h), float(w) / float(w + 1) * float(w),
            float(h) / float(h + 1) * float(h)};
}

// Luminance slope around the pixel under (x, z): neighbours clamped to the
// image, no division by their distance.
Vector SlopeNormal(const Sampling& s, float x, float z) {
    const int ix = int(std::floor(x * s.sx)), iz = int(std::floor(z * s.sz));
    const int xm = std::max(ix - 1, 0), zm = std::max(iz - 1, 0);
    const int xp = ix + 1 >= s.width ? std::max(s.width - 1, 0) : ix + 1;
    const int zp = iz + 1 >= s.height ? std::max(s.height - 1, 0) : iz + 1;
    auto lum = [&s](int px, int pz) { return s.image.GetAvgLuminance(unsigned(px), unsigned(pz)); };
    const float dx = -(lum(xp, iz) - lum(xm, iz));
    const float dz = -(lum(ix, zp) - lum(ix, zm));
    const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
    return Vector(dx / length, 1.0f / length, dz / length);
}

}  // namespace

Mesh ResourceManager::BuildHeightmapMesh(const Texture& texture) {
    if (texture.bytesPerPixel != 4)
        Module<System>::Instance()->Error(SOURCE_POS +
                                          "BuildHeightmapMesh currently only works with 32-bit textures.");
    Texture image(texture);
    image.DownsampleClosest(50, 50);
    const Sampling s = MakeSampling(image);

    Mesh mesh = Mesh::BuildLattice(1.0f, 1.0f);
    Matrix shift;
    shift.TranslateMat(0.5f, 0.0f, 0.5f);
    mesh.Transform(shift);

    for (Vertex& vertex : mesh.verts)
        vertex.v[1] = image.GetInterpAvgLuminance(vertex.v[0] * s.sx, vertex.v[2] * s.sz);
    for (Triangle& tri : mesh.triangles) {
        for (unsigned corner = 0; corner < 3; ++corner) {
            const float* p = mesh.verts[tri.verts[corner]].v;
            const Vector n = SlopeNormal(s, p[0], p[2]);
            tri.normal[corner][0] = n.x;
            tri.normal[corner][1] = n.y;
            tri.normal[corner][2] = n.z;
        }
    }
    return mesh;
}
