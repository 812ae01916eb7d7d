// Comparison helpers shared by the math tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "geom/geom.h"

inline ::testing::AssertionResult VectorNear(const Vector& a, const Vector& e, float tol = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        if (!(std::fabs(a[i] - e[i]) <= tol))
            return ::testing::AssertionFailure() << "component " << i << ": got " << a << " expected " << e;
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult MatrixNear(const Matrix& a, const Matrix& e, float tol = 1e-5f) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!(std::fabs(a.m[c][r] - e.m[c][r]) <= tol))
                return ::testing::AssertionFailure()
                       << "m[" << c << "][" << r << "] = " << a.m[c][r] << ", expected " << e.m[c][r];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult QuatNear(const Quaternion& a, const Quaternion& e, float tol = 1e-5f) {
    if (!(std::fabs(a.s - e.s) <= tol)) return ::testing::AssertionFailure() << "s: got " << a << " expected " << e;
    return VectorNear(a.v, e.v, tol);
}

// Rotation by `angle` radians about `axis`.
inline Quaternion AxisRotation(const Vector& axis, float angle) {
    return Quaternion(std::cos(angle * 0.5f), axis.Norm() * std::sin(angle * 0.5f));
}
