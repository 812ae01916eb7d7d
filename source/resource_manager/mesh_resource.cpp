// MeshResource: per-corner attribute arrays and the four buffer builders.
// The builders run on the main thread with the OpenGL context current.
#include "resource_manager/mesh_resource.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

#include "resource_manager/gl_check.h"
#include "system.h"

namespace {

const unsigned kComponents[] = {3, 3, 2, 3, 4, 4};

// Copies n floats of the corner's source (null: zeros) to out.
void CopyFloats(float* out, const float* source, unsigned n) {
    for (unsigned i = 0; i < n; ++i) out[i] = source ? source[i] : 0.0f;
}

void CornerAttribute(const Mesh& mesh, const Triangle& tri, unsigned corner, AttributeKind kind,
                     float* out) {
    const unsigned index = tri.verts[corner];
    const Vertex* vertex = index < mesh.verts.size() ? &mesh.verts[index] : nullptr;
    switch (kind) {
        case ATTRIB_POSITION: CopyFloats(out, vertex ? vertex->v : nullptr, 3); break;
        case ATTRIB_COLOR: CopyFloats(out, tri.color[corner], 3); break;
        case ATTRIB_TEXCOORD: CopyFloats(out, tri.texCoord[corner], 2); break;
        case ATTRIB_NORMAL: CopyFloats(out, tri.normal[corner], 3); break;
        case ATTRIB_SKIN_WEIGHTS: CopyFloats(out, vertex ? vertex->skinWeights : nullptr, 4); break;
        case ATTRIB_BONE_INDICES:
            for (int k = 0; k < 4; ++k) out[k] = vertex ? float(vertex->boneIndex[k]) : 0.0f;
            break;
    }
}

// A new buffer object of `target` holding count 4-byte elements; it stays bound.
template <class T>
GLuint UploadBuffer(GLenum target, const T* data, unsigned count) {
    static_assert(sizeof(T) == 4, "buffers hold 4-byte elements");
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, GLsizeiptr(count) * 4, data, GL_STATIC_DRAW);
    return name;
}

template <class T>
GLuint UploadArray(GLenum target, const ArrayBuffer<T>& array) {
    return UploadBuffer(target, array.data, array.count);
}

