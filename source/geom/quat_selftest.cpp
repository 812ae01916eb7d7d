#include "geom/quat_selftest.h"

#include <cmath>
#include <iostream>
#include <sstream>
#include <string>

#include "geom/quaternion.h"
#include "geom/scalar.h"
#include "platform/log_hook.h"

namespace {

constexpr double kTolerance = static_cast<double>(1e-4f);

Vector RandomVector() {
    Vector v;
    do {
        v = Vector(RandFloat(), RandFloat(), RandFloat());
    } while (v.Mag() < 1e-7f);
    return v;
}

Quaternion RandomQuaternion() {
    const float a = RandFloat() * 3.1415927f - 1.5707964f;
    const Vector n = RandomVector().Norm();
    return Quaternion(std::cos(a), n * std::sin(a));
}

Vector AsVector(const Quaternion& q) { return Vector(q.s, q.v.x, q.v.y, q.v.z); }

bool Close(const Vector& u, const Vector& v) {
    return static_cast<double>((u - v).Mag()) <= kTolerance;
}

// q and -q are one rotation; the matrix round trip may return either.
bool SameRotation(const Quaternion& p, const Quaternion& q) {
    return Close(AsVector(p), AsVector(q)) || Close(AsVector(p), AsVector(q) * -1.0f);
}

void ReportVectors(const char* name, int trial, const Vector& u, const Vector& v) {
    std::cout << name << " pass " << trial << " failed: " << std::endl;
    std::cout << "u = " << u << "v = " << v;
}

void ReportWarning(const char* name, int trial) {
    std::ostringstream text;
    text << name << " pass " << trial << " failed: ";
    platform::LogWarning(text.str());
}

template <typename T>
void LogValue(const char* label, const T& value) {
    std::ostringstream text;
    text << label << " = " << value;
    platform::LogInfo(text.str());
}

// Rotation angle of q, well conditioned also near the identity.
float AngleOf(const Quaternion& q) {
    return 2.0f * std::atan2(Vector(q.v.x, q.v.y, q.v.z).Mag(), std::fabs(q.s));
}

}  // namespace

int QuatTest1(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Quaternion q = RandomQuaternion();
        const Vector p = RandomVector();
        const Vector back = q.Comp().Rotate(q.Rotate(p));
        if (!Close(back, p)) {
            ++failed;
            ReportVectors("QuatTest1", i, back, p);
        }
    }
    return failed;
}

int QuatTest2(int trials) {
    const Vector identity(1.0f, 0.0f, 0.0f, 0.0f);
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Quaternion q = RandomQuaternion().Norm();
        const Vector left = AsVector(q * q.Inv());
        const Vector right = AsVector(q.Inv() * q);
        const Vector& worse = Close(left, identity) ? right : left;
        if (!Close(worse, identity)) {
            ++failed;
            ReportVectors("QuatTest2", i, worse, identity);
        }
    }
    return failed;
}

int QuatTest3(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Quaternion q = RandomQuaternion();
        const Vector p = RandomVector();
        const Quaternion r = (q * p) * q.Inv();
        const Vector expected = q.Rotate(p);
        if (!Close(AsVector(r), Vector(0.0f, expected.x, expected.y, expected.z))) {
            ++failed;
            std::cout << "QuatTest3 pass " << i << " failed: " << std::endl;
            std::cout << "r = " << r;
        }
    }
    return failed;
}

int QuatTest4(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Vector p = RandomVector();
        const Vector u = (Quaternion(1.0f) * p).v;
        if (!Close(u, p)) {
            ++failed;
            ReportVectors("QuatTest4", i, u, p);
        }
    }
    return failed;
}

int QuatTest5(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Vector p = RandomVector();
        const Vector u = (Quaternion(0.0f, p) * Quaternion(1.0f)).v;
        if (!Close(u, p)) {
            ++failed;
            ReportVectors("QuatTest5", i, u, p);
        }
    }
    return failed;
}

int QuatTest6(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        // A half angle below a quarter turn keeps s >= 0, the hemisphere the
        // matrix conversion answers in.
        const float half = RandFloat() * 1.5707964f;
        const Quaternion q = Quaternion(0.0f, RandomVector().Norm() * half).Exp();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        const float theta1 = AngleOf(q);
        const float theta2 = AngleOf(back);
        if (std::fabs(static_cast<double>(theta1 - theta2)) > kTolerance) {
            ++failed;
            ReportWarning("QuatTest6", i);
            LogValue("theta1", theta1);
            LogValue("theta2", theta2);
        }
    }
    return failed;
}

int QuatTest7(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        Quaternion q = RandomQuaternion();
        // Near the identity the axis is poorly defined (it divides by
        // sqrt(1 - s*s), which magnifies rounding); draw again.
        while (Vector(q.v.x, q.v.y, q.v.z).Mag() < 0.1f) q = RandomQuaternion();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        const Vector axis1 = QuaternionToAxisAngle(q).axis;
        const Vector axis2 = QuaternionToAxisAngle(back).axis;
        if (!Close(axis1, axis2) && !Close(axis1, axis2 * -1.0f)) {
            ++failed;
            ReportWarning("QuatTest7", i);
            LogValue("axis1", axis1);
            LogValue("axis2", axis2);
        }
    }
    return failed;
}

int QuatTest8(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Quaternion p = RandomQuaternion().Norm();
        const Quaternion q = MatrixToQuatVec(QuaternionToMatrix(p)).rot;
        const Quaternion pqinv = p * q.Inv();
        if (!SameRotation(pqinv, Quaternion(1.0f))) {
            ++failed;
            ReportWarning("QuatTest8", i);
            LogValue("p", p);
            LogValue("q", q);
            LogValue("pqinv", pqinv);
        }
    }
    return failed;
}

int QuatTest9(int trials) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) {
        const Quaternion q = RandomQuaternion();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        if (!SameRotation(back, q)) {
            ++failed;
            ReportWarning("QuatTest9", i);
            LogValue("u", AsVector(back));
            LogValue("v", AsVector(q));
        }
    }
    return failed;
}
