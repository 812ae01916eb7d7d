#include "mesh_builder.h"

MeshBuilder::MeshBuilder(const std::string& name) {
    mesh.name = name;
    mesh.ambientColor = Vector(0.2f, 0.2f, 0.2f, 1.0f);
    mesh.diffuseColor = Vector(0.8f, 0.8f, 0.8f, 1.0f);
    mesh.specularColor = Vector(0.5f, 0.5f, 0.5f, 1.0f);
    mesh.shininess = 32.0f;
}

void MeshBuilder::Quad(const Vector& centre, const Vector& normal, const Vector& up,
                       float halfWidth, float halfHeight, const float colour[3],
                       const Skinner& skin) {
    const Vector right = Cross(up, normal);
    const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    unsigned base = unsigned(mesh.verts.size());
    for (int i = 0; i < 4; ++i) {
        Vector p = centre + right * (corner[i][0] * halfWidth) + up * (corner[i][1] * halfHeight);
        Vertex vertex(p.x, p.y, p.z);
        if (skin) skin(vertex);
        mesh.AddVert(vertex);
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
        texCoords.insert(texCoords.end(), {uv[i][0], uv[i][1]});
    }
    mesh.AddTriangle(base, base + 1, base + 2, uv[0], uv[1], uv[2], colour, colour, colour);
    mesh.AddTriangle(base, base + 2, base + 3, uv[0], uv[2], uv[3], colour, colour, colour);
}

void MeshBuilder::Polygon(const std::vector<Vector>& corners, const Vector& normal,
                          const std::vector<std::array<float, 2>>& uvs, const float colour[3], const Skinner& skin) {
    const unsigned base = unsigned(mesh.verts.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        Vertex vertex(corners[i].x, corners[i].y, corners[i].z);
        if (skin) skin(vertex);
        mesh.AddVert(vertex);
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
        texCoords.insert(texCoords.end(), {uvs[i][0], uvs[i][1]});
    }
    for (unsigned i = 1; i + 1 < corners.size(); ++i)
        mesh.AddTriangle(base, base + i, base + i + 1, uvs[0].data(), uvs[i].data(), uvs[i + 1].data(), colour, colour,
                         colour);
}

Mesh MeshBuilder::Finish() {
    std::vector<float> positions, weights, bones;
    for (const Vertex& vertex : mesh.verts) {
        positions.insert(positions.end(), vertex.v, vertex.v + 3);
        weights.insert(weights.end(), vertex.skinWeights, vertex.skinWeights + 4);
        for (int32_t bone : vertex.boneIndex) bones.push_back(float(bone));
    }
    std::vector<int> indices;
    for (const Triangle& tri : mesh.triangles)
        indices.insert(indices.end(), tri.verts, tri.verts + 3);
    mesh.arrays.Assign(indices, positions, normals, texCoords, weights, bones);
    return mesh;
}
