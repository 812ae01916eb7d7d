// Mesh building, search, adjacency and geometry, the per-corner attribute
// arrays the mesh buffers are made from, the lattice and the height map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "resource_manager.h"
#include "support/log_capture.h"

using test_support::LogCapture;

namespace {

bool At(const Vertex& v, float x, float y, float z) { return v.v[0] == x && v.v[1] == y && v.v[2] == z; }

// A w x h image whose grey level at (x, y) is shade(x, y).
template <class Shade>
Texture Grey(unsigned w, unsigned h, Shade shade, unsigned bpp = 4) {
    Texture t(w, h, bpp);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) t.SetPixel(x, y, 0xFF000000u | 0x010101u * (unsigned char)shade(x, y));
    return t;
}

}  // namespace

TEST(MeshBuilding, TrianglesAreFoundByOrderedCornersAndAdjacencyFollows) {
    Mesh mesh;
    for (int i = 0; i < 5; ++i) mesh.AddVert(Vertex(float(i), float(i * i), 0));
    // The same ordered corners are found again; a triangle may use a vertex twice.
    const unsigned corners[][3] = {{0, 1, 2}, {0, 1, 2}, {2, 1, 1}, {0, 2, 3}};
    const int expected[] = {0, 0, 1, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(mesh.AddTriangle(corners[i][0], corners[i][1], corners[i][2]), expected[i]) << i;
    EXPECT_TRUE(mesh.GetAdjacentTris(1) == (std::vector<unsigned>{0, 1}) &&
                mesh.GetAdjacentTris(2) == (std::vector<unsigned>{0, 1, 2}) && mesh.GetUnusedVerts() == std::vector<unsigned>{4});
    // The vertex form always appends three new vertices.
    EXPECT_EQ(mesh.AddTriangle(Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 1, 0)), 3);
    EXPECT_TRUE(mesh.verts.size() == 8u && mesh.triangles[3].verts[0] == 5u);

    const float t0[2] = {0, 0}, t1[2] = {1, 0}, red[3] = {1, 0, 0}, blue[3] = {0, 0, 1};
    // The corner-data form: found again, its data overwritten.
    EXPECT_EQ(mesh.AddTriangle(5, 6, 7, t0, t1, t0, red, red, red), 3);
    EXPECT_TRUE(mesh.triangles[3].normal[1][2] == 1.0f && mesh.triangles[3].texCoord[1][0] == 1.0f);
    EXPECT_TRUE(mesh.AddTriangle(5, 6, 7, t1, t1, t1, blue, red, red) == 3 && mesh.triangles[3].color[0][2] == 1.0f);

    const Vertex a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);  // clockwise triangles face away from +z
    Mesh first, second;
    first.AddClockTriangle(a, b, c);
    second.AddClockTriangle(a, c, b);
    EXPECT_TRUE(At(first.verts[1], 0, 1, 0) && At(first.verts[2], 1, 0, 0) && At(second.verts[0], 0, 1, 0));
    EXPECT_TRUE(first.QuickNorm(0).z == -1.0f && second.QuickNorm(0).z == -1.0f && first.QuickNorm(0).w == 0.0f);
}

TEST(MeshGeometry, TransformNormalizeAndCheckedCornerAccess) {
    Mesh mesh;
    mesh.AddTriangle(Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 1, 0));
    const float longNormal[3] = {0, 0, 3}, p[3] = {5, 6, 7};
    mesh.SetRawNormal(0, 1, longNormal);
    Matrix move;
    move.TranslateMat(1, 2, 3);
    mesh.Transform(move);
    EXPECT_TRUE(At(mesh.verts[1], 2, 2, 3) && mesh.triangles[0].normal[1][2] == 3.0f) << "normals untouched";
    mesh.NormalizeNormals();
    EXPECT_TRUE(mesh.triangles[0].normal[1][2] == 1.0f && mesh.triangles[0].normal[0][2] == 0.0f) << "zero stays zero";
    mesh.SetRawVert(0, 2, p);
    EXPECT_TRUE(At(mesh.verts[2], 5, 6, 7));
    LogCapture log;
    EXPECT_TRUE(mesh.GetRawNormal(1, 0) == nullptr && mesh.GetRawColor(0, 3) == nullptr);
    mesh.SetRawColor(4, 0, p);
    mesh.AddTriangle(0u, 1u, 9u);  // names a vertex that does not exist
    EXPECT_TRUE(!mesh.GetRawVert(1, 2) && mesh.QuickNorm(1).Mag() == 0.0f && mesh.QuickNorm(7).Mag() == 0.0f);
    EXPECT_GE(log.Count("ERROR: "), 5);
}

