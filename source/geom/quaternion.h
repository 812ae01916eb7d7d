// Quaternion (s, v) and QuatVec (rotation then translation), with the
// conversions to and from Matrix and Slerp. The rotation by angle t about
// the unit axis a is (cos t/2, a sin t/2) with v.w = 0.
//
// Note the defaults: Quaternion() is all zero, NOT the identity; QuatVec() is
// the identity. Plain values, any thread.
#pragma once

#include <ostream>

#include "geom/matrix.h"
#include "geom/vector.h"

struct Quaternion {
    float s;
    Vector v;

    Quaternion();                                  // (0, (0, 0, 0, 0))
    explicit Quaternion(float s);                  // (s, (0, 0, 0, 0))
    Quaternion(float s, const Vector& v);

    // s*b.s + v.b.v over x, y, z (v.w ignored).
    float Dot(const Quaternion& b) const;
    // All five floats.
    Quaternion operator+(const Quaternion& b) const;
    Quaternion operator-(const Quaternion& b) const;
    Quaternion operator*(float k) const;
    // Hamilton product; v'.w = s*b.v.w + b.s*v.w.
    Quaternion operator*(const Quaternion& b) const;
    // Product with the pure quaternion (0, p); v'.w = s*p.w.
    Quaternion operator*(const Vector& p) const;
    // q p q^-1 for a unit q (formula applied as is for others).
    Vector Rotate(const Vector& p) const;

    // Conjugate (s, -v), all four components of v negated.
    Quaternion Comp() const;
    // Length over s, v.x, v.y, v.z (v.w ignored).
    float Mag() const;
    // All five floats divided by Mag(). The zero quaternion stays zero.
    Quaternion Norm() const;
    // (s, -v) divided by Mag(): the inverse of a unit quaternion. The zero
    // quaternion stays zero.
    Quaternion Inv() const;
    // (cos t, v sin t / t) with t = |v| over four components; s is not used.
    Quaternion Exp() const;
    // (0, v acos(s) / sin(acos(s))), or all zero when that sine is not positive.
    Quaternion Log() const;
    // (Log() * t).Exp()
    Quaternion Pow(float t) const;
};

// s, ", ", then v as a Vector is written.
std::ostream& operator<<(std::ostream& out, const Quaternion& q);

// The rigid transform p -> rot.Rotate(p) + trans.
struct QuatVec {
    Quaternion rot;
    Vector trans;

    QuatVec();                                     // identity
    explicit QuatVec(const Quaternion& rot);       // trans = 0
    QuatVec(const Quaternion& rot, const Vector& trans);

    // In place: rot = (1, 0), trans = 0.
    void Identity();
    // Composition with b applied first.
    QuatVec operator*(const QuatVec& b) const;
    // rot.Rotate(p) + trans over four components.
    Vector operator*(const Vector& p) const;
    // Inverse transform for a unit rot.
    QuatVec Inv() const;
};

// Spherical interpolation; t <= 0 gives a, t >= 1 gives b. There is no flip to
// the shorter arc: a negative dot product goes the long way round. For b = -a
// (no unique arc) the path runs through a quaternion perpendicular to a, so
// the result stays a unit quaternion.
Quaternion Slerp(const Quaternion& a, const Quaternion& b, double t);

// Rotation matrix of q (not normalised, v.w ignored); m[3][3] = 1.
Matrix QuaternionToMatrix(const Quaternion& q);
// Matrix of the transform, and of its inverse.
Matrix QuatVecToMatrix(const QuatVec& qv);
Matrix QuatVecToMatrix(const Quaternion& rot, const Vector& trans);
Matrix InvQuatVecToMatrix(const QuatVec& qv);
Matrix InvQuatVecToMatrix(const Quaternion& rot, const Vector& trans);
// The rotation of a rigid matrix as a quaternion with s >= 0, plus its
// translation (w = 0).
QuatVec MatrixToQuatVec(const Matrix& m);

struct AxisAngle {
    Vector axis;
    float angle;
};
// Axis (q.v scaled to unit length when possible) and angle 2 acos(s).
AxisAngle QuaternionToAxisAngle(const Quaternion& q);
