// Procedural meshes whose triangles carry projected texture coordinates: the
// shared triangle routine, the flat lattice under height-map terrain, the sky
// sphere and the box.
// CPU only; any thread may build its own Mesh.
#include <algorithm>
#include <cmath>

#include "resource_manager/mesh.h"

namespace {

const int kLatticeCells = 50;

float Clamp01(float value) { return std::min(1.0f, std::max(0.0f, value)); }

void SetCorner(Triangle& tri, unsigned corner, const Vector& normal, const Vertex* vertex,
               float sx, float sy, float sz) {
    tri.normal[corner][0] = normal.x;
    tri.normal[corner][1] = normal.y;
    tri.normal[corner][2] = normal.z;
    const float* p = vertex ? vertex->v : nullptr;
    // The second projected axis comes from z and the third from y: the
    // texture lies in the ground plane.
    Vector t = p ? Vector(p[0] / (2 * sx), p[2] / (2 * sz), p[1] / (2 * sy)) : Vector();
    t = ProjectionTiltMatrix() * t;
    const float u = Clamp01(t.x + 0.5f), v = Clamp01(t.y + 0.5f), s = Clamp01(t.z + 0.5f);
    tri.texCoord[corner][0] = u;
    tri.texCoord[corner][1] = v;
    tri.color[corner][0] = u;
    tri.color[corner][1] = v;
    tri.color[corner][2] = s;
}

}  // namespace

const Matrix& ProjectionTiltMatrix() {
    static const Matrix tilt = [] {
        Matrix m;
        m.FixedAngleRotation(0.0f, 0.0f, -0.1f);
        return m;
    }();
    return tilt;
}

unsigned Mesh::AddProjectedTriangle(Mesh& mesh, unsigned i0, unsigned i1, unsigned i2, float sx,
                                    float sy, float sz) {
    const unsigned index = unsigned(mesh.FindOrAddTriangle(Triangle(i0, i1, i2)));
    const Vector normal = mesh.QuickNorm(index);
    Triangle& tri = mesh.triangles[index];
    for (unsigned corner = 0; corner < 3; ++corner) {
        const unsigned v = tri.verts[corner];
        SetCorner(tri, corner, normal, v < mesh.verts.size() ? &mesh.verts[v] : nullptr, sx, sy, sz);
    }
    return index;
}

Mesh Mesh::BuildLattice(float width, float depth) {
    Mesh mesh;
    mesh.name = "Lattice";
    const int side = kLatticeCells + 1;
    // Stepped by repeated addition, as the rows and columns are laid out.
    float z = -depth / 2;
    for (int r = 0; r < side; ++r, z += depth / kLatticeCells) {
        float x = -width / 2;
        for (int c = 0; c < side; ++c, x += width / kLatticeCells) mesh.AddVert(Vertex(x, 0.0f, z));
    }
    auto g = [side](int r, int c) { return unsigned(r * side + c); };
    mesh.triangles.reserve(2 * kLatticeCells * kLatticeCells);
    for (int r = 0; r < kLatticeCells; ++r) {
        for (int c = 0; c < kLatticeCells; ++c) {
            AddProjectedTriangle(mesh, g(r, c), g(r + 1, c), g(r + 1, c + 1), width / 2, 1.0f, depth / 2);
            AddProjectedTriangle(mesh, g(r + 1, c + 1), g(r, c + 1), g(r, c), width / 2, 1.0f, depth / 2);
        }
    }
    return mesh;
}

Mesh Mesh::BuildSphere(int slices, int stacks, float radius) {
    Mesh mesh;
    mesh.name = "Sphere";
    // The caps use ring stacks - 2.
    if (slices < 1 || stacks < 2) return mesh;
    const float pi = 3.14159265f;
    mesh.AddVert(Vertex(0.0f, radius, 0.0f));
    mesh.AddVert(Vertex(0.0f, -radius, 0.0f));
    for (int j = 0; j < stacks; ++j) {
        const float phi = float(j + 1) * pi / float(stacks);
        for (int i = 0; i < slices; ++i) {
            const float theta = float(i) * 2.0f * pi / float(slices);
            mesh.AddVert(Vertex(radius * std::sin(phi) * std::cos(theta), radius * std::cos(phi),
                                radius * std::sin(phi) * std::sin(theta)));
        }
    }
    auto ring = [slices](int j, int i) { return unsigned(2 + j * slices + (i % slices)); };
    auto add = [&mesh, radius](unsigned a, unsigned b, unsigned c) {
        AddProjectedTriangle(mesh, a, b, c, radius, radius, radius);
    };
    mesh.triangles.reserve(size_t(2 * slices * (stacks - 1)));
    for (int i = 0; i < slices; ++i) {
        add(ring(0, i + 1), ring(0, i), 0);
        add(ring(stacks - 2, i), ring(stacks - 2, i + 1), 1);
    }
    for (int j = 0; j + 2 < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            add(ring(j, i + 1), ring(j + 1, i + 1), ring(j + 1, i));
            add(ring(j + 1, i), ring(j, i), ring(j, i + 1));
        }
    }
    // Smooth shading: each corner's normal along its vertex from the centre.
    for (Triangle& triangle : mesh.triangles)
        for (int corner = 0; corner < 3; ++corner)
            for (int k = 0; k < 3; ++k) triangle.normal[corner][k] = mesh.verts[triangle.verts[corner]].v[k];
    mesh.NormalizeNormals();
    return mesh;
}

void Mesh::AddGridTriangles(Mesh& mesh, const unsigned grid[][3], int rows, float s) {
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c < 2; ++c) {
            AddProjectedTriangle(mesh, grid[r][c], grid[r + 1][c], grid[r + 1][c + 1], s, s, s);
            AddProjectedTriangle(mesh, grid[r + 1][c + 1], grid[r][c + 1], grid[r][c], s, s, s);
        }
}

Mesh Mesh::BuildBox(float sx, float sy, float sz) {
    Mesh mesh;
    mesh.name = "Box";
    const float x = sx / 2, y = sy / 2;
    const float ring[8][2] = {{-x, -y}, {0, -y}, {x, -y}, {x, 0}, {x, y}, {0, y}, {-x, y}, {-x, 0}};
    const float heights[3] = {-sz / 2, 0.0f, sz / 2};
    // Vertex 3p + h: ring position p at height h.
    for (const auto& position : ring)
        for (float z : heights) mesh.AddVert(Vertex(position[0], position[1], z));
    unsigned sides[9][3];
    for (unsigned p = 0; p < 9; ++p)
        for (unsigned h = 0; h < 3; ++h) sides[p][h] = 3 * (p % 8) + h;
    AddGridTriangles(mesh, sides, 9, sx);
    const unsigned top = unsigned(mesh.AddVert(Vertex(0.0f, 0.0f, sz / 2)));
    const unsigned bottom = unsigned(mesh.AddVert(Vertex(0.0f, 0.0f, -sz / 2)));
    auto at = [](unsigned p, unsigned h) { return 3 * p + h; };
    const unsigned topCap[3][3] = {{at(0, 2), at(7, 2), at(6, 2)}, {at(1, 2), top, at(5, 2)}, {at(2, 2), at(3, 2), at(4, 2)}};
    const unsigned bottomCap[3][3] = {{at(6, 0), at(7, 0), at(0, 0)}, {at(5, 0), bottom, at(1, 0)}, {at(4, 0), at(3, 0), at(2, 0)}};
    AddGridTriangles(mesh, topCap, 3, sy);
    AddGridTriangles(mesh, bottomCap, 3, sy);
    mesh.NormalizeNormals();
    return mesh;
}
