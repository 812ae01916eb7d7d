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
// Skinned meshes (later work) give the programs "boneIndex" and
// "skinWeights" as generic attributes at Graphics::kBoneIndexLocation and
// kSkinWeightsLocation on both routes.
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
    // From the triangles in immediate mode, normals and positions only (the
    // caller's colour and texture state stay); as DrawMeshImmediate, a
    // triangle naming a missing vertex is left out.
    void DrawMeshGeometry(const Mesh& mesh);

    // The mesh's texture name when it is a live texture, else 0 (warned once).
    static unsigned LiveTextureOf(const Mesh& mesh);
    // Every buffer name the mesh's flags call for is a live buffer.
    static bool HasLiveBuffers(const Mesh& mesh);
};
