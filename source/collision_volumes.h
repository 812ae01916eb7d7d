// Collision volumes: derive an object's collision shapes from its mesh (box,
// oriented box, bounding sphere, separating-axis data, per-triangle
// polygons), plus the VectorSet operations and the ConvexPolygon they use.
// The CollisionManager and the script bindings expose these under the same
// names.
//
// Threads: pure functions or functions of one object; they take no lock and
// touch no manager list. The GameObject forms are for objects being built
// (before registration) or objects the caller holds under the object lock.
// Meshes are looked up through the object's GraphicsComp (the store's lock).
//
// Bad geometry never reads outside the mesh: a triangle whose corner index
// lies outside the vertex list is skipped with a warning, and an empty mesh
// gives a zero box and leaves objects untouched.
#pragma once

#include <vector>

#include "geom/geom.h"
#include "objects/vector_set.h"

class GameObject;
class Mesh;

// A convex face: its corners in order and the plane they lie in.
struct ConvexPolygon {
    ConvexPolygon() = default;
    // Corners p0, p1, p2; normal Norm((p1 - p0) x (p2 - p0)) with w 0; origin p0.
    ConvexPolygon(const Vector& p0, const Vector& p1, const Vector& p2);

    std::vector<Vector> verts;
    Plane plane;
};

namespace collision {

// ---- VectorSet ---------------------------------------------------------------
// True when some member lies closer to v than the set's tolerance, measured
// as |dx| + |dy| + |dz| (strictly less; w ignored).
bool Contains(const VectorSet& set, const Vector& v);
// Appends v unless the set already Contains it.
void Add(VectorSet& set, const Vector& v);
// Adds every element through Add, in order.
void AddAll(VectorSet& set, const std::vector<Vector>& more);
void AddAll(VectorSet& set, const VectorSet& more);
// Every member moved by q (rotation, then translation); same tolerance, no
// duplicate test.
VectorSet TransformVectorSet(const VectorSet& set, const QuatVec& q);
// The cross products a x b (a over A outer, b over B inner) through Add,
// with the mean of the two tolerances; products that are (near) zero, from
// parallel vectors, are left out.
VectorSet CrossVectorSets(const VectorSet& a, const VectorSet& b);

// ---- Mesh volumes (pure) -----------------------------------------------------
// q.rot.Rotate(v) + q.trans for each v, in order (all four components).
std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q);
// Each vertex position times scale, w 0, in vertex order.
std::vector<Vector> ScaledMeshVerts(const Mesh& mesh, float scale);
// The box around the scaled positions; a zero box for a mesh without vertices.
AABB BuildAABB(const Mesh& mesh, float scale);
// BuildAABB's centre and extents with the identity rotation.
OBB BuildOBB(const Mesh& mesh, float scale);
// One polygon per triangle, in triangle order, from the scaled corners.
std::vector<ConvexPolygon> BuildCollisionMesh(const Mesh& mesh, float scale);

// ---- Object volumes ----------------------------------------------------------
// The object's loaded mesh with vertices, or null for an object without a
// GraphicsComp or mesh name (spawn points and other invisible objects) or
// whose mesh is missing or empty. Logs nothing itself.
const Mesh* ObjectMesh(const GameObject& object);
// Fills the CollisionComp's bounding sphere (centre and half diagonal of the
// scaled mesh's box, in the object's frame). Needs a GraphicsComp with a
// loaded, non-empty mesh and a CollisionComp; otherwise warns and changes
// nothing.
void GenerateBoundingSphere(GameObject& object);
// Fills edgeVectors, faceNormals and meshVerts and sets hasSATInfo (and the
// bounding sphere first when there is none). Same requirements and warnings
// as GenerateBoundingSphere.
void GenerateAxesFromMesh(GameObject& object);

}  // namespace collision
