// Collision volumes: VectorSet membership and the set operations, boxes and
// polygons from a mesh, and the bounding sphere and separating-axis data
// written into an object's CollisionComp (with the missing-part warnings).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "collision_manager/volumes.h"
#include "geom/geom_expect.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "resource_manager.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

float L1(const Vector& a, const Vector& b) { return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z); }

bool Holds(const VectorSet& set, const Vector& v) {
    VectorSet exact(1e-4f);
    exact.vectors = set.vectors;
    return collision::Contains(exact, v);
}

// Positions spanning x -0.5..1.5, y 0..1, z -1..1; the extremes are not the first vertex.
Mesh SpanMesh() {
    Mesh mesh;
    for (const Vertex& v : {Vertex(0.5f, 0.5f, 0.5f), Vertex(-0.5f, 1, 1), Vertex(1.5f, 0, -1), Vertex(1, 0.2f, 0.3f)})
        mesh.AddVert(v);
    mesh.AddTriangle(0, 1, 2);
    mesh.AddTriangle(0, 2, 3);
    return mesh;
}

// A cube of half size 1 (corner i: x from bit 0, y bit 1, z bit 2), faces wound outwards.
Mesh CubeMesh() {
    Mesh mesh;
    for (int i = 0; i < 8; ++i) mesh.AddVert(Vertex(i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f));
    const unsigned faces[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    for (const auto& f : faces) {
        const Vector centre = (mesh.verts[f[0]] - Vertex()) + (mesh.verts[f[2]] - Vertex());
        const bool out = Cross(mesh.verts[f[1]] - mesh.verts[f[0]], mesh.verts[f[2]] - mesh.verts[f[0]]) * centre > 0;
        mesh.AddTriangle(f[0], out ? f[1] : f[2], out ? f[2] : f[1]);
        mesh.AddTriangle(f[0], out ? f[2] : f[3], out ? f[3] : f[2]);
    }
    return mesh;
}

class StoredMeshes : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& name : stored) Module<ResourceManager>::Instance()->DeleteResource(name);
    }
    // Stores the mesh (if any) for the test's life; an object drawing it at scale.
    GameObject Object(const std::string& name, const Mesh* mesh, float scale, bool withCollision = true) {
        if (mesh) {
            EXPECT_EQ(Module<ResourceManager>::Instance()->add(name, *mesh), 0);
            stored.push_back(name);
        }
        GameObject object("volume_test");
        GraphicsComp graphics;
        graphics.modelMesh = Handle(name);
        graphics.modelScale = scale;
        object.AttachComponent(graphics);
        if (withCollision) object.AttachComponent(CollisionComp());
        return object;
    }
    std::vector<std::string> stored;
};

TEST(VectorSetOps, MembershipIsStrictIgnoresWAndTheSetOperationsKeepOrder) {
    VectorSet set(0.5f);
    collision::AddAll(set, std::vector<Vector>{Vector(1, 0, 0), Vector(1.1f, 0, 0), Vector(-1, 0, 0)});
    ASSERT_EQ(set.vectors.size(), 2u);
    EXPECT_TRUE(collision::Contains(set, Vector(1.2f, 0.1f, 0.1f, 50.0f)));
    EXPECT_FALSE(collision::Contains(set, Vector(1.25f, 0.25f, 0.0f)));  // exactly 0.5 away

    VectorSet a(0.2f), b(0.4f);
    a.vectors = {Vector(1, 0, 0), Vector(0, 1, 0)};
    b.vectors = {Vector(0, 1, 0), Vector(0, 0, 1), Vector(0, 2, 0)};
    const VectorSet crosses = collision::CrossVectorSets(a, b);
    EXPECT_FLOAT_EQ(crosses.tolerance, 0.3f);
    // x*y = z, x*z = -y, x*2y = 2z; y*y = 0 (dropped), y*z = x, y*2y = 0.
    ASSERT_EQ(crosses.vectors.size(), 4u);
    EXPECT_TRUE(VectorNear(crosses.vectors[1], Vector(0, -1, 0)) && VectorNear(crosses.vectors[2], Vector(0, 0, 2)) &&
                VectorNear(crosses.vectors[3], Vector(1, 0, 0)));

    // A transform (a quarter turn about y, then a shift) moves every member without the duplicate test.
    VectorSet near(3.0f);
    near.vectors = {Vector(1, 0, 0), Vector(1.5f, 0, 0)};
    const VectorSet moved = collision::TransformVectorSet(near, QuatVec(AxisRotation(Vector(0, 1, 0), 1.5707963f), Vector(0, 10, 0)));
    ASSERT_EQ(moved.vectors.size(), 2u);
    EXPECT_TRUE(VectorNear(moved.vectors[1], Vector(0, 10, -1.5f)));
}

