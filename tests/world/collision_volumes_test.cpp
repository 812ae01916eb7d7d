// Collision volumes: VectorSet membership and the set operations, boxes and
// polygons from a mesh, and the bounding sphere and separating-axis data
// written into an object's CollisionComp (with the missing-part warnings).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "collision_volumes.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "resource_manager.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

const float kEps = 1e-5f;

void ExpectVector(const Vector& v, float x, float y, float z, float w = 0.0f) {
    EXPECT_NEAR(v.x, x, kEps);
    EXPECT_NEAR(v.y, y, kEps);
    EXPECT_NEAR(v.z, z, kEps);
    EXPECT_NEAR(v.w, w, kEps);
}

float L1(const Vector& a, const Vector& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
}

// True when some member lies within 1e-4 of v.
bool Holds(const std::vector<Vector>& list, const Vector& v) {
    for (const Vector& m : list)
        if (L1(m, v) < 1e-4f) return true;
    return false;
}

// Unscaled positions spanning x -0.5..1.5, y 0..1, z -1..1; the extremes are
// not the first vertex. Scaled by 2 they span x -1..3, y 0..2, z -2..2.
Mesh SpanMesh() {
    Mesh mesh;
    mesh.name = "span";
    mesh.AddVert(Vertex(0.5f, 0.5f, 0.5f));
    mesh.AddVert(Vertex(-0.5f, 1.0f, 1.0f));
    mesh.AddVert(Vertex(1.5f, 0.0f, -1.0f));
    mesh.AddVert(Vertex(1.0f, 0.2f, 0.3f));
    mesh.AddTriangle(0, 1, 2);
    mesh.AddTriangle(0, 2, 3);
    return mesh;
}

// Corner i of a cube of half size 1: x from bit 0, y from bit 1, z from bit 2.
// Each face is split into two triangles wound to face outwards.
Mesh CubeMesh() {
    Mesh mesh;
    mesh.name = "cube";
    for (int i = 0; i < 8; ++i)
        mesh.AddVert(Vertex(i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f));
    const unsigned faces[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                  {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    for (const auto& f : faces) {
        Vector centre = Vector(0, 0, 0);
        for (unsigned k : f) centre = centre + (mesh.verts[k] - Vertex());
        Vector normal = Cross(mesh.verts[f[1]] - mesh.verts[f[0]], mesh.verts[f[2]] - mesh.verts[f[0]]);
        bool outward = normal * centre > 0.0f;
        if (outward) {
            mesh.AddTriangle(f[0], f[1], f[2]);
            mesh.AddTriangle(f[0], f[2], f[3]);
        } else {
            mesh.AddTriangle(f[0], f[2], f[1]);
            mesh.AddTriangle(f[0], f[3], f[2]);
        }
    }
    return mesh;
}

// Stores mesh under name for the life of the fixture.
class StoredMeshes : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& name : stored) Module<ResourceManager>::Instance()->DeleteResource(name);
    }
    void Store(const std::string& name, const Mesh& mesh) {
        ResourceManager& store = *Module<ResourceManager>::Instance();
        if (store.IsStored(name)) store.DeleteResource(name);
        ASSERT_EQ(store.add(name, mesh), 0);
        stored.push_back(name);
    }
    // An object drawing meshName at scale, with or without a CollisionComp.
    static GameObject Object(const std::string& meshName, float scale, bool withCollision = true) {
        GameObject object("volume_test");
        GraphicsComp graphics;
        graphics.modelMesh = Handle(meshName);
        graphics.modelScale = scale;
        object.AttachComponent(graphics);
        if (withCollision) object.AttachComponent(CollisionComp());
        return object;
    }

    std::vector<std::string> stored;
};

// ---- VectorSet ---------------------------------------------------------------

TEST(VectorSetOps, MembershipIsStrictlyWithinTheToleranceAndIgnoresW) {
    VectorSet set(0.5f);
    collision::Add(set, Vector(1, 0, 0, 0));
    EXPECT_TRUE(collision::Contains(set, Vector(1.2f, 0.1f, 0.1f, 50.0f)));
    EXPECT_FALSE(collision::Contains(set, Vector(1.25f, 0.25f, 0.0f)));  // exactly 0.5 away
    EXPECT_FALSE(collision::Contains(VectorSet(0.5f), Vector()));

    collision::Add(set, Vector(1.1f, 0, 0, 0));
    collision::Add(set, Vector(-1, 0, 0, 0));
    ASSERT_EQ(set.vectors.size(), 2u);
    ExpectVector(set.vectors[1], -1, 0, 0);
}

