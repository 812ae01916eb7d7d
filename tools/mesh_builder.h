// MeshBuilder: assembles a Mesh from flat quads, keeping the per-corner
// triangle data and the per-vertex flat arrays in step, so that a generated
// mesh draws the same whichever way the renderer takes it.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "resource_manager/mesh.h"

class MeshBuilder {
public:
    // Sets the skin data of each new vertex from its position.
    using Skinner = std::function<void(Vertex&)>;

    explicit MeshBuilder(const std::string& name);

    // A rectangle centred on `centre`, facing `normal`, with `up` along its
    // height; corners run counter-clockwise seen from the front.
    void Quad(const Vector& centre, const Vector& normal, const Vector& up, float halfWidth,
              float halfHeight, const float colour[3], const Skinner& skin = nullptr);

    // A flat convex polygon, corners counter-clockwise seen from the front,
    // each with its own texture coordinates (u, v), as a fan of triangles.
    void Polygon(const std::vector<Vector>& corners, const Vector& normal, const std::vector<std::array<float, 2>>& uvs,
                 const float colour[3], const Skinner& skin = nullptr);

    // The mesh with its flat arrays filled.
    Mesh Finish();

private:
    Mesh mesh;
    std::vector<float> normals;    // 3 per vertex
    std::vector<float> texCoords;  // 2 per vertex
};
