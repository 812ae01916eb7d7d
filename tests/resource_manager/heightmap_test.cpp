// The flat lattice and the height-map terrain built on it (no OpenGL needed).
#include <gtest/gtest.h>

#include <cmath>

#include "resource_manager.h"
#include "support/log_capture.h"

using test_support::LogCapture;

namespace {

// A w x h image whose grey level at (x, y) is shade(x, y).
template <class Shade>
Texture Grey(unsigned w, unsigned h, Shade shade, unsigned bpp = 4) {
    Texture t(w, h, bpp);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            const unsigned char v = (unsigned char)shade(x, y);
            t.SetPixel(x, y, v | v << 8 | v << 16 | 0xFF000000u);
        }
    return t;
}

Vector CornerNormal(const Triangle& tri, int corner) { return Vector(tri.normal[corner]); }

class Heightmap : public ::testing::Test {
protected:
    void SetUp() override { Module<System>::Instance()->running.store(false); }
    ResourceManager resources;
};

}  // namespace

TEST(Lattice, IsAFlatGridCentredOnTheOrigin) {
    const Mesh mesh = Mesh::BuildLattice(4.0f, 2.0f);
    EXPECT_EQ(mesh.name, "Lattice");
    ASSERT_EQ(mesh.verts.size(), 2601u);
    ASSERT_EQ(mesh.triangles.size(), 5000u);
    EXPECT_FLOAT_EQ(mesh.verts.front().v[0], -2.0f);
    EXPECT_FLOAT_EQ(mesh.verts.front().v[2], -1.0f);
    EXPECT_NEAR(mesh.verts.back().v[0], 2.0f, 1e-5f);
    EXPECT_NEAR(mesh.verts.back().v[2], 1.0f, 1e-5f);
    // x runs along a row, z from row to row.
    EXPECT_NEAR(mesh.verts[1].v[0] - mesh.verts[0].v[0], 0.08f, 1e-6f);
    EXPECT_NEAR(mesh.verts[51].v[2] - mesh.verts[0].v[2], 0.04f, 1e-6f);
    for (const Triangle& tri : mesh.triangles)
        for (int c = 0; c < 3; ++c) {
            ASSERT_NEAR(tri.normal[c][1], 1.0f, 1e-6f);
            ASSERT_GE(tri.texCoord[c][0], 0.0f);
            ASSERT_LE(tri.texCoord[c][0], 1.0f);
            ASSERT_GE(tri.texCoord[c][1], 0.0f);
            ASSERT_LE(tri.texCoord[c][1], 1.0f);
        }
    // The texture spans the lattice once: its corners sit on the edges.
    EXPECT_FLOAT_EQ(mesh.triangles.front().texCoord[0][0], 0.0f);
    EXPECT_FLOAT_EQ(mesh.triangles.back().texCoord[0][0], 1.0f);
    EXPECT_TRUE(mesh.GetUnusedVerts().empty());
}

TEST_F(Heightmap, AUniformImageGivesAFlatTerrainFacingUp) {
    const Mesh mesh = resources.BuildHeightmapMesh(Grey(64, 64, [](unsigned, unsigned) { return 128; }));
    ASSERT_EQ(mesh.verts.size(), 2601u);
    ASSERT_EQ(mesh.triangles.size(), 5000u);
    for (const Vertex& v : mesh.verts) {
        ASSERT_FLOAT_EQ(v.v[1], 128 * 3 / 765.0f);
        ASSERT_GE(v.v[0], -1e-6f);
        ASSERT_LE(v.v[0], 1.0f + 1e-5f);
        ASSERT_GE(v.v[2], -1e-6f);
        ASSERT_LE(v.v[2], 1.0f + 1e-5f);
    }
    for (const Triangle& tri : mesh.triangles)
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(tri.normal[c][0], 0.0f);
            ASSERT_EQ(tri.normal[c][1], 1.0f);
            ASSERT_EQ(tri.normal[c][2], 0.0f);
        }
}

TEST_F(Heightmap, BrightnessRisingAlongXTiltsNormalsTowardMinusX) {
    const Mesh mesh = resources.BuildHeightmapMesh(Grey(40, 40, [](unsigned x, unsigned) { return x * 6; }));
    // Heights climb with x; normals lean back against the slope.
    EXPECT_LT(mesh.verts[0].v[1], mesh.verts[50].v[1]);
    int leaning = 0;
    for (const Triangle& tri : mesh.triangles)
        for (int c = 0; c < 3; ++c) {
            const Vector n = CornerNormal(tri, c);
            ASSERT_LE(n.x, 0.0f);
            ASSERT_EQ(n.z, 0.0f);
            ASSERT_GT(n.y, 0.9f);
            ASSERT_NEAR(n.Mag(), 1.0f, 1e-5f);
            leaning += n.x < 0.0f;
        }
    EXPECT_EQ(leaning, 15000);
    // One column step is 6/255 of brightness: two steps across the slope
    // (the first triangle of cell (25, 25), at x = 0.5).
    const Triangle& middle = mesh.triangles[2550];
    const float dx = -12.0f / 255.0f;
    EXPECT_NEAR(middle.normal[0][0], dx / std::sqrt(dx * dx + 1.0f), 1e-6f);
}

TEST_F(Heightmap, ALargeImageIsSampledDownFirst) {
    // Single-pixel stripes: only averaging pairs of columns makes them even.
    const Mesh mesh =
        resources.BuildHeightmapMesh(Grey(512, 512, [](unsigned x, unsigned) { return x % 2 ? 255 : 0; }));
    for (const Vertex& v : mesh.verts) ASSERT_NEAR(v.v[1], 127 / 255.0f, 1e-6f);

    // 512 halves to 64; the far edge (x = 1) blends columns 62 and 63 only.
    const Mesh edge = resources.BuildHeightmapMesh(
        Grey(512, 512, [](unsigned x, unsigned) { return x >= 504 ? 255 : x >= 496 ? 85 : 0; }));
    const Vertex& farCorner = edge.verts[50];
    ASSERT_NEAR(farCorner.v[0], 1.0f, 1e-5f);
    const float u = farCorner.v[0] * (64.0f / 65.0f * 64.0f), f = u - std::floor(u);
    ASSERT_LT(f, 0.5f);
    EXPECT_NEAR(farCorner.v[1], (1.0f - f) * 1.0f / 3.0f + f * 1.0f, 1e-5f);
}

TEST_F(Heightmap, OtherPixelSizesAreReportedAndStillBuilt) {
    LogCapture log;
    const Mesh mesh = resources.BuildHeightmapMesh(Grey(8, 8, [](unsigned, unsigned) { return 51; }, 3));
    EXPECT_TRUE(log.Has("BuildHeightmapMesh currently only works with 32-bit textures."));
    EXPECT_EQ(mesh.triangles.size(), 5000u);
    EXPECT_NEAR(mesh.verts[1300].v[1], 0.2f, 1e-6f);

    const Mesh empty = resources.BuildHeightmapMesh(Texture());  // no pixels at all
    EXPECT_EQ(empty.verts.size(), 2601u);
    for (const Vertex& v : empty.verts) ASSERT_EQ(v.v[1], 0.0f);
}
