// MeshGraphics: one Mesh as OpenGL draw calls, from its buffer objects or in
// immediate mode. Main thread, texture unit 0 active.
#include "graphics/mesh_graphics.h"

#include <GL/glew.h>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "resource_manager/gl_names.h"

namespace {

graphics::FrameReports& Reports() { return Module<Graphics>::Instance()->Reports(); }

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

bool CornersInRange(const Mesh& mesh, const Triangle& triangle) {
    const size_t count = mesh.verts.size();
    return triangle.verts[0] < count && triangle.verts[1] < count && triangle.verts[2] < count;
}

}  // namespace

unsigned MeshGraphics::LiveTextureOf(const Mesh& mesh) {
    if (IsRealName(mesh.texID) && glIsTexture(mesh.texID)) return mesh.texID;
    Reports().WarnOnce("mesh texture " + mesh.name, "mesh " + mesh.name + " has no texture: drawn with none");
    return 0;
}

bool MeshGraphics::HasLiveBuffers(const Mesh& mesh) {
    if (mesh.isIndexed && !IsLiveBuffer(mesh.vboIndexName)) return false;
    if (mesh.isInterleaved) return IsLiveBuffer(mesh.vboInterleavedName);
    return IsLiveBuffer(mesh.vboVertName) && IsLiveBuffer(mesh.vboTexCoordName) && IsLiveBuffer(mesh.vboNormalName);
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
        const bool drawable = !mesh.triangles.empty();
        Reports().WarnOnce("mesh buffers " + mesh.name,
                           "mesh " + mesh.name + " has no live buffers: " +
                               (drawable ? "drawn from its triangles" : "not drawn"));
        if (drawable) DrawMeshImmediate(mesh);
        return;
    }
    UnbindBuffers();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, LiveTextureOf(mesh));
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
    if (mesh.isIndexed) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.vboIndexName);
        glDrawElements(GL_TRIANGLES, GLsizei(mesh.arrays.indices.count), GL_UNSIGNED_INT, nullptr);
        UnbindBuffers();
    } else {
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(3 * mesh.triangles.size()));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    UnbindBuffers();
}

void MeshGraphics::DrawMeshImmediate(const Mesh& mesh) {
    if (mesh.useTexture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, LiveTextureOf(mesh));
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glBegin(GL_TRIANGLES);
    for (const Triangle& triangle : mesh.triangles) {
        if (!CornersInRange(mesh, triangle)) continue;
        for (int corner = 0; corner < 3; ++corner) {
            if (mesh.useTexture) glTexCoord2fv(triangle.texCoord[corner]);
            if (mesh.useColor) glColor3fv(triangle.color[corner]);
            glNormal3fv(triangle.normal[corner]);
            glVertex3fv(mesh.verts[triangle.verts[corner]].v);
        }
    }
    glEnd();
}

void MeshGraphics::DrawMeshGeometry(const Mesh& mesh) {
    glBegin(GL_TRIANGLES);
    for (const Triangle& triangle : mesh.triangles) {
        if (!CornersInRange(mesh, triangle)) continue;
        for (int corner = 0; corner < 3; ++corner) {
            glNormal3fv(triangle.normal[corner]);
            glVertex3fv(mesh.verts[triangle.verts[corner]].v);
        }
    }
    glEnd();
}
