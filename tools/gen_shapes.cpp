#include "gen_shapes.h"

#include <cmath>

namespace {

// |axis| . half: the box's half size along a unit axis.
float Extent(const Vector& axis, const Vector& half) {
    return std::fabs(axis.x) * half.x + std::fabs(axis.y) * half.y + std::fabs(axis.z) * half.z;
}

}  // namespace

void AddBox(MeshBuilder& builder, const Vector& centre, const Vector& half, const float colour[3], int bone) {
    const Vector x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    // Face normal and the face's "up" direction.
    const Vector faces[6][2] = {{x, y}, {x * -1, y}, {z, y}, {z * -1, y}, {y, z * -1}, {y * -1, z}};
    MeshBuilder::Skinner skin = nullptr;
    if (bone != kNoBone) {
        skin = [bone](Vertex& vertex) {
            vertex.boneIndex[0] = bone;
            vertex.skinWeights[0] = 1.0f;
            vertex.numWeights = 1;
        };
    }
    for (const auto& face : faces) {
        const Vector& normal = face[0];
        const Vector& up = face[1];
        Vector right = Cross(up, normal);
        builder.Quad(centre + normal * Extent(normal, half), normal, up, Extent(right, half), Extent(up, half),
                     colour, skin);
    }
}

Quaternion AxisTurn(const Vector& axis, float degrees) {
    float half = degrees * 3.14159265f / 360.0f;
    return Quaternion(std::cos(half), axis * std::sin(half));
}
