#include <gtest/gtest.h>

#include "resource_manager/mesh.h"
#include "support/log_capture.h"

using test_support::LogCapture;

namespace {

void ExpectPosition(const Vertex& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.v[0], x);
    EXPECT_FLOAT_EQ(v.v[1], y);
    EXPECT_FLOAT_EQ(v.v[2], z);
}

}  // namespace

TEST(MeshValues, VertexComparesPositionsOnlyAndTriangleComparesOrder) {
    Vertex a(1, 2, 3), b(1, 2, 3);
    b.boneIndex[0] = 7;
    b.skinWeights[0] = 0.5f;
    b.numWeights = 1;
    EXPECT_TRUE(a == b);
    EXPECT_FLOAT_EQ(Vertex(0, 0, 0).Distance(Vertex(3, 4, 0)), 5.0f);
    Vector d = Vertex(4, 5, 6) - a;
    EXPECT_EQ(d.w, 0.0f);
    EXPECT_FLOAT_EQ(d.x, 3.0f);
    EXPECT_TRUE(Triangle(0, 1, 2) == Triangle(0, 1, 2));
    EXPECT_FALSE(Triangle(0, 1, 2) == Triangle(1, 2, 0));
}

TEST(MeshValues, DefaultsAndDeepCopies) {
    Mesh mesh;
    EXPECT_TRUE(mesh.useTexture && mesh.useColor && mesh.useMaterial);
    EXPECT_FALSE(mesh.useTangentSpace || mesh.hasMeshBuffers || mesh.isIndexed || mesh.isInterleaved);
    EXPECT_EQ(mesh.arrays.positions.count, 0u);
    const float values[3] = {1, 2, 3};
    mesh.arrays.positions.Assign(values, 3);
    Mesh copy = mesh;
    ASSERT_NE(copy.arrays.positions.data, mesh.arrays.positions.data);
    mesh.arrays.positions.data[0] = 9;
    EXPECT_EQ(copy.arrays.positions.data[0], 1.0f);
    Mesh moved = std::move(copy);
    EXPECT_EQ(moved.arrays.positions.count, 3u);
}

TEST(MeshBuilding, TrianglesAreFoundByOrderedCorners) {
    Mesh mesh;
    for (int i = 0; i < 3; ++i) mesh.AddVert(Vertex(float(i), float(i * i), 0));
    EXPECT_EQ(mesh.AddTriangle(0u, 1u, 2u), 0);
    EXPECT_EQ(mesh.AddTriangle(0u, 1u, 2u), 0);
    EXPECT_EQ(mesh.triangles.size(), 1u);
    EXPECT_EQ(mesh.AddTriangle(0u, 2u, 1u), 1);
    EXPECT_EQ(mesh.triangles.size(), 2u);

    // The vertex form always appends three new vertices.
    EXPECT_EQ(mesh.AddTriangle(Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 1, 0)), 2);
    EXPECT_EQ(mesh.verts.size(), 6u);
    EXPECT_EQ(mesh.triangles[2].verts[0], 3u);
}

TEST(MeshBuilding, CornerDataFormSetsFaceNormalUvAndColour) {
    Mesh mesh;
    mesh.AddVert(Vertex(0, 0, 0));
    mesh.AddVert(Vertex(2, 0, 0));
    mesh.AddVert(Vertex(0, 2, 0));
    const float t0[2] = {0, 0}, t1[2] = {1, 0}, t2[2] = {0, 1};
    const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0}, blue[3] = {0, 0, 1};
    int index = mesh.AddTriangle(0, 1, 2, t0, t1, t2, red, green, blue);
    const Triangle& tri = mesh.triangles[index];
    for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(tri.normal[c][2], 1.0f);
    EXPECT_FLOAT_EQ(tri.texCoord[1][0], 1.0f);
    EXPECT_FLOAT_EQ(tri.color[2][2], 1.0f);
    EXPECT_FLOAT_EQ(tri.color[0][1], 0.0f);
    // The same corners again overwrite the stored triangle's data.
    EXPECT_EQ(mesh.AddTriangle(0, 1, 2, t2, t1, t0, blue, green, red), index);
    EXPECT_FLOAT_EQ(mesh.triangles[index].color[0][2], 1.0f);
}

