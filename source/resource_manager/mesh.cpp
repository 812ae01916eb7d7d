#include "resource_manager/mesh.h"

#include <cmath>
#include <cstring>
#include <iomanip>
#include <sstream>

#include "system.h"

namespace {

Vector Position(const Vertex& vertex) { return Vector(vertex.v[0], vertex.v[1], vertex.v[2]); }

void Copy(float* to, const float* from, int n) {
    if (to && from) std::memcpy(to, from, sizeof(float) * n);
}

uint32_t RawBits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

// ---- Vertex and Triangle ---------------------------------------------------

Vertex::Vertex(float x, float y, float z)
    : v{x, y, z}, boneIndex{0, 0, 0, 0}, skinWeights{0, 0, 0, 0}, numWeights(0) {}

bool Vertex::operator==(const Vertex& other) const {
    return v[0] == other.v[0] && v[1] == other.v[1] && v[2] == other.v[2];
}

Vector Vertex::operator-(const Vertex& other) const { return Position(*this) - Position(other); }

float Vertex::Distance(const Vertex& other) const { return (*this - other).Mag(); }

std::ostream& operator<<(std::ostream& out, const Vertex& vertex) {
    out << std::fixed << std::setprecision(2) << std::showpos;
    return out << "( " << vertex.v[0] << ", " << vertex.v[1] << ", " << vertex.v[2] << " )";
}

Triangle::Triangle(unsigned a, unsigned b, unsigned c) : verts{a, b, c} {}

bool Triangle::operator==(const Triangle& other) const {
    return verts[0] == other.verts[0] && verts[1] == other.verts[1] &&
           verts[2] == other.verts[2];
}

// ---- Building ----------------------------------------------------------------

Mesh::Mesh() = default;

int Mesh::AddVert(const Vertex& vertex) {
    verts.push_back(vertex);
    return int(verts.size() - 1);
}

int Mesh::FindOrAddTriangle(const Triangle& triangle) {
    for (size_t i = 0; i < triangles.size(); ++i)
        if (triangles[i] == triangle) return int(i);
    triangles.push_back(triangle);
    return int(triangles.size() - 1);
}

int Mesh::AddTriangle(unsigned a, unsigned b, unsigned c) {
    return FindOrAddTriangle(Triangle(a, b, c));
}

int Mesh::AddTriangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    unsigned ia = AddVert(a), ib = AddVert(b), ic = AddVert(c);
    return FindOrAddTriangle(Triangle(ia, ib, ic));
}

int Mesh::AddTriangle(unsigned a, unsigned b, unsigned c, const float* t0, const float* t1,
                      const float* t2, const float* c0, const float* c1, const float* c2) {
    int index = FindOrAddTriangle(Triangle(a, b, c));
    Triangle& tri = triangles[index];
    Vector n = QuickNorm(index);
    const float* uv[3] = {t0, t1, t2};
    const float* rgb[3] = {c0, c1, c2};
    for (int corner = 0; corner < 3; ++corner) {
        tri.normal[corner][0] = n.x;
        tri.normal[corner][1] = n.y;
        tri.normal[corner][2] = n.z;
        Copy(tri.texCoord[corner], uv[corner], 2);
        Copy(tri.color[corner], rgb[corner], 3);
    }
    return index;
}

int Mesh::AddClockTriangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    float d = Cross(b - a, c - a).z;
    return d >= 0.0f ? AddTriangle(a, c, b) : AddTriangle(b, c, a);
}

// ---- Geometry ----------------------------------------------------------------

Vector Mesh::QuickNorm(unsigned tri) const {
    unsigned i0 = 0, i1 = 0, i2 = 0;
    if (!CornerVertex(tri, 0, i0) || !CornerVertex(tri, 1, i1) || !CornerVertex(tri, 2, i2))
        return Vector();
    Vector n = Cross(verts[i1] - verts[i0], verts[i2] - verts[i0]).Norm();
    n.w = 0.0f;
    return n;
}

void Mesh::NormalizeNormals() {
    for (Triangle& tri : triangles) {
        for (auto& corner : tri.normal) {
            Vector n = Vector(corner).Norm();  // a zero normal stays zero
            corner[0] = n.x;
            corner[1] = n.y;
            corner[2] = n.z;
        }
    }
}

void Mesh::Transform(const Matrix& m) {
    for (Vertex& vertex : verts) {
        Vector p = m * Vector(vertex.v[0], vertex.v[1], vertex.v[2], 1.0f);
        vertex.v[0] = p.x;
        vertex.v[1] = p.y;
        vertex.v[2] = p.z;
    }
}

