// Mesh, Vertex and Triangle: the CPU-side geometry of every mesh, filled from
// a ".bin" file or built in code (procedural shapes, height maps, scripts),
// with the flat arrays that the renderer uploads.
//
// Threads: plain values; the loader thread builds them, the main thread
// draws them. Never calls OpenGL: the vbo*Name fields only record buffer names
// that the main thread makes and frees.
// Index contract: operations taking a triangle or vertex index refuse an
// index out of range with a logged error (scripts reach them), instead of
// touching memory outside the lists.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "geom/geom.h"

struct Vertex {
    explicit Vertex(float x = 0.0f, float y = 0.0f, float z = 0.0f);

    // Same position (exact float comparison); bone data is ignored.
    bool operator==(const Vertex& other) const;
    // Position difference, w = 0.
    Vector operator-(const Vertex& other) const;
    float Distance(const Vertex& other) const;

    float v[3];
    int32_t boneIndex[4];
    float skinWeights[4];
    int32_t numWeights;
};

// Fixed notation, 2 decimals, explicit sign (left set on the stream), then
// "( x, y, z )".
std::ostream& operator<<(std::ostream& out, const Vertex& vertex);

struct Triangle {
    explicit Triangle(unsigned a = 0, unsigned b = 0, unsigned c = 0);

    // Same vertex indices in the same order; nothing else is compared.
    bool operator==(const Triangle& other) const;

    unsigned verts[3];
    float normal[3][3] = {};
    float color[3][3] = {};  // red, green, blue per corner
    float texCoord[3][2] = {};
    float tangent[3][3] = {};
    float binormal[3][3] = {};
};

// A counted array owned by value (T is int or float); copies are deep.
template <class T>
class ArrayBuffer {
public:
    ArrayBuffer() = default;
    ArrayBuffer(const T* source, unsigned n) { Assign(source, n); }
    ArrayBuffer(const ArrayBuffer& other) { Assign(other.data, other.count); }
    ArrayBuffer& operator=(const ArrayBuffer& other) {
        if (this != &other) Assign(other.data, other.count);
        return *this;
    }
    ArrayBuffer(ArrayBuffer&& other) noexcept : data(other.data), count(other.count) {
        other.data = nullptr;
        other.count = 0;
    }
    ArrayBuffer& operator=(ArrayBuffer&& other) noexcept {
        if (this != &other) {
            delete[] data;
            data = other.data;
            count = other.count;
            other.data = nullptr;
            other.count = 0;
        }
        return *this;
    }
    ~ArrayBuffer() { delete[] data; }

    // Replaces the elements by n zeros.
    void Resize(unsigned n) {
        T* fresh = n ? new T[n]() : nullptr;
        delete[] data;
        data = fresh;
        count = n;
    }
    void Assign(const T* source, unsigned n) {
        T* fresh = n ? new T[n] : nullptr;
        for (unsigned i = 0; i < n; ++i) fresh[i] = source[i];
        delete[] data;
        data = fresh;
        count = n;
    }

    T* data = nullptr;
    unsigned count = 0;
};

struct MeshArrays {
    ArrayBuffer<int> indices;
    ArrayBuffer<float> positions;    // 3 per vertex
    ArrayBuffer<float> normals;      // 3 per vertex
    ArrayBuffer<float> texCoords;    // 2 per vertex
    ArrayBuffer<float> skinWeights;  // 4 per vertex
    ArrayBuffer<float> boneIndices;  // 4 per vertex, bone numbers as floats

    // Replaces all six from lists laid out as above.
    void Assign(const std::vector<int>& indexList, const std::vector<float>& positionList,
                const std::vector<float>& normalList, const std::vector<float>& texCoordList,
                const std::vector<float>& skinWeightList, const std::vector<float>& boneIndexList) {
        indices.Assign(indexList.data(), unsigned(indexList.size()));
        positions.Assign(positionList.data(), unsigned(positionList.size()));
        normals.Assign(normalList.data(), unsigned(normalList.size()));
        texCoords.Assign(texCoordList.data(), unsigned(texCoordList.size()));
        skinWeights.Assign(skinWeightList.data(), unsigned(skinWeightList.size()));
        boneIndices.Assign(boneIndexList.data(), unsigned(boneIndexList.size()));
    }
};

class Mesh {
public:
    Mesh();

    int AddVert(const Vertex& vertex);
    int FindOrAddTriangle(const Triangle& triangle);
    int AddTriangle(unsigned a, unsigned b, unsigned c);
    int AddTriangle(const Vertex& a, const Vertex& b, const Vertex& c);
    // Sets the corner normals to the face normal and copies the corner
    // texture coordinates (2 floats each) and colours (3 floats each).
    int AddTriangle(unsigned a, unsigned b, unsigned c, const float* t0, const float* t1,
                    const float* t2, const float* c0, const float* c1, const float* c2);
    // Stores the triangle so that its corners run clockwise seen from +z.
    int AddClockTriangle(const Vertex& a, const Vertex& b, const Vertex& c);

