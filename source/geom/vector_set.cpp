// The VectorSet and ConvexPolygon halves of the collision volumes.
#include <cmath>

#include "geom/vector_set.h"

ConvexPolygon::ConvexPolygon(const Vector& p0, const Vector& p1, const Vector& p2)
    : verts{p0, p1, p2}, plane(p0, p1, p2) {}

namespace collision {

bool Contains(const VectorSet& set, const Vector& v) {
    for (const Vector& m : set.vectors) {
        float d = std::fabs(m.x - v.x) + std::fabs(m.y - v.y) + std::fabs(m.z - v.z);
        if (d < set.tolerance) return true;
    }
    return false;
}

void Add(VectorSet& set, const Vector& v) {
    if (!Contains(set, v)) set.vectors.push_back(v);
}

void AddAll(VectorSet& set, const std::vector<Vector>& more) {
    // Indexed and sized up front: `more` may be the set's own list.
    const size_t count = more.size();
    for (size_t i = 0; i < count; ++i) Add(set, Vector(more[i]));
}

void AddAll(VectorSet& set, const VectorSet& more) { AddAll(set, more.vectors); }

VectorSet TransformVectorSet(const VectorSet& set, const QuatVec& q) {
    VectorSet moved(set.tolerance);
    moved.vectors = TransformVerts(set.vectors, q);
    return moved;
}

VectorSet CrossVectorSets(const VectorSet& a, const VectorSet& b) {
    const float kZero = 1e-8f;
    VectorSet crosses((a.tolerance + b.tolerance) * 0.5f);
    for (const Vector& u : a.vectors) {
        for (const Vector& v : b.vectors) {
            Vector c = Cross(u, v);
            // Parallel pairs give the zero vector, which is no axis. An
            // axis-aligned product such as x cross y = z is kept.
            bool nonZero = std::fabs(c.x) > kZero || std::fabs(c.y) > kZero || std::fabs(c.z) > kZero;
            if (nonZero) Add(crosses, c);
        }
    }
    return crosses;
}

std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q) {
    std::vector<Vector> moved;
    moved.reserve(verts.size());
    for (const Vector& v : verts) moved.push_back(q.rot.Rotate(v) + q.trans);
    return moved;
}

}  // namespace collision
