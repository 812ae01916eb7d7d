// VectorSet: a list of Vectors with a tolerance, the form in which the
// collision module keeps a shape's edge directions and face normals, with its
// set operations (membership within the tolerance, adding without duplicates),
// and the ConvexPolygon face record. Pure math: no lock, no object.
#pragma once

#include <vector>

#include "geom/geom.h"

struct VectorSet {
    explicit VectorSet(float tolerance = 1e-8f) : tolerance(tolerance) {}

    float tolerance;
    std::vector<Vector> vectors;
};

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
// q.rot.Rotate(v) + q.trans for each v, in order (all four components).
std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q);

}  // namespace collision
