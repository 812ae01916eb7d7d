#include <cmath>

#include "geom/quaternion.h"

Matrix QuaternionToMatrix(const Quaternion& q) {
    const float x = q.v.x, y = q.v.y, z = q.v.z, s = q.s;
    Matrix out;
    out.Zero();
    out.m[0][0] = 1.0f - 2.0f * (y * y + z * z);
    out.m[0][1] = 2.0f * (x * y + z * s);
    out.m[0][2] = 2.0f * (x * z - y * s);
    out.m[1][0] = 2.0f * (x * y - z * s);
    out.m[1][1] = 1.0f - 2.0f * (z * z + x * x);
    out.m[1][2] = 2.0f * (y * z + x * s);
    out.m[2][0] = 2.0f * (x * z + y * s);
    out.m[2][1] = 2.0f * (y * z - x * s);
    out.m[2][2] = 1.0f - 2.0f * (y * y + x * x);
    out.m[3][3] = 1.0f;
    return out;
}

Matrix QuatVecToMatrix(const QuatVec& qv) {
    Matrix out = QuaternionToMatrix(qv.rot);
    out.m[3][0] = qv.trans.x;
    out.m[3][1] = qv.trans.y;
    out.m[3][2] = qv.trans.z;
    out.m[3][3] = 1.0f;
    return out;
}

Matrix QuatVecToMatrix(const Quaternion& rot, const Vector& trans) {
    return QuatVecToMatrix(QuatVec(rot, trans));
}

Matrix InvQuatVecToMatrix(const QuatVec& qv) {
    const Quaternion conj = qv.rot.Comp();
    Matrix out = QuaternionToMatrix(conj);
    const Vector back = conj.Rotate(qv.trans * -1.0f);
    out.m[3][0] = back.x;
    out.m[3][1] = back.y;
    out.m[3][2] = back.z;
    out.m[3][3] = 1.0f;
    return out;
}

Matrix InvQuatVecToMatrix(const Quaternion& rot, const Vector& trans) {
    return InvQuatVecToMatrix(QuatVec(rot, trans));
}

namespace {

// The four branches pick the largest of s, x, y, z to divide by, so that the
// divisor never comes near zero for a rotation matrix. Ties between diagonal
// elements go to the earlier axis: with strict comparisons a half turn about
// an axis like (1, 1, 0) fell through to a branch whose divisor is 0. The
// off-diagonal differences are taken by storage slot, which yields the
// conjugate; the sign rule in MatrixToQuatVec turns it back.
Quaternion RawQuaternionOf(const Matrix& m) {
    const float r00 = m.m[0][0], r11 = m.m[1][1], r22 = m.m[2][2];
    const float trace = r00 + r11 + r22;
    Quaternion q(1.0f);
    if (trace > 0.0f) {
        const float k = 0.5f / std::sqrt(trace + 1.0f);
        q.s = 0.25f / k;
        q.v.x = (m.m[2][1] - m.m[1][2]) * k;
        q.v.y = (m.m[0][2] - m.m[2][0]) * k;
        q.v.z = (m.m[1][0] - m.m[0][1]) * k;
    } else if (r00 >= r11 && r00 >= r22) {
        const float S = 2.0f * std::sqrt(r00 - r11 - r22 + 1.0f);
        q.s = (m.m[2][1] - m.m[1][2]) / S;
        q.v.x = 0.25f * S;
        q.v.y = (m.m[1][0] + m.m[0][1]) / S;
        q.v.z = (m.m[2][0] + m.m[0][2]) / S;
    } else if (r11 >= r22) {
        const float S = 2.0f * std::sqrt(r11 - r00 - r22 + 1.0f);
        q.s = (m.m[0][2] - m.m[2][0]) / S;
        q.v.x = (m.m[1][0] + m.m[0][1]) / S;
        q.v.y = 0.25f * S;
        q.v.z = (m.m[2][1] + m.m[1][2]) / S;
    } else {
        const float S = 2.0f * std::sqrt(r22 - r00 - r11 + 1.0f);
        q.s = (m.m[1][0] - m.m[0][1]) / S;
        q.v.x = (m.m[2][0] + m.m[0][2]) / S;
        q.v.y = (m.m[2][1] + m.m[1][2]) / S;
        q.v.z = 0.25f * S;
    }
    return q;
}

}  // namespace

QuatVec MatrixToQuatVec(const Matrix& m) {
    Quaternion q = RawQuaternionOf(m);
    if (q.s > 0.0f) {
        q.v = q.v * -1.0f;
    } else {
        q.s = std::fabs(q.s);
    }
    q.v.w = 0.0f;
    return QuatVec(q, Vector(m.m[3][0], m.m[3][1], m.m[3][2]));
}

AxisAngle QuaternionToAxisAngle(const Quaternion& q) {
    float c = q.s;
    if (std::fabs(c) > 1.0f) c = c / q.Mag();
    // The division can still land a rounding step past 1; acos would then
    // give not-a-number.
    if (c > 1.0f) c = 1.0f;
    if (c < -1.0f) c = -1.0f;
    AxisAngle out{q.v, 2.0f * std::acos(c)};
    const float h = std::sqrt(1.0f - c * c);
    if (h > 1e-8f) out.axis = q.v * (1.0f / h);
    return out;
}
