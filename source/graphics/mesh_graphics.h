// MeshGraphics: turns one Mesh into OpenGL draw calls in the current
// model-view transform with the current program. Holds nothing; owned by
// Graphics. Main thread only, with texture unit 0 active; never switches
// programs or touches the matrix stacks.
//
// Safety contract: no routine reads memory through a buffer name that is not
// a live buffer (OpenGL would read client memory at address 0 instead). A
// buffered mesh whose names are not live is drawn from its own triangles,
// warned once; one without triangles is skipped, warned once. A mesh whose
// texture name is not a live texture binds texture 0, warned once.
//
// Skinned meshes give the programs "boneIndex" and "skinWeights" as generic
// attributes at Graphics::kBoneIndexLocation and kSkinWeightsLocation on both
// routes; the buffered route also hands them over as texture-coordinate sets
// 1 and 2, and leaves no array of its own enabled behind it.
#pragma once

#include "module.h"
#include "resource_manager/mesh.h"

class Graphics;

class MeshGraphics : public Extension<Graphics> {
public:
    // Buffered when the mesh has buffers, else immediate.
    void DrawMesh(const Mesh& mesh);
    // From the buffer objects (interleaved, or three separate arrays;
    // indexed or not), textured with the mesh's texture and white.
    void DrawMeshBuffers(const Mesh& mesh);
    // From the triangles in immediate mode: texture (when useTexture), corner
    // colours (when useColor), normals and positions. A triangle naming a
    // vertex the mesh does not have is left out.
    void DrawMeshImmediate(const Mesh& mesh);
    // DrawMeshBuffers with the bone numbers and weights from their two
    // buffers. Without live skin buffers the mesh is drawn by
    // DrawSkinnedMeshImmediate (or skipped when it has no triangles), warned
    // once.
    void DrawSkinnedMeshBuffers(const Mesh& mesh);
    // Immediate mode with each corner's bone numbers and weights; untextured
    // (texture 0) when the mesh has useTexture clear.
    void DrawSkinnedMeshImmediate(const Mesh& mesh);
    // From the triangles in immediate mode, normals and positions only (the
    // caller's colour and texture state stay); as DrawMeshImmediate, a
    // triangle naming a missing vertex is left out.
    void DrawMeshGeometry(const Mesh& mesh);
    // `count` copies of the buffered mesh, copy i placed by the i-th of the
    // column-major matrices, through the instancing program in use, whose
    // matrix array starts at `arrayLocation`. Uploads and draws at most
    // Graphics::kInstanceArraySize copies at a time. The caller has checked
    // HasLiveBuffers and that the draw-instanced entry points exist.
    void DrawMeshInstances(const Mesh& mesh, const float* matrices, unsigned count, int arrayLocation);

    // The mesh's texture name when it is a live texture, else 0 (warned once).
    static unsigned LiveTextureOf(const Mesh& mesh);
    // Every buffer name the flags call for is a live buffer (false without
    // hasMeshBuffers).
    static bool HasLiveBuffers(const Mesh& mesh);
    // The same for the two skin buffers.
    static bool HasLiveSkinBuffers(const Mesh& mesh);
};
