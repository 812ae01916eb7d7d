// MeshResource: the ResourceManager's extension that turns a loaded Mesh into
// OpenGL buffer objects and records their names in the mesh, so that the
// renderer can draw it from buffers. It has no state of its own.
//
// Threads: the builders run on the main thread only, with the OpenGL context
// current (the context categories call them); GetAttributeArray touches only
// memory and may run anywhere. Never deletes a buffer: freeing belongs to
// ResourceManager::FreeContextData.
#pragma once

#include "module.h"
#include "resource_manager/mesh.h"

class ResourceManager;

// Selects a per-corner attribute of a mesh's triangles.
enum AttributeKind {
    ATTRIB_POSITION = 0,      // 3 floats: the corner vertex's position
    ATTRIB_COLOR = 1,         // 3 floats: the triangle's corner colour
    ATTRIB_TEXCOORD = 2,      // 2 floats: the corner texture coordinate
    ATTRIB_NORMAL = 3,        // 3 floats: the corner normal
    ATTRIB_SKIN_WEIGHTS = 4,  // 4 floats: the corner vertex's skin weights
    ATTRIB_BONE_INDICES = 5,  // 4 floats: the corner vertex's bone numbers
};

// Floats per corner of the attribute (0 for a value outside the enumeration).
unsigned AttributeComponents(AttributeKind kind);

class MeshResource : public Extension<ResourceManager> {
public:
    // triangles x 3 x components floats, triangle after triangle and corner
    // 0, 1, 2 in each. A corner naming a vertex the mesh does not have reads
    // zeros.
    ArrayBuffer<float> GetAttributeArray(const Mesh& mesh, AttributeKind kind) const;
    // A new GL_ARRAY_BUFFER holding GetAttributeArray; it stays bound.
    unsigned CreateArrayBuffer(const Mesh& mesh, AttributeKind kind) const;

    // Non-indexed position, texture-coordinate and normal buffers.
    void BuildMeshBuffers(Mesh& mesh) const;
    // BuildMeshBuffers, then the skin weights and bone numbers either as
    // buffers (asBuffers) or as client arrays kept in the mesh.
    void BuildSkinnedBuffers(Mesh& mesh, bool asBuffers) const;
    // Index buffer plus buffers of the mesh's flat position, normal and
    // texture-coordinate arrays; skin buffers when asked.
    void BuildIndexedBuffers(Mesh& mesh, bool skinBuffers) const;
    // Index buffer plus one T2F_N3F_V3F interleaved buffer; skin buffers when
    // asked. Flat arrays shorter than the positions need are reported and
    // their missing values read as zero.
    void BuildInterleavedBuffers(Mesh& mesh, bool skinBuffers) const;
};
