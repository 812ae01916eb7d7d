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

// The number of the `trials` passes for which `passes(pass)` is false; each
// pass reports its own failure.
template <class Pass>
int CountFailures(int trials, Pass passes) {
    int failed = 0;
    for (int i = 0; i < trials; ++i) failed += passes(i) ? 0 : 1;
    return failed;
}

void LogValues() {}

template <class T, class... Rest>
void LogValues(const char* label, const T& value, const Rest&... rest) {
    LogValue(label, value);
    LogValues(rest...);
}

// Reports a failed pass as a warning, then each label and value on a line of
// its own; false, the pass's result.
template <class... LabelsAndValues>
bool Failed(const char* name, int trial, const LabelsAndValues&... labelsAndValues) {
    ReportWarning(name, trial);
    LogValues(labelsAndValues...);
    return false;
}

// True when u is close to v; otherwise the pass is reported on the console.
bool ExpectClose(const char* name, int trial, const Vector& u, const Vector& v) {
    if (Close(u, v)) return true;
    ReportVectors(name, trial, u, v);
    return false;
}

}  // namespace

int QuatTest1(int trials) {
    return CountFailures(trials, [](int i) {
        const Quaternion q = RandomQuaternion();
        const Vector p = RandomVector();
        return ExpectClose("QuatTest1", i, q.Comp().Rotate(q.Rotate(p)), p);
    });
}

int QuatTest2(int trials) {
    const Vector identity(1.0f, 0.0f, 0.0f, 0.0f);
    return CountFailures(trials, [&identity](int i) {
        const Quaternion q = RandomQuaternion().Norm();
        const Vector left = AsVector(q * q.Inv());
        const Vector right = AsVector(q.Inv() * q);
        return ExpectClose("QuatTest2", i, Close(left, identity) ? right : left, identity);
    });
}

int QuatTest3(int trials) {
    return CountFailures(trials, [](int i) {
        const Quaternion q = RandomQuaternion();
        const Vector p = RandomVector();
        const Quaternion r = (q * p) * q.Inv();
        const Vector expected = q.Rotate(p);
        if (Close(AsVector(r), Vector(0.0f, expected.x, expected.y, expected.z))) return true;
        std::cout << "QuatTest3 pass " << i << " failed: " << std::endl;
        std::cout << "r = " << r;
        return false;
    });
}

int QuatTest4(int trials) {
    return CountFailures(trials, [](int i) {
        const Vector p = RandomVector();
        return ExpectClose("QuatTest4", i, (Quaternion(1.0f) * p).v, p);
    });
}

int QuatTest5(int trials) {
    return CountFailures(trials, [](int i) {
        const Vector p = RandomVector();
        return ExpectClose("QuatTest5", i, (Quaternion(0.0f, p) * Quaternion(1.0f)).v, p);
    });
}

int QuatTest6(int trials) {
    return CountFailures(trials, [](int i) {
        // A half angle below a quarter turn keeps s >= 0, the hemisphere the
        // matrix conversion answers in.
        const float half = RandFloat() * 1.5707964f;
        const Quaternion q = Quaternion(0.0f, RandomVector().Norm() * half).Exp();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        const float theta1 = AngleOf(q);
        const float theta2 = AngleOf(back);
        if (std::fabs(static_cast<double>(theta1 - theta2)) <= kTolerance) return true;
        return Failed("QuatTest6", i, "theta1", theta1, "theta2", theta2);
    });
}

int QuatTest7(int trials) {
    return CountFailures(trials, [](int i) {
        Quaternion q = RandomQuaternion();
        // Near the identity the axis is poorly defined (it divides by
        // sqrt(1 - s*s), which magnifies rounding); draw again.
        while (Vector(q.v.x, q.v.y, q.v.z).Mag() < 0.1f) q = RandomQuaternion();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        const Vector axis1 = QuaternionToAxisAngle(q).axis;
        const Vector axis2 = QuaternionToAxisAngle(back).axis;
        if (Close(axis1, axis2) || Close(axis1, axis2 * -1.0f)) return true;
        return Failed("QuatTest7", i, "axis1", axis1, "axis2", axis2);
    });
}

int QuatTest8(int trials) {
    return CountFailures(trials, [](int i) {
        const Quaternion p = RandomQuaternion().Norm();
        const Quaternion q = MatrixToQuatVec(QuaternionToMatrix(p)).rot;
        const Quaternion pqinv = p * q.Inv();
        return SameRotation(pqinv, Quaternion(1.0f)) || Failed("QuatTest8", i, "p", p, "q", q, "pqinv", pqinv);
    });
}

int QuatTest9(int trials) {
    return CountFailures(trials, [](int i) {
        const Quaternion q = RandomQuaternion();
        const Quaternion back = MatrixToQuatVec(QuaternionToMatrix(q)).rot;
        return SameRotation(back, q) || Failed("QuatTest9", i, "u", AsVector(back), "v", AsVector(q));
    });
}
