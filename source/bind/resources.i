// Resources and world: the resource handle and the CPU-side resource types
// (Texture, Mesh, Vertex, Triangle). The ResourceManager itself is in
// loading.i.
%{
#include "resource_manager/handle.h"
#include "resource_manager/mesh.h"
#include "resource_manager/texture.h"
%}

class Handle {
public:
    Handle();
    Handle(const std::string& name);
    std::string GetID() const;
    std::string GetType() const;
};

class Texture {
public:
    Texture();
    Texture(const Texture& other);
    Texture(unsigned width, unsigned height, unsigned bytesPerPixel);

    void FlipY();
    float GetMaxLuminance() const;
    float GetAvgLuminance(unsigned x, unsigned y) const;
    void SetLuminance(unsigned x, unsigned y, float lum);
    float GetInterpAvgLuminance(float u, float v) const;
    unsigned GetPixel(unsigned x, unsigned y) const;
    void SetPixel(unsigned x, unsigned y, unsigned value);
    void SwizzleBytes(int a, int b, int c, int d);
    void DownsampleBilinear();
    void DownsampleClosest(int targetWidth, int targetHeight);

    // The sizes describe the pixel buffer and the buffer is the texture's
    // own: a script that rewrote them could make pixel access run past the
    // buffer or free it twice, so scripts only read them.
    %immutable;
    unsigned width;
    unsigned height;
    unsigned bytesPerPixel;
    unsigned char* data;
    %mutable;
    unsigned texID;
};

struct Vertex {
    Vertex(float x = 0.0f, float y = 0.0f, float z = 0.0f);
    float Distance(const Vertex& other) const;
    Vector operator-(const Vertex& other) const;
    bool operator==(const Vertex& other) const;

    float v[3];
    int boneIndex[4];
    float skinWeights[4];
    int numWeights;
};

struct Triangle {
    Triangle(unsigned a = 0, unsigned b = 0, unsigned c = 0);
    bool operator==(const Triangle& other) const;

    unsigned verts[3];
    float normal[3][3];
    float color[3][3];
    float texCoord[3][2];
    float tangent[3][3];
    float binormal[3][3];
};

// The skinning arrays scripts read as copies; opaque, but collectable.
%nodefaultctor ArrayBuffer;
template <class T> class ArrayBuffer {};
%template(ArrayBuffer_float) ArrayBuffer<float>;
%quell_read_as_copy(Mesh, skinWeightArr)
%quell_read_as_copy(Mesh, boneIndexArr)

%template(vector_unsigned_int) std::vector<unsigned int>;

class Mesh {
public:
    Mesh();
    int AddVert(const Vertex& vertex);
    int AddTriangle(const Vertex& a, const Vertex& b, const Vertex& c);
    int AddTriangle(unsigned a, unsigned b, unsigned c);
    int AddTriangle(unsigned a, unsigned b, unsigned c, const float* t0, const float* t1,
                    const float* t2, const float* c0, const float* c1, const float* c2);
    int AddClockTriangle(const Vertex& a, const Vertex& b, const Vertex& c);
    std::vector<unsigned int> GetAdjacentTris(unsigned vertex) const;
    const float* GetRawVert(unsigned tri, unsigned corner) const;
    const float* GetRawNormal(unsigned tri, unsigned corner) const;
    const float* GetRawColor(unsigned tri, unsigned corner) const;
    const float* GetRawTexCoord(unsigned tri, unsigned corner) const;
    const float* GetRawTangent(unsigned tri, unsigned corner) const;
    const float* GetRawBinormal(unsigned tri, unsigned corner) const;
    void SetRawVert(unsigned tri, unsigned corner, const float* xyz);
    void SetRawNormal(unsigned tri, unsigned corner, const float* xyz);
    void SetRawColor(unsigned tri, unsigned corner, const float* rgb);
    void SetRawTexCoord(unsigned tri, unsigned corner, const float* uv);
    void NormalizeNormals();
    void Transform(const Matrix& m);
    Vector QuickNorm(unsigned tri) const;
    std::string PrintClosestVerts() const;

    std::vector<Vertex> verts;
    std::vector<Triangle> triangles;
    std::string name;
    bool useTexture;
    bool useColor;
    bool useMaterial;
    bool useTangentSpace;
    unsigned texID;
    Vector ambientColor;
    Vector diffuseColor;
    Vector specularColor;
    float shininess;
    bool hasMeshBuffers;
    unsigned vboVertName;
    unsigned vboColorName;
    unsigned vboTexCoordName;
    unsigned vboNormalName;
    bool hasAttribArrays;
    ArrayBuffer<float> skinWeightArr;
    ArrayBuffer<float> boneIndexArr;
    bool hasAttribBuffers;
    unsigned vboSkinWeightName;
    unsigned vboBoneIndexName;
};
