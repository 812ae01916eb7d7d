// Matrix: 4x4 single-precision matrix, column-major so that the 16 floats can
// be handed to OpenGL as they stand: m[c][r] is row r of column c, and the
// translation of an affine matrix is m[3][0], m[3][1], m[3][2]. Points are
// transformed as M*v with v a column.
//
// A plain value: no heap, no shared state, safe on any thread.
#pragma once

#include "geom/vector.h"

// Size in bytes of a Matrix's element data.
const int Matrix_DATA_SIZE = 64;

struct Matrix {
    float m[4][4];

    // The identity.
    Matrix();
    Matrix(const Matrix&) = default;
    Matrix& operator=(const Matrix&) = default;
    // Copies 16 floats, column after column. A null pointer gives the identity.
    explicit Matrix(const float* p);

    void Zero();
    void Identity();

    // Sum of the first n diagonal elements; n is clamped to 0..4.
    float Trace(int n = 4) const;
    // In place.
    void Transpose();

    // Row/column access by index. These are reachable from scripts, so an
    // index outside 0..3 writes nothing and reads the zero vector.
    void RowFromVec(int i, const Vector& v);  // m[k][i] = v[k]
    void ColFromVec(int i, const Vector& v);  // m[i][k] = v[k]
    Vector VecFromRow(int i) const;           // (m[0][i], m[1][i], m[2][i], m[3][i])
    Vector VecFromCol(int i) const;           // (m[i][0], m[i][1], m[i][2], 0)

    // The 16 floats, column after column (Matrix_DATA_SIZE bytes).
    float* DataPtr();
    const float* DataPtr() const;

    Vector operator*(const Vector& v) const;   // M*v over all four rows
    Matrix operator*(const Matrix& b) const;   // this*b
    Matrix operator*(float k) const;           // all 16 elements times k
    // A copy with the upper-left 3x3 block times k.
    Matrix ScaleLinear(float k) const;

    // In place inverse of a rigid transform (rotation block assumed
    // orthonormal, not checked): [R^T, -R^T t; 0 0 0 1].
    void SpecialOrthoInv();
    // Set this matrix to the identity with translation (x, y, z).
    void TranslateMat(float x, float y, float z);
    // Set this matrix to the OpenGL perspective projection; fov is the full
    // vertical angle in radians.
    void PerspectiveMat(float fov, float aspect, float zNear, float zFar);
    // Set this matrix to the exact inverse of PerspectiveMat.
    void InvPerspectiveMat(float fov, float aspect, float zNear, float zFar);
    // Set this matrix to Rx(c)*Ry(b)*Rz(a): turn by a about z, then b about y,
    // then c about x, all fixed axes.
    void FixedAngleRotation(float a, float b, float c);
    // In place: columns 0..2 normalised over x, y, z, their w row set to 0.
    void NormLinearBasis();
};
