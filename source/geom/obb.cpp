#include "geom/obb.h"

OBB::OBB(const Vector& center_, const Vector& extents_, const Quaternion& rot_)
    : center(center_), extents(extents_), rot(rot_) {}

Matrix OBB::GetExtentsMatrix() const {
    Matrix out = QuaternionToMatrix(rot);
    for (int c = 0; c < 3; ++c) {
        const float e = extents[c];
        out.m[c][0] *= e;
        out.m[c][1] *= e;
        out.m[c][2] *= e;
        out.m[c][3] = 0.0f;
    }
    return out;
}

std::vector<Vector> OBB::GetVerts() const {
    const std::array<Vector, 8> corners = Corners();
    return std::vector<Vector>(corners.begin(), corners.end());
}

std::array<Vector, 8> OBB::Corners() const {
    const Matrix axes = GetExtentsMatrix();
    const Vector halfAxis[3] = {axes.VecFromCol(0), axes.VecFromCol(1), axes.VecFromCol(2)};
    std::array<Vector, 8> corners;
    for (int i = 0; i < 8; ++i) {
        Vector corner = center;
        for (int k = 0; k < 3; ++k) {
            corner = (i & (1 << k)) ? corner + halfAxis[k] : corner - halfAxis[k];
        }
        corners[i] = corner;
    }
    return corners;
}