std::vector<unsigned> Mesh::GetAdjacentTris(unsigned vertex) const {
    std::vector<unsigned> result;
    for (size_t i = 0; i < triangles.size(); ++i) {
        const unsigned* v = triangles[i].verts;
        if (v[0] == vertex || v[1] == vertex || v[2] == vertex) result.push_back(unsigned(i));
    }
    return result;
}

std::vector<unsigned> Mesh::GetUnusedVerts() const {
    std::vector<bool> used(verts.size(), false);
    for (const Triangle& tri : triangles)
        for (unsigned index : tri.verts)
            if (index < used.size()) used[index] = true;
    std::vector<unsigned> result;
    for (size_t i = 0; i < used.size(); ++i)
        if (!used[i]) result.push_back(unsigned(i));
    return result;
}

// ---- Raw corner access -------------------------------------------------------

bool Mesh::ValidCorner(unsigned tri, unsigned corner) const {
    if (tri < triangles.size() && corner < 3) return true;
    Module<System>::Instance()->Error(SOURCE_POS + "mesh corner out of range: triangle " +
                                      std::to_string(tri) + ", corner " + std::to_string(corner));
    return false;
}

bool Mesh::CornerVertex(unsigned tri, unsigned corner, unsigned& index) const {
    if (!ValidCorner(tri, corner)) return false;
    index = triangles[tri].verts[corner];
    if (index < verts.size()) return true;
    Module<System>::Instance()->Error(SOURCE_POS + "triangle " + std::to_string(tri) +
                                      " names missing vertex " + std::to_string(index));
    return false;
}

void Mesh::SetRawVert(unsigned tri, unsigned corner, const float* xyz) {
    unsigned index = 0;
    if (CornerVertex(tri, corner, index)) Copy(verts[index].v, xyz, 3);
}

void Mesh::SetRawNormal(unsigned tri, unsigned corner, const float* xyz) {
    if (ValidCorner(tri, corner)) Copy(triangles[tri].normal[corner], xyz, 3);
}

void Mesh::SetRawColor(unsigned tri, unsigned corner, const float* rgb) {
    if (ValidCorner(tri, corner)) Copy(triangles[tri].color[corner], rgb, 3);
}

void Mesh::SetRawTexCoord(unsigned tri, unsigned corner, const float* uv) {
    if (ValidCorner(tri, corner)) Copy(triangles[tri].texCoord[corner], uv, 2);
}

const float* Mesh::GetRawVert(unsigned tri, unsigned corner) const {
    unsigned index = 0;
    return CornerVertex(tri, corner, index) ? verts[index].v : nullptr;
}

const float* Mesh::GetRawNormal(unsigned tri, unsigned corner) const {
    return ValidCorner(tri, corner) ? triangles[tri].normal[corner] : nullptr;
}

const float* Mesh::GetRawColor(unsigned tri, unsigned corner) const {
    return ValidCorner(tri, corner) ? triangles[tri].color[corner] : nullptr;
}

const float* Mesh::GetRawTexCoord(unsigned tri, unsigned corner) const {
    return ValidCorner(tri, corner) ? triangles[tri].texCoord[corner] : nullptr;
}

const float* Mesh::GetRawTangent(unsigned tri, unsigned corner) const {
    return ValidCorner(tri, corner) ? triangles[tri].tangent[corner] : nullptr;
}

const float* Mesh::GetRawBinormal(unsigned tri, unsigned corner) const {
    return ValidCorner(tri, corner) ? triangles[tri].binormal[corner] : nullptr;
}

// ---- Diagnostics -------------------------------------------------------------

std::string Mesh::PrintClosestVerts() const {
    if (verts.size() < 3) return "";
    // Exhaustive search over all pairs: a diagnostic, so clarity beats speed.
    unsigned a = 0, b = 1;
    float best = verts[0].Distance(verts[1]);
    for (unsigned i = 0; i < verts.size(); ++i) {
        for (unsigned j = i + 1; j < verts.size(); ++j) {
            float d = verts[i].Distance(verts[j]);
            if (d < best) {
                best = d;
                a = i;
                b = j;
            }
        }
    }
    std::ostringstream out;
    auto writeRaw = [&out](const Vertex& vertex) {
        out << "   " << std::hex << RawBits(vertex.v[0]) << " " << RawBits(vertex.v[1]) << " "
            << RawBits(vertex.v[2]) << std::dec << "\n";
    };
    out << "Closest Verts\n";
    out << " A " << a << ": " << verts[a] << "\n";
    writeRaw(verts[a]);
    out << " B " << b << ": " << verts[b] << "\n";
    writeRaw(verts[b]);
    out << " distance: " << best << "\n";
    return out.str();
}
