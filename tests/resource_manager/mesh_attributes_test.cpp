// The per-corner attribute arrays that the mesh buffers are made from (no
// OpenGL needed).
#include <gtest/gtest.h>

#include "resource_manager.h"
#include "support/log_capture.h"

namespace {

// Two triangles over four vertices with recognisable per-corner values.
Mesh TwoTriangles() {
    Mesh mesh;
    for (int i = 0; i < 4; ++i) {
        Vertex v(float(i), float(10 + i), float(20 + i));
        for (int k = 0; k < 4; ++k) {
            v.boneIndex[k] = i + k;
            v.skinWeights[k] = 0.1f * float(k + 1);
        }
        mesh.AddVert(v);
    }
    mesh.AddTriangle(0, 1, 2);
    mesh.AddTriangle(2, 3, 0);
    for (Triangle& tri : mesh.triangles)
        for (int c = 0; c < 3; ++c) {
            tri.texCoord[c][0] = float(c);
            tri.texCoord[c][1] = float(-c);
            tri.color[c][0] = 0.5f;
            tri.normal[c][1] = float(c + 1);
        }
    return mesh;
}

std::vector<float> Floats(const ArrayBuffer<float>& a) { return std::vector<float>(a.data, a.data + a.count); }

}  // namespace

TEST(MeshAttributes, EveryKindHasThreeCornersPerTriangle) {
    MeshResource builder;
    const Mesh mesh = TwoTriangles();
    const unsigned expected[] = {18, 18, 12, 18, 24, 24};
    for (int kind = ATTRIB_POSITION; kind <= ATTRIB_BONE_INDICES; ++kind)
        EXPECT_EQ(builder.GetAttributeArray(mesh, AttributeKind(kind)).count, expected[kind]) << kind;
    EXPECT_EQ(builder.GetAttributeArray(Mesh(), ATTRIB_NORMAL).count, 0u);
}

TEST(MeshAttributes, CornersFollowTheirTrianglesAndVertices) {
    MeshResource builder;
    const Mesh mesh = TwoTriangles();
    // Triangle 1 is (2, 3, 0): its corners take those vertices' data.
    const std::vector<float> positions = Floats(builder.GetAttributeArray(mesh, ATTRIB_POSITION));
    EXPECT_EQ(std::vector<float>(positions.begin() + 9, positions.end()),
              (std::vector<float>{2, 12, 22, 3, 13, 23, 0, 10, 20}));
    const std::vector<float> bones = Floats(builder.GetAttributeArray(mesh, ATTRIB_BONE_INDICES));
    EXPECT_EQ(std::vector<float>(bones.begin() + 16, bones.begin() + 20), (std::vector<float>{3, 4, 5, 6}));
    const std::vector<float> weights = Floats(builder.GetAttributeArray(mesh, ATTRIB_SKIN_WEIGHTS));
    EXPECT_FLOAT_EQ(weights[23], 0.4f);
    // Per-corner data comes from the triangle, corner by corner.
    const std::vector<float> uv = Floats(builder.GetAttributeArray(mesh, ATTRIB_TEXCOORD));
    EXPECT_EQ(std::vector<float>(uv.begin(), uv.begin() + 6), (std::vector<float>{0, 0, 1, -1, 2, -2}));
    const std::vector<float> normals = Floats(builder.GetAttributeArray(mesh, ATTRIB_NORMAL));
    EXPECT_EQ(normals[1], 1.0f);
    EXPECT_EQ(normals[16], 3.0f);
    EXPECT_EQ(Floats(builder.GetAttributeArray(mesh, ATTRIB_COLOR))[15], 0.5f);
}

TEST(MeshAttributes, ACornerWithoutItsVertexReadsZeros) {
    Module<System>::Instance()->running.store(false);
    MeshResource builder;
    Mesh mesh = TwoTriangles();
    mesh.triangles.push_back(Triangle(0, 99, 1));  // a script's bad triangle
    const std::vector<float> positions = Floats(builder.GetAttributeArray(mesh, ATTRIB_POSITION));
    ASSERT_EQ(positions.size(), 27u);
    EXPECT_EQ(std::vector<float>(positions.begin() + 21, positions.begin() + 24), std::vector<float>(3, 0.0f));
    EXPECT_EQ(positions[24], 1.0f);
    const std::vector<float> weights = Floats(builder.GetAttributeArray(mesh, ATTRIB_SKIN_WEIGHTS));
    EXPECT_EQ(weights[28], 0.0f);
}