TEST(MeshVolumes, BoxesAndPolygonsFollowTheScaledPositions) {
    const AABB box = collision::BuildAABB(SpanMesh(), 2.0f);
    EXPECT_TRUE(VectorNear(box.center, Vector(1, 1, 0)) && VectorNear(box.extents, Vector(2, 1, 2)));
    EXPECT_TRUE(VectorNear(collision::BuildOBB(SpanMesh(), 2.0f).extents, Vector(2, 1, 2)));
    EXPECT_TRUE(VectorNear(collision::BuildAABB(Mesh(), 1.0f).extents, Vector()));

    const std::vector<ConvexPolygon> polygons = collision::BuildCollisionMesh(SpanMesh(), 2.0f);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_TRUE(VectorNear(polygons[0].plane.origin, Vector(1, 1, 1)) &&
                VectorNear(polygons[0].plane.normal, Vector(-0.4472136f, -0.8944272f, 0.0f)));
    for (const ConvexPolygon& polygon : polygons)
        for (const Vector& corner : polygon.verts) EXPECT_NEAR(polygon.plane.EvalImplicit(corner), 0.0f, 1e-4f);

    Mesh broken = SpanMesh();
    broken.triangles.push_back(Triangle(0, 1, 99));
    LogCapture log;
    EXPECT_TRUE(collision::BuildCollisionMesh(broken, 1.0f).size() == 2u && log.Has("out of range"));
}

TEST_F(StoredMeshes, MissingPartsAreWarnedAndChangeNothing) {
    const Mesh span = SpanMesh(), empty;
    LogCapture log;
    GameObject bare("bare");
    bare.AttachComponent(CollisionComp());
    collision::GenerateAxesFromMesh(bare);
    EXPECT_TRUE(log.Has("No model to generate bounding sphere from!") && !bare.GetCollisionComp()->hasSATInfo &&
                !bare.GetCollisionComp()->hasBoundSphere);

    GameObject noCollision = Object("mesh_cv_span", &span, 1.0f, false);
    collision::GenerateBoundingSphere(noCollision);
    collision::GenerateAxesFromMesh(noCollision);
    EXPECT_TRUE(log.Count("No collision component on this GameObject!") == 2 && log.Has("collision_manager/volumes.cpp:"));

    GameObject unloaded = Object("mesh_cv_not_loaded", nullptr, 1.0f);
    collision::GenerateAxesFromMesh(unloaded);
    EXPECT_TRUE(log.Has("mesh_cv_not_loaded has not been loaded") && !unloaded.GetCollisionComp()->hasSATInfo &&
                !unloaded.GetCollisionComp()->hasBoundSphere);

    GameObject hollow = Object("mesh_cv_empty", &empty, 1.0f);
    collision::GenerateBoundingSphere(hollow);
    EXPECT_TRUE(!hollow.GetCollisionComp()->hasBoundSphere && log.Has("has no vertices"));

    GameObject spanned = Object("mesh_cv_span", nullptr, 2.0f);
    collision::GenerateBoundingSphere(spanned);  // encloses the scaled box
    const BoundingSphere& sphere = spanned.GetCollisionComp()->boundSphere;
    EXPECT_TRUE(VectorNear(sphere.center, Vector(1, 1, 0)) && sphere.radius == 3.0f);
}

TEST_F(StoredMeshes, ACubeGivesSixFaceNormalsAndDistinctEdgeDirections) {
    const Mesh cubeMesh = CubeMesh();
    GameObject cube = Object("mesh_cv_cube", &cubeMesh, 3.0f);
    collision::GenerateAxesFromMesh(cube);
    const CollisionComp& comp = *cube.GetCollisionComp();
    ASSERT_TRUE(comp.hasSATInfo && comp.faceNormals.vectors.size() == 6u);
    const std::vector<Vector>& edges = comp.edgeVectors.vectors;
    for (int i = 0; i < 6; ++i) {  // every axis direction, both ways
        Vector axis;
        axis[i / 2] = i % 2 ? -1.0f : 1.0f;
        EXPECT_TRUE(Holds(comp.faceNormals, axis) && Holds(comp.edgeVectors, axis)) << axis;
    }
    // Edges: unit length and never two within the tolerance of each other.
    for (size_t i = 0; i < edges.size(); ++i) {
        EXPECT_NEAR(edges[i].Mag(), 1.0f, 1e-5f);
        for (size_t j = i + 1; j < edges.size(); ++j) EXPECT_GE(L1(edges[i], edges[j]), 0.5f);
    }
    EXPECT_LE(edges.size(), 18u);  // 6 axis directions + 12 signed face diagonals
    EXPECT_NEAR(comp.boundSphere.radius, 3.0f * std::sqrt(3.0f), 1e-4f);  // the sphere came first, at scale
    ASSERT_EQ(comp.meshVerts.size(), 8u);  // corners 6 apart: all kept, scaled
    EXPECT_TRUE(VectorNear(comp.meshVerts[7], Vector(3, 3, 3)));

    // Mesh points within four tenths of an existing sphere's radius are dropped.
    Mesh close;
    for (float x : {0.0f, 0.1f, 1.0f}) close.AddVert(Vertex(x, 0, 0));
    close.AddTriangle(0, 1, 2);
    GameObject object = Object("mesh_cv_close", &close, 1.0f);
    object.GetCollisionComp()->hasBoundSphere = true;
    object.GetCollisionComp()->boundSphere.radius = 1.0f;
    collision::GenerateAxesFromMesh(object);
    ASSERT_EQ(object.GetCollisionComp()->meshVerts.size(), 2u);
    EXPECT_TRUE(VectorNear(object.GetCollisionComp()->meshVerts[1], Vector(1, 0, 0)));
}

}  // namespace
