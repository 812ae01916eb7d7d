// Comparison helpers shared by the math tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "geom/geom.h"

inline ::testing::AssertionResult VectorNear(const Vector& actual, const Vector& expected,
                                             float tolerance = 1e-5f) {
    for (int i = 0; i < 4; ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance)) {
            return ::testing::AssertionFailure()
                   << "component " << i << ": got " << actual << " expected " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult MatrixNear(const Matrix& actual, const Matrix& expected,
                                             float tolerance = 1e-5f) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            if (!(std::fabs(actual.m[c][r] - expected.m[c][r]) <= tolerance)) {
                return ::testing::AssertionFailure()
                       << "m[" << c << "][" << r << "] = " << actual.m[c][r] << ", expected "
                       << expected.m[c][r];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult QuatNear(const Quaternion& actual, const Quaternion& expected,
                                           float tolerance = 1e-5f) {
    if (!(std::fabs(actual.s - expected.s) <= tolerance)) {
        return ::testing::AssertionFailure()
               << "s: got " << actual << " expected " << expected;
    }
    return VectorNear(actual.v, expected.v, tolerance);
}

// Rotation by `angle` radians about the unit `axis`.
inline Quaternion AxisRotation(const Vector& axis, float angle) {
    return Quaternion(std::cos(angle * 0.5f), axis.Norm() * std::sin(angle * 0.5f));
}

// Determinant of the upper-left 3x3 block.
inline float Det3(const Matrix& a) {
    const auto& m = a.m;
    return m[0][0] * (m[1][1] * m[2][2] - m[2][1] * m[1][2]) -
           m[1][0] * (m[0][1] * m[2][2] - m[2][1] * m[0][2]) +
           m[2][0] * (m[0][1] * m[1][2] - m[1][1] * m[0][2]);
}
