// The mesh and object halves of the collision volumes.
#include "collision_manager/volumes.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "objects/collision_comp.h"
#include "objects/game_object.h"
#include "objects/graphics_comps.h"
#include "resource_manager/mesh.h"
#include "system/source_position.h"
#include "system.h"

namespace {

// Tolerances of the separating-axis sets: directions closer than this (sum
// of absolute differences) count as one axis.
const float kAxisTolerance = 0.5f;
// Mesh vertices closer than this share of the sphere radius are kept once.
const float kVertexToleranceShare = 0.4f;

Vector Position(const Vertex& vertex) { return Vector(vertex.v[0], vertex.v[1], vertex.v[2], 0.0f); }

bool CornersInRange(const Mesh& mesh, const Triangle& tri) {
    const size_t n = mesh.verts.size();
    return tri.verts[0] < n && tri.verts[1] < n && tri.verts[2] < n;
}

// The triangles whose corners all index real vertices; warns once per call
// about any others.
std::vector<const Triangle*> ValidTriangles(const Mesh& mesh) {
    std::vector<const Triangle*> valid;
    valid.reserve(mesh.triangles.size());
    for (const Triangle& tri : mesh.triangles)
        if (CornersInRange(mesh, tri)) valid.push_back(&tri);
    if (valid.size() != mesh.triangles.size())
        Module<System>::Instance()->Warning(SOURCE_POS + "Mesh " + mesh.name +
                                            " has triangles with vertex indices out of range; skipped");
    return valid;
}

// The object's CollisionComp and mesh, or false after the warning that
// names what is missing. A mesh that is not loaded has been reported by the
// store already.
bool VolumeSources(GameObject& object, CollisionComp*& comp, const Mesh*& mesh, float& scale) {
    System& system = *Module<System>::Instance();
    const GraphicsComp* graphics = object.GetGraphicsComp();
    if (!graphics) {
        system.Warning(SOURCE_POS + "No model to generate bounding sphere from!");
        return false;
    }
    comp = object.GetCollisionComp();
    if (!comp) {
        system.Warning(SOURCE_POS + "No collision component on this GameObject!");
        return false;
    }
    mesh = graphics->GetMesh();
    if (!mesh) return false;
    if (mesh->verts.empty()) {
        system.Warning(SOURCE_POS + "Mesh " + graphics->modelMesh.id + " has no vertices to bound");
        return false;
    }
    scale = graphics->modelScale;
    return true;
}

void FillBoundingSphere(CollisionComp& comp, const Mesh& mesh, float scale) {
    AABB box = collision::BuildAABB(mesh, scale);
    comp.boundSphere.center = box.center;
    comp.boundSphere.radius = box.extents.Mag();
    comp.hasBoundSphere = true;
}

VectorSet EdgeDirections(const Mesh& mesh, const std::vector<const Triangle*>& triangles) {
    std::set<std::pair<unsigned, unsigned>> pairs;
    for (const Triangle* tri : triangles) {
        pairs.emplace(tri->verts[0], tri->verts[1]);
        pairs.emplace(tri->verts[1], tri->verts[2]);
        pairs.emplace(tri->verts[2], tri->verts[0]);
    }
    VectorSet directions(kAxisTolerance);
    for (const auto& pair : pairs)
        collision::Add(directions, (mesh.verts[pair.first] - mesh.verts[pair.second]).Norm());
    return directions;
}

VectorSet FaceNormals(const Mesh& mesh, const std::vector<const Triangle*>& triangles) {
    VectorSet normals(kAxisTolerance);
    for (const Triangle* tri : triangles) {
        Vector p0 = Position(mesh.verts[tri->verts[0]]);
        Vector p1 = Position(mesh.verts[tri->verts[1]]);
        Vector p2 = Position(mesh.verts[tri->verts[2]]);
        collision::Add(normals, Cross(p1 - p0, p2 - p0).Norm());
    }
    return normals;
}

}  // namespace

namespace collision {

std::vector<Vector> ScaledMeshVerts(const Mesh& mesh, float scale) {
    std::vector<Vector> scaled;
    scaled.reserve(mesh.verts.size());
    for (const Vertex& vertex : mesh.verts)
        scaled.emplace_back(vertex.v[0] * scale, vertex.v[1] * scale, vertex.v[2] * scale, 0.0f);
    return scaled;
}

AABB BuildAABB(const Mesh& mesh, float scale) {
    std::vector<Vector> points = ScaledMeshVerts(mesh, scale);
    if (points.empty()) return AABB();
    Vector low = points[0], high = points[0];
    for (size_t i = 1; i < points.size(); ++i) {
        const Vector& p = points[i];
        for (int k = 0; k < 3; ++k) {
            if (p[k] < low[k]) low[k] = p[k];
            if (p[k] > high[k]) high[k] = p[k];
        }
    }
    Vector extents = (high - low) * 0.5f;
    Vector center = (low + high) * 0.5f;
    extents.w = 0.0f;
    center.w = 0.0f;
    return AABB(center, extents);
}

OBB BuildOBB(const Mesh& mesh, float scale) {
    AABB box = BuildAABB(mesh, scale);
    return OBB(box.center, box.extents, Quaternion(1.0f));
}

std::vector<ConvexPolygon> BuildCollisionMesh(const Mesh& mesh, float scale) {
    std::vector<Vector> points = ScaledMeshVerts(mesh, scale);
    std::vector<ConvexPolygon> polygons;
    for (const Triangle* tri : ValidTriangles(mesh))
        polygons.emplace_back(points[tri->verts[0]], points[tri->verts[1]], points[tri->verts[2]]);
    return polygons;
}

const Mesh* ObjectMesh(const GameObject& object) {
    const GraphicsComp* graphics = object.GetGraphicsComp();
    // An empty name is not asked for: the store would report it as missing.
    if (!graphics || graphics->modelMesh.id.empty()) return nullptr;
    const Mesh* mesh = graphics->GetMesh();
    return mesh && !mesh->verts.empty() ? mesh : nullptr;
}

void GenerateBoundingSphere(GameObject& object) {
    CollisionComp* comp = nullptr;
    const Mesh* mesh = nullptr;
    float scale = 1.0f;
    if (!VolumeSources(object, comp, mesh, scale)) return;
    FillBoundingSphere(*comp, *mesh, scale);
}

void GenerateAxesFromMesh(GameObject& object) {
    CollisionComp* comp = nullptr;
    const Mesh* mesh = nullptr;
    float scale = 1.0f;
    if (!VolumeSources(object, comp, mesh, scale)) return;

    std::vector<const Triangle*> triangles = ValidTriangles(*mesh);
    comp->edgeVectors = EdgeDirections(*mesh, triangles);
    comp->faceNormals = FaceNormals(*mesh, triangles);
    if (!comp->hasBoundSphere) FillBoundingSphere(*comp, *mesh, scale);

    VectorSet kept(comp->boundSphere.radius * kVertexToleranceShare);
    AddAll(kept, ScaledMeshVerts(*mesh, scale));
    comp->meshVerts = kept.vectors;
    comp->hasSATInfo = true;
}

}  // namespace collision