void UploadIndices(Mesh& mesh) {
    mesh.vboIndexName = UploadArray(GL_ELEMENT_ARRAY_BUFFER, mesh.arrays.indices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void UploadFlatSkin(Mesh& mesh) {
    mesh.vboSkinWeightName = UploadArray(GL_ARRAY_BUFFER, mesh.arrays.skinWeights);
    mesh.vboBoneIndexName = UploadArray(GL_ARRAY_BUFFER, mesh.arrays.boneIndices);
    mesh.hasAttribBuffers = true;
}

// Value i of a flat array, or 0 past its end.
float FlatValue(const ArrayBuffer<float>& array, size_t i) {
    return i < array.count ? array.data[i] : 0.0f;
}

void ReportShortArray(const Mesh& mesh, const char* what, unsigned have, size_t need) {
    if (have >= need) return;
    Module<System>::Instance()->Error(SOURCE_POS + "mesh " + mesh.name + ": " + what +
                                      " array holds " + std::to_string(have) + " floats, " +
                                      std::to_string(need) + " needed; the rest read as 0");
}

// Texture coordinate, normal and position of each vertex, 8 floats each.
std::vector<float> InterleaveVertices(const Mesh& mesh) {
    const MeshArrays& a = mesh.arrays;
    const size_t n = a.positions.count / 3;
    ReportShortArray(mesh, "texture coordinate", a.texCoords.count, 2 * n);
    ReportShortArray(mesh, "normal", a.normals.count, 3 * n);
    std::vector<float> block(n * 8);
    for (size_t i = 0; i < n; ++i) {
        float* out = &block[i * 8];
        for (size_t k = 0; k < 2; ++k) out[k] = FlatValue(a.texCoords, 2 * i + k);
        for (size_t k = 0; k < 3; ++k) out[2 + k] = FlatValue(a.normals, 3 * i + k);
        for (size_t k = 0; k < 3; ++k) out[5 + k] = a.positions.data[3 * i + k];
    }
    return block;
}

}  // namespace

unsigned AttributeComponents(AttributeKind kind) {
    return kind >= ATTRIB_POSITION && kind <= ATTRIB_BONE_INDICES ? kComponents[kind] : 0;
}

ArrayBuffer<float> MeshResource::GetAttributeArray(const Mesh& mesh, AttributeKind kind) const {
    const unsigned components = AttributeComponents(kind);
    ArrayBuffer<float> array;
    array.Resize(unsigned(mesh.triangles.size() * 3 * components));
    for (size_t t = 0; t < mesh.triangles.size(); ++t)
        for (unsigned c = 0; c < 3; ++c)
            CornerAttribute(mesh, mesh.triangles[t], c, kind,
                            array.data + (3 * t + c) * components);
    return array;
}

unsigned MeshResource::CreateArrayBuffer(const Mesh& mesh, AttributeKind kind) const {
    return UploadArray(GL_ARRAY_BUFFER, GetAttributeArray(mesh, kind));
}

void MeshResource::BuildMeshBuffers(Mesh& mesh) const {
    mesh.vboVertName = CreateArrayBuffer(mesh, ATTRIB_POSITION);
    mesh.vboTexCoordName = CreateArrayBuffer(mesh, ATTRIB_TEXCOORD);
    mesh.vboNormalName = CreateArrayBuffer(mesh, ATTRIB_NORMAL);
    mesh.hasMeshBuffers = true;
    mesh.isIndexed = false;
    CHECK_GL_ERROR();
}

void MeshResource::BuildSkinnedBuffers(Mesh& mesh, bool asBuffers) const {
    BuildMeshBuffers(mesh);
    if (asBuffers) {
        mesh.vboSkinWeightName = CreateArrayBuffer(mesh, ATTRIB_SKIN_WEIGHTS);
        mesh.vboBoneIndexName = CreateArrayBuffer(mesh, ATTRIB_BONE_INDICES);
        mesh.hasAttribBuffers = true;
    } else {
        mesh.skinWeightArr = GetAttributeArray(mesh, ATTRIB_SKIN_WEIGHTS);
        mesh.boneIndexArr = GetAttributeArray(mesh, ATTRIB_BONE_INDICES);
        mesh.hasAttribArrays = true;
    }
    CHECK_GL_ERROR();
}

void MeshResource::BuildIndexedBuffers(Mesh& mesh, bool skinBuffers) const {
    if (mesh.arrays.indices.count != 3 * mesh.triangles.size())
        Module<System>::Instance()->Error(SOURCE_POS + "assert failed!");
    UploadIndices(mesh);
    CHECK_GL_ERROR();
    mesh.vboVertName = UploadArray(GL_ARRAY_BUFFER, mesh.arrays.positions);
    mesh.vboNormalName = UploadArray(GL_ARRAY_BUFFER, mesh.arrays.normals);
    mesh.vboTexCoordName = UploadArray(GL_ARRAY_BUFFER, mesh.arrays.texCoords);
    mesh.hasMeshBuffers = true;
    mesh.isIndexed = true;
    if (skinBuffers) UploadFlatSkin(mesh);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void MeshResource::BuildInterleavedBuffers(Mesh& mesh, bool skinBuffers) const {
    const std::vector<float> block = InterleaveVertices(mesh);
    UploadIndices(mesh);
    mesh.vboInterleavedName = UploadBuffer(GL_ARRAY_BUFFER, block.data(), unsigned(block.size()));
    mesh.hasMeshBuffers = true;
    mesh.isIndexed = true;
    mesh.isInterleaved = true;
    if (skinBuffers) UploadFlatSkin(mesh);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
