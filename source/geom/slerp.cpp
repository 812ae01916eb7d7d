#include <cmath>

#include "geom/quaternion.h"

namespace {

constexpr float kNearlyOpposite = 1e-3f;

// A quaternion orthogonal to q in four dimensions, of the same length.
Quaternion Perpendicular(const Quaternion& q) {
    return Quaternion(-q.v.x, Vector(q.s, -q.v.z, q.v.y));
}

Quaternion Scaled(const Quaternion& q) {
    const float mag = q.Mag();
    return mag > 0.0f ? q * (1.0f / mag) : q;
}

}  // namespace

Quaternion Slerp(const Quaternion& a, const Quaternion& b, double t) {
    if (t <= 0.0) return a;
    if (t >= 1.0) return b;
    if ((b - a).Mag() < 1e-8f) return a;

    const float tf = static_cast<float>(t);
    float d = a.Dot(b);
    if (d > 1.0f) return Scaled(a * (1.0f - tf) + b * tf);
    // Rounding can push the cosine of opposite quaternions below -1; they are
    // handled with the half-turn path below.
    if (d < -1.0f) d = -1.0f;

    const float theta = std::acos(d);
    Quaternion r = b - a * d;
    // For b = -a there is no plane of rotation, and near it r is mostly
    // rounding noise; any perpendicular plane gives a valid path instead of
    // not-a-number or a result off the unit sphere.
    if (d < 0.0f && r.Mag() <= kNearlyOpposite * a.Mag()) r = Perpendicular(a);
    r = Scaled(r);
    return a * std::cos(tf * theta) + r * std::sin(tf * theta);
}