TEST(VectorSetOps, AddAllGoesThroughAddInOrder) {
    VectorSet set(0.5f);
    collision::AddAll(set, std::vector<Vector>{Vector(0, 0, 0), Vector(0.1f, 0, 0), Vector(2, 0, 0)});
    ASSERT_EQ(set.vectors.size(), 2u);
    ExpectVector(set.vectors[0], 0, 0, 0);

    VectorSet other(0.01f);
    other.vectors = {Vector(2.2f, 0, 0), Vector(5, 0, 0)};
    collision::AddAll(set, other);
    ASSERT_EQ(set.vectors.size(), 3u);
    ExpectVector(set.vectors[2], 5, 0, 0);

    collision::AddAll(set, set);  // adding a set to itself changes nothing
    EXPECT_EQ(set.vectors.size(), 3u);
}

TEST(VectorSetOps, TransformMovesEveryMemberWithoutTheDuplicateTest) {
    VectorSet set(3.0f);
    set.vectors = {Vector(1, 0, 0), Vector(1.5f, 0, 0)};
    // A quarter turn about y (x goes to -z), then a shift.
    QuatVec turn(Quaternion(std::cos(0.7853982f), Vector(0, std::sin(0.7853982f), 0)), Vector(0, 10, 0));
    VectorSet moved = collision::TransformVectorSet(set, turn);
    EXPECT_FLOAT_EQ(moved.tolerance, 3.0f);
    ASSERT_EQ(moved.vectors.size(), 2u);
    ExpectVector(moved.vectors[0], 0, 10, -1);
    ExpectVector(moved.vectors[1], 0, 10, -1.5f);
}

TEST(VectorSetOps, CrossSetsKeepEveryNonParallelProductInOrder) {
    VectorSet a(0.2f), b(0.4f);
    a.vectors = {Vector(1, 0, 0), Vector(0, 1, 0)};
    b.vectors = {Vector(0, 1, 0), Vector(0, 0, 1), Vector(0, 2, 0)};
    VectorSet crosses = collision::CrossVectorSets(a, b);
    EXPECT_FLOAT_EQ(crosses.tolerance, 0.3f);
    // x*y = z, x*z = -y, x*2y = 2z; y*y = 0 (dropped), y*z = x, y*2y = 0.
    ASSERT_EQ(crosses.vectors.size(), 4u);
    ExpectVector(crosses.vectors[0], 0, 0, 1);
    ExpectVector(crosses.vectors[1], 0, -1, 0);
    ExpectVector(crosses.vectors[2], 0, 0, 2);
    ExpectVector(crosses.vectors[3], 1, 0, 0);

    VectorSet parallel(0.1f);
    parallel.vectors = {Vector(3, 3, 3)};
    EXPECT_TRUE(collision::CrossVectorSets(parallel, parallel).vectors.empty());
}

TEST(VectorSetOps, TransformVertsAddsAllFourComponents) {
    std::vector<Vector> verts = {Vector(1, 2, 3, 1), Vector(-4, 0, 0.5f, 0)};
    std::vector<Vector> same = collision::TransformVerts(verts, QuatVec());
    ASSERT_EQ(same.size(), 2u);
    ExpectVector(same[0], 1, 2, 3, 1);
    ExpectVector(same[1], -4, 0, 0.5f, 0);

    std::vector<Vector> shifted =
        collision::TransformVerts(verts, QuatVec(Quaternion(1.0f), Vector(1, 1, 1, 1)));
    ExpectVector(shifted[0], 2, 3, 4, 2);
    EXPECT_TRUE(collision::TransformVerts({}, QuatVec()).empty());
}

// ---- Mesh volumes ------------------------------------------------------------

