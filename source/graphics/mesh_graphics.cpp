// MeshGraphics: one Mesh as OpenGL draw calls, from its buffer objects or in
// immediate mode, plain, skinned or instanced. Main thread, texture unit 0
// active.
#include "graphics/mesh_graphics.h"

#include <GL/glew.h>

#include <algorithm>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "resource_manager/gl_names.h"

namespace {

graphics::FrameReports& Reports() { return Module<Graphics>::Instance()->Reports(); }

const GLuint kBoneIndexAttrib = Graphics::kBoneIndexLocation;
const GLuint kSkinWeightsAttrib = Graphics::kSkinWeightsLocation;

void UnbindBuffers() {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

bool IsLiveBuffer(unsigned name) { return name != 0 && glIsBuffer(name); }

void PointAtSeparateBuffers(const Mesh& mesh) {
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vboVertName);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vboTexCoordName);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vboNormalName);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
}

// The mesh's texture on unit 0, white, and its vertex, texture-coordinate
// and normal arrays pointed at its buffers (set 0 client-active).
void PointAtMeshBuffers(const Mesh& mesh) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, MeshGraphics::LiveTextureOf(mesh));
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (mesh.isInterleaved) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.vboInterleavedName);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
    } else {
        PointAtSeparateBuffers(mesh);
    }
    if (mesh.isIndexed) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.vboIndexName);
}

GLsizei VertexCount(const Mesh& mesh) {
    return mesh.isIndexed ? GLsizei(mesh.arrays.indices.count) : GLsizei(3 * mesh.triangles.size());
}

// The arrays pointed at, the whole mesh in one call.
void DrawPointedMesh(const Mesh& mesh) {
    if (mesh.isIndexed)
        glDrawElements(GL_TRIANGLES, VertexCount(mesh), GL_UNSIGNED_INT, nullptr);
    else
        glDrawArrays(GL_TRIANGLES, 0, VertexCount(mesh));
}

void DisableMeshArrays() {
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
}

// One 4-float skin array on texture-coordinate set `unit` and on the generic
// attribute, from the buffer; set 0 is client-active again afterwards.
void PointAtSkinBuffer(GLenum unit, GLuint attribute, GLuint buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glClientActiveTexture(unit);
    glTexCoordPointer(4, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexAttribPointer(attribute, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(attribute);
    glClientActiveTexture(GL_TEXTURE0);
}

// An enabled skin array would override the values the immediate route gives
// the same attributes.
void DisableSkinArrays() {
    for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE2}) {
        glClientActiveTexture(unit);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glClientActiveTexture(GL_TEXTURE0);
    glDisableVertexAttribArray(kBoneIndexAttrib);
    glDisableVertexAttribArray(kSkinWeightsAttrib);
}

bool CornersInRange(const Mesh& mesh, const Triangle& triangle) {
    const size_t count = mesh.verts.size();
    return triangle.verts[0] < count && triangle.verts[1] < count && triangle.verts[2] < count;
}

// Texture coordinate and colour (when asked), normal and position
// of each corner of the triangles whose vertices exist, inside glBegin/glEnd;
// `perVertex` runs first at each corner with the corner's vertex.
template <class PerVertex>
void EmitTriangles(const Mesh& mesh, bool texture, bool colour, PerVertex perVertex) {
    glBegin(GL_TRIANGLES);
    for (const Triangle& triangle : mesh.triangles) {
        if (!CornersInRange(mesh, triangle)) continue;
        for (int corner = 0; corner < 3; ++corner) {
            const Vertex& vertex = mesh.verts[triangle.verts[corner]];
            perVertex(vertex);
            if (texture) glTexCoord2fv(triangle.texCoord[corner]);
            if (colour) glColor3fv(triangle.color[corner]);
            glNormal3fv(triangle.normal[corner]);
            glVertex3fv(vertex.v);
        }
    }
    glEnd();
}

// Warned once per mesh; true when the mesh can still be drawn from its own
// triangles instead.
bool DrawableWithoutBuffers(const Mesh& mesh, const char* which) {
    const bool drawable = !mesh.triangles.empty();
    Reports().WarnOnce(std::string(which) + " " + mesh.name,
                       "mesh " + mesh.name + " has no live " + which + ": " +
                           (drawable ? "drawn from its triangles" : "not drawn"));
    return drawable;
}

}  // namespace

unsigned MeshGraphics::LiveTextureOf(const Mesh& mesh) {
    if (IsRealName(mesh.texID) && glIsTexture(mesh.texID)) return mesh.texID;
    Reports().WarnOnce("mesh texture " + mesh.name, "mesh " + mesh.name + " has no texture: drawn with none");
    return 0;
}

