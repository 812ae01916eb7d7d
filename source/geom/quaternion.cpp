#include "geom/quaternion.h"

#include <cmath>

Quaternion::Quaternion() : s(0.0f), v() {}

Quaternion::Quaternion(float s_) : s(s_), v() {}

Quaternion::Quaternion(float s_, const Vector& v_) : s(s_), v(v_) {}

float Quaternion::Dot(const Quaternion& b) const { return s * b.s + v * b.v; }

Quaternion Quaternion::operator+(const Quaternion& b) const { return Quaternion(s + b.s, v + b.v); }

Quaternion Quaternion::operator-(const Quaternion& b) const { return Quaternion(s - b.s, v - b.v); }

Quaternion Quaternion::operator*(float k) const { return Quaternion(s * k, v * k); }

Quaternion Quaternion::operator*(const Quaternion& b) const {
    return Quaternion(s * b.s - v * b.v, b.v * s + v * b.s + Cross(v, b.v));
}

Quaternion Quaternion::operator*(const Vector& p) const {
    return Quaternion(-(v * p), p * s + Cross(v, p));
}

Vector Quaternion::Rotate(const Vector& p) const {
    return p * (s * s - v * v) + v * (2.0f * (v * p)) + Cross(v, p) * (2.0f * s);
}

Quaternion Quaternion::Comp() const { return Quaternion(s, v * -1.0f); }

float Quaternion::Mag() const { return std::sqrt(s * s + v.x * v.x + v.y * v.y + v.z * v.z); }

Quaternion Quaternion::Norm() const {
    const float mag = Mag();
    // Nothing to scale a zero rotation by; keep it rather than spread NaN.
    if (mag == 0.0f) return *this;
    return *this * (1.0f / mag);
}

Quaternion Quaternion::Inv() const { return Comp().Norm(); }

Quaternion Quaternion::Exp() const {
    const float theta = v.Mag();
    if (theta <= 0.0f) return Quaternion(std::cos(theta));
    return Quaternion(std::cos(theta), v * (std::sin(theta) / theta));
}

Quaternion Quaternion::Log() const {
    // acos of a value outside [-1, 1] has no angle; that counts as no rotation.
    if (!(s >= -1.0f && s <= 1.0f)) return Quaternion();
    const float theta = static_cast<float>(std::acos(static_cast<double>(s)));
    const float sine = std::sin(theta);
    if (sine <= 0.0f) return Quaternion();
    return Quaternion(0.0f, v * (theta / sine));
}

Quaternion Quaternion::Pow(float t) const { return (Log() * t).Exp(); }

std::ostream& operator<<(std::ostream& out, const Quaternion& q) {
    return out << q.s << ", " << q.v;
}

// ---- Slerp

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

// ---- QuatVec

QuatVec::QuatVec() : rot(1.0f), trans() {}

QuatVec::QuatVec(const Quaternion& rot_) : rot(rot_), trans() {}

QuatVec::QuatVec(const Quaternion& rot_, const Vector& trans_) : rot(rot_), trans(trans_) {}

void QuatVec::Identity() {
    rot = Quaternion(1.0f);
    trans = Vector();
}

QuatVec QuatVec::operator*(const QuatVec& b) const {
    return QuatVec(rot * b.rot, trans + rot.Rotate(b.trans));
}

Vector QuatVec::operator*(const Vector& p) const { return rot.Rotate(p) + trans; }

QuatVec QuatVec::Inv() const {
    const Quaternion conj = rot.Comp();
    return QuatVec(conj, conj.Rotate(trans) * -1.0f);
}
