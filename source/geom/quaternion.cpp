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
