// The rebuild of the resources' OpenGL objects after a change of video mode,
// and the context marker that tells whether the old names are still live.
//
// A mode change may keep the OpenGL context (SDL 1.2 on X11 does, for every
// mode) or make a new one, which hands the same small numbers out again. Only
// a name made in the current context may be tested with glIs* and kept;
// re-uploading a live one would leak it, trusting a dead one would bind
// whatever now carries its number.
//
// Main thread only, with the context current.
#include <GL/glew.h>

#include <unordered_map>

#include "resource_manager.h"
#include "resource_manager/gl_names.h"

namespace {

// No resource buffer has this size (theirs hold 4-byte elements).
const GLint kMarkerBytes = 13;

System& Sys() { return *Module<System>::Instance(); }

void LogValue(const std::string& name, const std::string& value) {
    Sys().Log(name + " = " + value + "\n");
}

GLint BufferSize(unsigned name) {
    GLint bound = 0, size = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, GLuint(bound));
    return size;
}

void RebuildBuffers(const MeshResource& builder, Mesh& mesh) {
    if (!mesh.isIndexed) {
        if (mesh.hasAttribArrays) builder.BuildSkinnedBuffers(mesh, false);
        else if (mesh.hasAttribBuffers) builder.BuildSkinnedBuffers(mesh, true);
        else builder.BuildMeshBuffers(mesh);
    } else if (mesh.isInterleaved) {
        builder.BuildInterleavedBuffers(mesh, mesh.hasAttribBuffers);
    } else {
        builder.BuildIndexedBuffers(mesh, mesh.hasAttribBuffers);
    }
}

// Uploads each stored texture that has no live name; returns old -> new names.
std::unordered_map<unsigned, unsigned> ReuploadTextures(ResourceManager& resources, bool sameContext) {
    std::unordered_map<unsigned, unsigned> renamed;
    for (const std::string& name : resources.StoredNamesOfType("tex")) {
        Sys().Log("Reloading texture");
        LogValue("handle.GetID()", name);
        Texture* texture = resources.get<Texture>(name);
        if (!texture || (sameContext && HoldsLiveTexture(*texture))) continue;
        const unsigned old = texture->texID;
        // InitGLTexture refuses other pixel sizes; such a texture then has no
        // live name.
        const bool uploadable = !texture->data || texture->bytesPerPixel == 4;
        resources.InitGLTexture(*texture);
        if (!uploadable) texture->texID = Texture::kNoTexture;
        if (IsRealName(old) && IsRealName(texture->texID)) renamed[old] = texture->texID;
    }
    return renamed;
}

void ReloadTexturesIn(ResourceManager& resources, bool sameContext) {
    // Meshes follow an explicit map, built before any mesh is touched, so a
    // new name that equals another texture's old one cannot mislead them.
    const std::unordered_map<unsigned, unsigned> renamed = ReuploadTextures(resources, sameContext);
    for (const std::string& name : resources.StoredNamesOfType("mesh")) {
        Mesh* mesh = resources.get<Mesh>(name);
        if (!mesh || !IsRealName(mesh->texID)) continue;
        auto found = renamed.find(mesh->texID);
        if (found != renamed.end()) mesh->texID = found->second;
        // A dead name without a successor could alias a new texture: none.
        else if (!sameContext) mesh->texID = 0;
    }
}

void ReloadMeshBuffersIn(ResourceManager& resources, bool sameContext) {
    for (const std::string& name : resources.StoredNamesOfType("mesh")) {
        Mesh* mesh = resources.get<Mesh>(name);
        if (!mesh) continue;
        Sys().Log("loading mesh buffers");
        LogValue("mesh.name", mesh->name);
        if (mesh->hasMeshBuffers && !(sameContext && HoldsLiveBuffers(*mesh)))
            RebuildBuffers(resources.meshResource, *mesh);
    }
}

}  // namespace

bool ResourceManager::HoldsContextMarker() const {
    return contextMarkerName != 0 && glIsBuffer(contextMarkerName) &&
           BufferSize(contextMarkerName) == kMarkerBytes;
}

void ResourceManager::MarkContext() {
    if (HoldsContextMarker()) return;
    const unsigned char bytes[kMarkerBytes] = {};
    GLint bound = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    glGenBuffers(1, &contextMarkerName);
    glBindBuffer(GL_ARRAY_BUFFER, contextMarkerName);
    glBufferData(GL_ARRAY_BUFFER, kMarkerBytes, bytes, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, GLuint(bound));
}

// Alone, neither marks the context: the other one may still have stale
// names to replace, and a marker would make them look live.
void ResourceManager::ReloadTextures() { ReloadTexturesIn(*this, HoldsContextMarker()); }

void ResourceManager::ReloadMeshBuffers() { ReloadMeshBuffersIn(*this, HoldsContextMarker()); }

void ResourceManager::ReloadContextData() {
    // Decided once, before anything below makes names in this context.
    const bool sameContext = HoldsContextMarker();
    Sys().Log("freeing frame buffer");
    FreeFrameBuffer();
    Sys().Log("building frame buffer");
    BuildFrameBuffer();
    Sys().Log("reloading textures");
    ReloadTexturesIn(*this, sameContext);
    Sys().Log("reloading mesh");
    ReloadMeshBuffersIn(*this, sameContext);
    MarkContext();
    Sys().Log("finished loading context");
}