bool MeshGraphics::HasLiveBuffers(const Mesh& mesh) {
    if (!mesh.hasMeshBuffers) return false;
    if (mesh.isIndexed && !IsLiveBuffer(mesh.vboIndexName)) return false;
    if (mesh.isInterleaved) return IsLiveBuffer(mesh.vboInterleavedName);
    return IsLiveBuffer(mesh.vboVertName) && IsLiveBuffer(mesh.vboTexCoordName) && IsLiveBuffer(mesh.vboNormalName);
}

bool MeshGraphics::HasLiveSkinBuffers(const Mesh& mesh) {
    return mesh.hasAttribBuffers && IsLiveBuffer(mesh.vboBoneIndexName) && IsLiveBuffer(mesh.vboSkinWeightName);
}

void MeshGraphics::DrawMesh(const Mesh& mesh) {
    if (mesh.hasMeshBuffers)
        DrawMeshBuffers(mesh);
    else
        DrawMeshImmediate(mesh);
}

void MeshGraphics::DrawMeshBuffers(const Mesh& mesh) {
    if (!HasLiveBuffers(mesh)) {
        // Drawing through a dead name would read client memory at address 0.
        if (DrawableWithoutBuffers(mesh, "buffers")) DrawMeshImmediate(mesh);
        return;
    }
    UnbindBuffers();
    PointAtMeshBuffers(mesh);
    DrawPointedMesh(mesh);
    DisableMeshArrays();
    UnbindBuffers();
}

void MeshGraphics::DrawSkinnedMeshBuffers(const Mesh& mesh) {
    if (!HasLiveBuffers(mesh) || !HasLiveSkinBuffers(mesh)) {
        if (DrawableWithoutBuffers(mesh, "skin buffers")) DrawSkinnedMeshImmediate(mesh);
        return;
    }
    UnbindBuffers();
    PointAtSkinBuffer(GL_TEXTURE1, kBoneIndexAttrib, mesh.vboBoneIndexName);
    PointAtSkinBuffer(GL_TEXTURE2, kSkinWeightsAttrib, mesh.vboSkinWeightName);
    PointAtMeshBuffers(mesh);
    DrawPointedMesh(mesh);
    DisableMeshArrays();
    DisableSkinArrays();
    CHECK_FRAME_GL(Reports());
    UnbindBuffers();
}

void MeshGraphics::DrawMeshInstances(const Mesh& mesh, const float* matrices, unsigned count, int arrayLocation) {
    UnbindBuffers();
    PointAtMeshBuffers(mesh);
    // The program's matrix array holds kInstanceArraySize matrices: more
    // instances go in further draws.
    for (unsigned first = 0; first < count; first += Graphics::kInstanceArraySize) {
        const GLsizei batch = GLsizei(std::min<unsigned>(count - first, Graphics::kInstanceArraySize));
        glUniformMatrix4fv(arrayLocation, batch, GL_FALSE, matrices + 16 * size_t(first));
        if (mesh.isIndexed)
            glDrawElementsInstancedEXT(GL_TRIANGLES, VertexCount(mesh), GL_UNSIGNED_INT, nullptr, batch);
        else
            glDrawArraysInstancedEXT(GL_TRIANGLES, 0, VertexCount(mesh), batch);
    }
    DisableMeshArrays();
    UnbindBuffers();
}

void MeshGraphics::DrawMeshImmediate(const Mesh& mesh) {
    if (mesh.useTexture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, LiveTextureOf(mesh));
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    EmitTriangles(mesh, mesh.useTexture, mesh.useColor, [](const Vertex&) {});
}

void MeshGraphics::DrawSkinnedMeshImmediate(const Mesh& mesh) {
    if (mesh.useTexture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, LiveTextureOf(mesh));
        glColor3f(1.0f, 1.0f, 1.0f);
    } else {
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    EmitTriangles(mesh, mesh.useTexture, mesh.useColor, [](const Vertex& vertex) {
        glVertexAttrib4f(kBoneIndexAttrib, float(vertex.boneIndex[0]), float(vertex.boneIndex[1]),
                         float(vertex.boneIndex[2]), float(vertex.boneIndex[3]));
        glVertexAttrib4fv(kSkinWeightsAttrib, vertex.skinWeights);
    });
}

void MeshGraphics::DrawMeshGeometry(const Mesh& mesh) {
    EmitTriangles(mesh, false, false, [](const Vertex&) {});
}