TEST(MeshBuilding, ClockTrianglesFaceAwayFromPlusZ) {
    const Vertex a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    Mesh first;
    int t = first.AddClockTriangle(a, b, c);
    ExpectPosition(first.verts[0], 0, 0, 0);
    ExpectPosition(first.verts[1], 0, 1, 0);
    ExpectPosition(first.verts[2], 1, 0, 0);
    Vector n = first.QuickNorm(t);
    EXPECT_FLOAT_EQ(n.z, -1.0f);
    EXPECT_EQ(n.w, 0.0f);

    Mesh second;
    t = second.AddClockTriangle(a, c, b);
    ExpectPosition(second.verts[0], 0, 1, 0);
    ExpectPosition(second.verts[1], 1, 0, 0);
    ExpectPosition(second.verts[2], 0, 0, 0);
    EXPECT_FLOAT_EQ(second.QuickNorm(t).z, -1.0f);
}

TEST(MeshBuilding, AdjacencyAndUnusedVertices) {
    Mesh mesh;
    for (int i = 0; i < 5; ++i) mesh.AddVert(Vertex(float(i), 0, 0));
    mesh.AddTriangle(0u, 1u, 2u);
    mesh.AddTriangle(2u, 1u, 1u);  // uses vertex 1 twice
    mesh.AddTriangle(0u, 2u, 3u);
    EXPECT_EQ(mesh.GetAdjacentTris(1), (std::vector<unsigned>{0, 1}));
    EXPECT_EQ(mesh.GetAdjacentTris(2), (std::vector<unsigned>{0, 1, 2}));
    EXPECT_TRUE(mesh.GetAdjacentTris(4).empty());
    EXPECT_EQ(mesh.GetUnusedVerts(), (std::vector<unsigned>{4}));
}

TEST(MeshGeometry, TransformMovesPositionsAndNormalizeFixesNormals) {
    Mesh mesh;
    mesh.AddTriangle(Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 1, 0));
    const float longNormal[3] = {0, 0, 3};
    mesh.SetRawNormal(0, 1, longNormal);
    Matrix move;
    move.TranslateMat(1, 2, 3);
    mesh.Transform(move);
    ExpectPosition(mesh.verts[1], 2, 2, 3);
    EXPECT_FLOAT_EQ(mesh.triangles[0].normal[1][2], 3.0f);  // normals untouched
    mesh.NormalizeNormals();
    EXPECT_FLOAT_EQ(mesh.triangles[0].normal[1][2], 1.0f);
    EXPECT_EQ(mesh.triangles[0].normal[0][2], 0.0f);  // a zero normal stays zero
}

TEST(MeshGeometry, RawCornerAccessReachesTheRightArraysAndRefusesBadIndices) {
    Mesh mesh;
    mesh.AddTriangle(Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 1, 0));
    const float p[3] = {5, 6, 7}, uv[2] = {0.25f, 0.75f};
    mesh.SetRawVert(0, 2, p);
    mesh.SetRawTexCoord(0, 1, uv);
    EXPECT_EQ(mesh.GetRawVert(0, 2), mesh.verts[2].v);
    ExpectPosition(mesh.verts[2], 5, 6, 7);
    EXPECT_EQ(mesh.GetRawTexCoord(0, 1)[1], 0.75f);
    EXPECT_EQ(mesh.GetRawTangent(0, 0), mesh.triangles[0].tangent[0]);

    LogCapture log;
    EXPECT_EQ(mesh.GetRawNormal(1, 0), nullptr);
    EXPECT_EQ(mesh.GetRawColor(0, 3), nullptr);
    mesh.SetRawColor(4, 0, p);
    mesh.AddTriangle(0u, 1u, 9u);  // names a vertex that does not exist
    EXPECT_EQ(mesh.GetRawVert(1, 2), nullptr);
    EXPECT_EQ(mesh.QuickNorm(1).Mag(), 0.0f);
    EXPECT_EQ(mesh.QuickNorm(7).Mag(), 0.0f);
    EXPECT_GE(log.Count("ERROR: "), 5);
}

TEST(MeshDiagnostics, ClosestVertsReport) {
    Mesh two;
    two.AddVert(Vertex(0, 0, 0));
    two.AddVert(Vertex(1, 0, 0));
    EXPECT_EQ(two.PrintClosestVerts(), "");

    Mesh mesh;
    mesh.AddVert(Vertex(0, 0, 0));
    mesh.AddVert(Vertex(10, 0, 0));
    mesh.AddVert(Vertex(10, 0.5f, 0));
    std::string report = mesh.PrintClosestVerts();
    EXPECT_EQ(report,
              "Closest Verts\n"
              " A 1: ( +10.00, +0.00, +0.00 )\n"
              "   41200000 0 0\n"
              " B 2: ( +10.00, +0.50, +0.00 )\n"
              "   41200000 3f000000 0\n"
              " distance: +0.50\n");
}