TEST(MeshVolumes, TheBoxSpansTheScaledPositions) {
    AABB box = collision::BuildAABB(SpanMesh(), 2.0f);
    ExpectVector(box.center, 1, 1, 0);
    ExpectVector(box.extents, 2, 1, 2);

    OBB obb = collision::BuildOBB(SpanMesh(), 2.0f);
    ExpectVector(obb.center, 1, 1, 0);
    ExpectVector(obb.extents, 2, 1, 2);
    EXPECT_FLOAT_EQ(obb.rot.s, 1.0f);
    ExpectVector(obb.rot.v, 0, 0, 0);
}

TEST(MeshVolumes, AOneVertexMeshHasAFlatBoxAndAnEmptyMeshAZeroBox) {
    Mesh point;
    point.AddVert(Vertex(2, -3, 4));
    AABB box = collision::BuildAABB(point, 0.5f);
    ExpectVector(box.center, 1, -1.5f, 2);
    ExpectVector(box.extents, 0, 0, 0);

    AABB none = collision::BuildAABB(Mesh(), 1.0f);
    ExpectVector(none.center, 0, 0, 0);
    ExpectVector(none.extents, 0, 0, 0);
}

TEST(MeshVolumes, PolygonsFollowTheTrianglesAtScale) {
    std::vector<ConvexPolygon> polygons = collision::BuildCollisionMesh(SpanMesh(), 2.0f);
    ASSERT_EQ(polygons.size(), 2u);
    const ConvexPolygon& first = polygons[0];
    ASSERT_EQ(first.verts.size(), 3u);
    ExpectVector(first.verts[0], 1, 1, 1);
    ExpectVector(first.verts[1], -1, 2, 2);
    ExpectVector(first.verts[2], 3, 0, -2);
    ExpectVector(first.plane.origin, 1, 1, 1);
    // Norm((p1 - p0) x (p2 - p0)) = Norm(-2, -4, 0).
    ExpectVector(first.plane.normal, -0.4472136f, -0.8944272f, 0.0f);
    // Every corner lies in the polygon's plane.
    for (const ConvexPolygon& polygon : polygons)
        for (const Vector& corner : polygon.verts) EXPECT_NEAR(polygon.plane.EvalImplicit(corner), 0.0f, 1e-4f);
}

TEST(MeshVolumes, TrianglesWithVertexIndicesOutOfRangeAreSkipped) {
    Mesh mesh = SpanMesh();
    mesh.triangles.push_back(Triangle(0, 1, 99));
    LogCapture log;
    EXPECT_EQ(collision::BuildCollisionMesh(mesh, 1.0f).size(), 2u);
    EXPECT_TRUE(log.Has("out of range"));
}

// ---- Object volumes ----------------------------------------------------------

TEST_F(StoredMeshes, TheBoundingSphereEnclosesTheScaledBox) {
    Store("mesh_cv_span", SpanMesh());
    GameObject object = Object("mesh_cv_span", 2.0f);
    collision::GenerateBoundingSphere(object);
    const CollisionComp& comp = *object.GetCollisionComp();
    EXPECT_TRUE(comp.hasBoundSphere);
    ExpectVector(comp.boundSphere.center, 1, 1, 0);
    EXPECT_FLOAT_EQ(comp.boundSphere.radius, 3.0f);
    EXPECT_FALSE(comp.hasSATInfo);
}

TEST_F(StoredMeshes, MissingPartsAreWarnedInOrderAndChangeNothing) {
    Store("mesh_cv_span", SpanMesh());
    {
        LogCapture log;
        GameObject bare("bare");
        bare.AttachComponent(CollisionComp());
        collision::GenerateAxesFromMesh(bare);
        EXPECT_TRUE(log.Has("No model to generate bounding sphere from!"));
        EXPECT_FALSE(log.Has("No collision component"));
        EXPECT_FALSE(bare.GetCollisionComp()->hasSATInfo);
        EXPECT_FALSE(bare.GetCollisionComp()->hasBoundSphere);
        EXPECT_TRUE(bare.GetCollisionComp()->edgeVectors.vectors.empty());
    }
    {
        LogCapture log;
        GameObject noCollision = Object("mesh_cv_span", 1.0f, false);
        collision::GenerateBoundingSphere(noCollision);
        collision::GenerateAxesFromMesh(noCollision);
        EXPECT_EQ(log.Count("No collision component on this GameObject!"), 2);
        EXPECT_TRUE(log.Has("collision_volumes.cpp:")) << "warnings carry their source position";
    }
    {
        LogCapture log;
        GameObject unloaded = Object("mesh_cv_not_loaded", 1.0f);
        collision::GenerateAxesFromMesh(unloaded);
        EXPECT_TRUE(log.Has("mesh_cv_not_loaded has not been loaded"));
        EXPECT_FALSE(unloaded.GetCollisionComp()->hasSATInfo);
        EXPECT_FALSE(unloaded.GetCollisionComp()->hasBoundSphere);
    }
    {
        Store("mesh_cv_empty", Mesh());
        LogCapture log;
        GameObject empty = Object("mesh_cv_empty", 1.0f);
        collision::GenerateBoundingSphere(empty);
        EXPECT_FALSE(empty.GetCollisionComp()->hasBoundSphere);
        EXPECT_FLOAT_EQ(empty.GetCollisionComp()->boundSphere.radius, 1.0f);
        EXPECT_TRUE(log.Has("has no vertices"));
    }
}

