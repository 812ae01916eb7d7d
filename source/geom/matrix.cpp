#include "geom/matrix.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

bool ValidIndex(int i) { return i >= 0 && i < 4; }

}  // namespace

Matrix::Matrix() { Identity(); }

Matrix::Matrix(const float* p) {
    if (p) {
        std::memcpy(m, p, sizeof(m));
    } else {
        Identity();
    }
}

void Matrix::Zero() { std::memset(m, 0, sizeof(m)); }

void Matrix::Identity() {
    Zero();
    for (int i = 0; i < 4; ++i) m[i][i] = 1.0f;
}

float Matrix::Trace(int n) const {
    if (n > 4) n = 4;
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) sum += m[i][i];
    return sum;
}

void Matrix::Transpose() {
    for (int c = 0; c < 4; ++c)
        for (int r = c + 1; r < 4; ++r) std::swap(m[c][r], m[r][c]);
}

void Matrix::RowFromVec(int i, const Vector& v) {
    if (!ValidIndex(i)) return;
    for (int k = 0; k < 4; ++k) m[k][i] = v[k];
}

void Matrix::ColFromVec(int i, const Vector& v) {
    if (!ValidIndex(i)) return;
    for (int k = 0; k < 4; ++k) m[i][k] = v[k];
}

Vector Matrix::VecFromRow(int i) const {
    if (!ValidIndex(i)) return Vector();
    return Vector(m[0][i], m[1][i], m[2][i], m[3][i]);
}

Vector Matrix::VecFromCol(int i) const {
    if (!ValidIndex(i)) return Vector();
    return Vector(m[i][0], m[i][1], m[i][2]);
}

float* Matrix::DataPtr() { return &m[0][0]; }

const float* Matrix::DataPtr() const { return &m[0][0]; }

Vector Matrix::operator*(const Vector& v) const {
    Vector out(0.0f, 0.0f, 0.0f, 0.0f);
    for (int r = 0; r < 4; ++r) {
        float sum = 0.0f;
        for (int c = 0; c < 4; ++c) sum += m[c][r] * v[c];
        out[r] = sum;
    }
    return out;
}

Matrix Matrix::operator*(const Matrix& b) const {
    Matrix out;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += m[k][r] * b.m[c][k];
            out.m[c][r] = sum;
        }
    }
    return out;
}

Matrix Matrix::operator*(float k) const {
    Matrix out(*this);
    for (auto& col : out.m)
        for (float& e : col) e *= k;
    return out;
}

Matrix Matrix::ScaleLinear(float k) const {
    Matrix out(*this);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) out.m[c][r] *= k;
    return out;
}

void Matrix::SpecialOrthoInv() {
    const Vector t(m[3][0], m[3][1], m[3][2]);
    Transpose();
    // After the transpose the old translation sits in row 3; the -0 in w keeps
    // it out of the product.
    const Vector moved = (*this) * Vector(-t.x, -t.y, -t.z, -0.0f);
    m[3][0] = moved.x;
    m[3][1] = moved.y;
    m[3][2] = moved.z;
    m[0][3] = 0.0f;
    m[1][3] = 0.0f;
    m[2][3] = 0.0f;
    m[3][3] = 1.0f;
}

void Matrix::TranslateMat(float x, float y, float z) {
    Identity();
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
}

void Matrix::PerspectiveMat(float fov, float aspect, float zNear, float zFar) {
    Zero();
    const float f = 1.0f / std::tan(fov * 0.5f);
    m[0][0] = f / aspect;
    m[1][1] = f;
    m[2][2] = (zNear + zFar) / (zNear - zFar);
    m[3][2] = 2.0f * zNear * zFar / (zNear - zFar);
    m[2][3] = -1.0f;
}

void Matrix::InvPerspectiveMat(float fov, float aspect, float zNear, float zFar) {
    Zero();
    const float t = std::tan(fov * 0.5f);
    m[0][0] = aspect * t;
    m[1][1] = t;
    m[2][3] = (zNear - zFar) / (2.0f * zNear * zFar);
    m[3][2] = -1.0f;
    m[3][3] = (zNear + zFar) / (2.0f * zNear * zFar);
}

void Matrix::FixedAngleRotation(float a, float b, float c) {
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(b), sb = std::sin(b);
    const float cc = std::cos(c), sc = std::sin(c);
    Zero();
    m[0][0] = ca * cb;
    m[0][1] = sa * cc + ca * sb * sc;
    m[0][2] = sa * sc - ca * sb * cc;
    m[1][0] = -sa * cb;
    m[1][1] = ca * cc - sa * sb * sc;
    m[1][2] = ca * sc + sa * sb * cc;
    m[2][0] = sb;
    m[2][1] = -cb * sc;
    m[2][2] = cb * cc;
    m[3][3] = 1.0f;
}

void Matrix::NormLinearBasis() {
    for (int c = 0; c < 3; ++c) {
        const Vector axis = Vector(m[c][0], m[c][1], m[c][2]).Norm();
        for (int r = 0; r < 4; ++r) m[c][r] = axis[r];
    }
}