TEST(MeshAttributes, CornersFollowTheirTrianglesAndMissingVerticesReadZeros) {
    Module<System>::Instance()->running.store(false);
    Mesh mesh;
    for (int i = 0; i < 4; ++i) {
        Vertex v(float(i), float(10 + i), float(20 + i));
        for (int k = 0; k < 4; ++k) v.boneIndex[k] = i + k, v.skinWeights[k] = 0.1f * float(k + 1);
        mesh.AddVert(v);
    }
    mesh.AddTriangle(0, 1, 2);
    mesh.AddTriangle(2, 3, 0);
    mesh.triangles.push_back(Triangle(0, 99, 1));  // a script's bad triangle
    for (int c = 0; c < 3; ++c) {
        Triangle& tri = mesh.triangles[1];
        tri.texCoord[c][0] = float(c), tri.texCoord[c][1] = float(-c), tri.normal[c][1] = c + 1.0f, tri.color[c][0] = 0.5f;
    }
    MeshResource builder;
    auto floats = [&](AttributeKind kind, size_t from, size_t to) {
        const ArrayBuffer<float> a = builder.GetAttributeArray(mesh, kind);
        return std::vector<float>(a.data + std::min<size_t>(from, a.count), a.data + std::min<size_t>(to, a.count));
    };
    const unsigned perCorner[] = {3, 3, 2, 3, 4, 4};
    for (int kind = ATTRIB_POSITION; kind <= ATTRIB_BONE_INDICES; ++kind)
        EXPECT_EQ(builder.GetAttributeArray(mesh, AttributeKind(kind)).count, 9 * perCorner[kind]) << kind;
    // Triangle 1 is (2, 3, 0); triangle 2's missing corner reads zeros.
    EXPECT_EQ(floats(ATTRIB_POSITION, 9, 27), (std::vector<float>{2, 12, 22, 3, 13, 23, 0, 10, 20, 0, 10, 20, 0, 0, 0, 1, 11, 21}));
    EXPECT_EQ(floats(ATTRIB_BONE_INDICES, 16, 20), (std::vector<float>{3, 4, 5, 6}));
    EXPECT_EQ(floats(ATTRIB_SKIN_WEIGHTS, 23, 32), (std::vector<float>{0.1f * 4, 0.1f, 0.1f * 2, 0.1f * 3, 0.1f * 4, 0, 0, 0, 0}));
    EXPECT_EQ(floats(ATTRIB_TEXCOORD, 6, 12), (std::vector<float>{0, 0, 1, -1, 2, -2}));
    EXPECT_EQ(floats(ATTRIB_NORMAL, 9, 18), (std::vector<float>{0, 1, 0, 0, 2, 0, 0, 3, 0}));
    EXPECT_EQ(floats(ATTRIB_COLOR, 9, 12), (std::vector<float>{0.5f, 0, 0}));
}

TEST(Heightmap, LatticeFlatImageRampAndDownsampling) {
    Module<System>::Instance()->running.store(false);
    const Mesh lattice = Mesh::BuildLattice(4.0f, 2.0f);  // centred on the origin, texture spans it once
    ASSERT_TRUE(lattice.verts.size() == 2601u && lattice.triangles.size() == 5000u);
    EXPECT_TRUE(lattice.verts[0].v[0] == -2.0f && lattice.verts[0].v[2] == -1.0f && lattice.GetUnusedVerts().empty());
    EXPECT_NEAR(lattice.verts.back().v[0], 2.0f, 1e-5f);
    EXPECT_NEAR(lattice.verts[1].v[0] - lattice.verts[0].v[0], 0.08f, 1e-6f);   // x along a row
    EXPECT_NEAR(lattice.verts[51].v[2] - lattice.verts[0].v[2], 0.04f, 1e-6f);  // z row to row
    EXPECT_TRUE(lattice.triangles.front().texCoord[0][0] == 0.0f && lattice.triangles.back().texCoord[0][0] == 1.0f);

    ResourceManager resources;
    const Mesh flat = resources.BuildHeightmapMesh(Grey(64, 64, [](unsigned, unsigned) { return 128; }));
    for (const Vertex& v : flat.verts) ASSERT_FLOAT_EQ(v.v[1], 128 * 3 / 765.0f);
    EXPECT_NEAR(flat.verts.back().v[0], 1.0f, 1e-5f);
    for (const Triangle& tri : flat.triangles)
        for (const float* n : tri.normal) ASSERT_TRUE(n[0] == 0.0f && n[1] == 1.0f && n[2] == 0.0f);

    // Brightness rising along x: heights climb and every normal leans back toward -x.
    const Mesh ramp = resources.BuildHeightmapMesh(Grey(40, 40, [](unsigned x, unsigned) { return x * 6; }));
    EXPECT_LT(ramp.verts[0].v[1], ramp.verts[50].v[1]);
    for (const Triangle& tri : ramp.triangles)
        for (int c = 0; c < 3; ++c) {
            const Vector n(tri.normal[c]);
            ASSERT_TRUE(n.x < 0.0f && n.z == 0.0f && n.y > 0.9f && std::fabs(n.Mag() - 1.0f) < 1e-5f);
        }
    const float dx = -12.0f / 255.0f;  // two column steps of 6/255 across cell (25, 25)
    EXPECT_NEAR(ramp.triangles[2550].normal[0][0], dx / std::sqrt(dx * dx + 1.0f), 1e-6f);

    // Single-pixel stripes: only averaging pairs of columns (512 halves to 64) makes them even.
    const Mesh stripes = resources.BuildHeightmapMesh(Grey(512, 512, [](unsigned x, unsigned) { return x % 2 * 255; }));
    for (const Vertex& v : stripes.verts) ASSERT_NEAR(v.v[1], 127 / 255.0f, 1e-6f);
    LogCapture log;
    const Mesh rgb = resources.BuildHeightmapMesh(Grey(8, 8, [](unsigned, unsigned) { return 51; }, 3));
    EXPECT_TRUE(log.Has("BuildHeightmapMesh currently only works with 32-bit textures.") &&
                std::fabs(rgb.verts[1300].v[1] - 0.2f) < 1e-6f);
    const Mesh empty = resources.BuildHeightmapMesh(Texture());  // no pixels at all
    EXPECT_EQ(empty.verts.size(), 2601u);
    for (const Vertex& v : empty.verts) ASSERT_EQ(v.v[1], 0.0f);
}