TEST_F(StoredMeshes, ACubeGivesSixFaceNormalsAndDistinctEdgeDirections) {
    Store("mesh_cv_cube", CubeMesh());
    GameObject cube = Object("mesh_cv_cube", 3.0f);
    collision::GenerateAxesFromMesh(cube);
    const CollisionComp& comp = *cube.GetCollisionComp();
    EXPECT_TRUE(comp.hasSATInfo);

    const std::vector<Vector> axes = {Vector(1, 0, 0), Vector(-1, 0, 0), Vector(0, 1, 0),
                                      Vector(0, -1, 0), Vector(0, 0, 1), Vector(0, 0, -1)};
    EXPECT_FLOAT_EQ(comp.faceNormals.tolerance, 0.5f);
    ASSERT_EQ(comp.faceNormals.vectors.size(), 6u);
    for (const Vector& axis : axes) EXPECT_TRUE(Holds(comp.faceNormals.vectors, axis));

    // Edges: the cube's axes both ways plus the face diagonals, unit length
    // and never two within the tolerance of each other.
    const std::vector<Vector>& edges = comp.edgeVectors.vectors;
    EXPECT_FLOAT_EQ(comp.edgeVectors.tolerance, 0.5f);
    for (const Vector& axis : axes) EXPECT_TRUE(Holds(edges, axis));
    for (size_t i = 0; i < edges.size(); ++i) {
        EXPECT_NEAR(edges[i].Mag(), 1.0f, kEps);
        EXPECT_EQ(edges[i].w, 0.0f);
        for (size_t j = i + 1; j < edges.size(); ++j) EXPECT_GE(L1(edges[i], edges[j]), 0.5f);
    }
    EXPECT_LE(edges.size(), 18u);  // 6 axis directions + 12 signed face diagonals

    // The sphere was made first (at scale): half diagonal of a 6-unit cube.
    EXPECT_TRUE(comp.hasBoundSphere);
    EXPECT_NEAR(comp.boundSphere.radius, 3.0f * std::sqrt(3.0f), 1e-4f);
    // Corners are 6 apart, far more than 0.4 of the radius: all 8 kept, scaled.
    ASSERT_EQ(comp.meshVerts.size(), 8u);
    ExpectVector(comp.meshVerts[7], 3, 3, 3);
}

TEST_F(StoredMeshes, MeshVertsDropNeighboursWithinFourTenthsOfTheRadius) {
    Mesh mesh;
    mesh.AddVert(Vertex(0, 0, 0));
    mesh.AddVert(Vertex(0.1f, 0, 0));
    mesh.AddVert(Vertex(1, 0, 0));
    mesh.AddTriangle(0, 1, 2);
    Store("mesh_cv_close", mesh);

    GameObject object = Object("mesh_cv_close", 1.0f);
    CollisionComp* comp = object.GetCollisionComp();
    comp->hasBoundSphere = true;  // an existing sphere is used as it is
    comp->boundSphere.radius = 1.0f;
    collision::GenerateAxesFromMesh(object);
    ASSERT_EQ(comp->meshVerts.size(), 2u);
    ExpectVector(comp->meshVerts[0], 0, 0, 0);
    ExpectVector(comp->meshVerts[1], 1, 0, 0);
    EXPECT_FLOAT_EQ(comp->boundSphere.radius, 1.0f);
}

}  // namespace