    // Unit face normal, w = 0 (the zero vector for a bad index or a
    // degenerate triangle).
    Vector QuickNorm(unsigned tri) const;
    void NormalizeNormals();
    void Transform(const Matrix& m);
    std::vector<unsigned> GetAdjacentTris(unsigned vertex) const;
    std::vector<unsigned> GetUnusedVerts() const;

    void SetRawVert(unsigned tri, unsigned corner, const float* xyz);
    void SetRawNormal(unsigned tri, unsigned corner, const float* xyz);
    void SetRawColor(unsigned tri, unsigned corner, const float* rgb);
    void SetRawTexCoord(unsigned tri, unsigned corner, const float* uv);
    // Addresses inside the lists; null for an index out of range.
    const float* GetRawVert(unsigned tri, unsigned corner) const;
    const float* GetRawNormal(unsigned tri, unsigned corner) const;
    const float* GetRawColor(unsigned tri, unsigned corner) const;
    const float* GetRawTexCoord(unsigned tri, unsigned corner) const;
    const float* GetRawTangent(unsigned tri, unsigned corner) const;
    const float* GetRawBinormal(unsigned tri, unsigned corner) const;

    // The closest pair of vertices as a text report; empty below 3 vertices.
    std::string PrintClosestVerts() const;

    // ---- Procedural shapes (mesh_projected.cpp) ---------------------------
    // A grid named "Lattice" of 51 x 51 vertices at height 0 over width (x)
    // by depth (z), centred on the origin, with 50 x 50 cells of two
    // projected triangles.
    static Mesh BuildLattice(float width, float depth);
    // A sphere named "Sphere" around the origin: the two poles (0, +-radius,
    // 0), then `stacks` rings of `slices` vertices (the last ring sits on the
    // second pole and no triangle uses it), with 2 x slices x (stacks - 1)
    // projected triangles whose normals point along the vertex positions (so
    // inwards for a negative radius). Needs slices >= 1 and stacks >= 2;
    // anything less gives an empty mesh.
    static Mesh BuildSphere(int slices, int stacks, float radius);
    // A box named "Box" of edges sx, sy, sz centred on the origin: each face
    // split 2 x 2 (26 vertices, 48 projected triangles), unit normals.
    static Mesh BuildBox(float sx, float sy, float sz);
    // Two projected triangles (scales s, s, s) per cell of a grid of vertex
    // indices with `rows` rows of 3 columns.
    static void AddGridTriangles(Mesh& mesh, const unsigned grid[][3], int rows, float s);
    // Finds or appends the triangle (i0, i1, i2); its corners get the face
    // normal, and texture coordinates and colours projected from the vertex
    // positions through a box of half-sizes sx, sy, sz (tilted slightly,
    // clamped to 0..1). Returns the triangle's index.
    static unsigned AddProjectedTriangle(Mesh& mesh, unsigned i0, unsigned i1, unsigned i2,
                                         float sx, float sy, float sz);

    std::vector<Vertex> verts;
    std::vector<Triangle> triangles;
    std::string name;
    bool useTexture = true;
    bool useColor = true;
    bool useMaterial = true;
    bool useTangentSpace = false;
    unsigned texID = 0;
    Vector ambientColor;
    Vector diffuseColor;
    Vector specularColor;
    float shininess = 0.0f;
    bool hasMeshBuffers = false;
    unsigned vboVertName = 0;
    unsigned vboColorName = 0;
    unsigned vboTexCoordName = 0;
    unsigned vboNormalName = 0;
    unsigned vboInterleavedName = 0;
    bool hasAttribArrays = false;
    ArrayBuffer<float> skinWeightArr;
    ArrayBuffer<float> boneIndexArr;
    bool hasAttribBuffers = false;
    unsigned vboSkinWeightName = 0;
    unsigned vboBoneIndexName = 0;
    bool isIndexed = false;
    bool isInterleaved = false;
    unsigned vboIndexName = 0;
    MeshArrays arrays;

private:
    // The corner's vertex index; false (with an error) when tri, corner or
    // the stored vertex index is out of range.
    bool CornerVertex(unsigned tri, unsigned corner, unsigned& index) const;
    // True when tri and corner are in range; logs an error otherwise.
    bool ValidCorner(unsigned tri, unsigned corner) const;
};

// The tilt of projected texture coordinates: 0.1 radian about the x axis,
// made once on first use.
const Matrix& ProjectionTiltMatrix();
