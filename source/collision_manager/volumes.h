// Collision volumes: derive an object's collision shapes from its mesh (box,
// oriented box, bounding sphere, separating-axis data, per-triangle
// polygons), with the VectorSet
// operations and ConvexPolygon of geom/vector_set.h.
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
#include "geom/vector_set.h"

class GameObject;
class Mesh;

namespace collision {

// ---- Mesh volumes (pure) -----------------------------------------------------
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
