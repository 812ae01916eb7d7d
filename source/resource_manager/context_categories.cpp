// Context categories: the OpenGL side of a loaded resource category (texture
// uploads, meshes tied to their textures, mesh buffers) and its release. The
// rebuild after a change of video mode is in context_reload.cpp.
//
// Main thread only, with the context current, and only once the loader
// thread has finished the category: nothing may write the store or the
// registry while these run.
#include <GL/glew.h>

#include "resource_manager.h"
#include "resource_manager/gl_check.h"
#include "resource_manager/gl_names.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

void LogValue(const std::string& name, const std::string& value) {
    Sys().Log(name + " = " + value + "\n");
}

bool HasType(const std::string& name, const char* type) { return Handle(name).GetType() == type; }

void BuildBuffersByFlags(const MeshResource& builder, Mesh& mesh, bool animated) {
    if (!mesh.isIndexed) {
        if (animated) builder.BuildSkinnedBuffers(mesh, true);
        else builder.BuildMeshBuffers(mesh);
    } else if (mesh.isInterleaved) {
        builder.BuildInterleavedBuffers(mesh, animated);
    } else {
        builder.BuildIndexedBuffers(mesh, animated);
    }
}

// A name of 0 holds no buffer (never made, or freed already) and is passed
// over; any other name that is not a buffer means the mesh's record is wrong.
void DeleteMeshBuffer(unsigned& name) {
    if (name == 0) return;
    if (glIsBuffer(name)) {
        glDeleteBuffers(1, &name);
        name = 0;
    } else {
        Sys().Error(SOURCE_POS + "invalid mesh state!");
    }
}

void FreeMeshBuffers(Mesh& mesh) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (mesh.hasMeshBuffers) {
        if (mesh.isInterleaved) {
            DeleteMeshBuffer(mesh.vboInterleavedName);
        } else {
            DeleteMeshBuffer(mesh.vboVertName);
            DeleteMeshBuffer(mesh.vboTexCoordName);
            DeleteMeshBuffer(mesh.vboNormalName);
        }
    }
    if (mesh.hasAttribBuffers) {
        DeleteMeshBuffer(mesh.vboSkinWeightName);
        DeleteMeshBuffer(mesh.vboBoneIndexName);
    }
    if (mesh.isIndexed) DeleteMeshBuffer(mesh.vboIndexName);
}

void FreeTextureName(Texture& texture) {
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glIsTexture(texture.texID)) {
        glDeleteTextures(1, &texture.texID);
        texture.texID = 0;
    }
}

}  // namespace

std::vector<std::string> ResourceManager::StoredNamesOfType(const std::string& type) const {
    std::lock_guard<std::mutex> guard(storeMutex);
    std::vector<std::string> names;
    for (const auto& item : resources)
        if (Handle(item.first).GetType() == type) names.push_back(item.first);
    return names;
}

// ---- Loading a category's context ------------------------------------------------

namespace {

void UploadCategoryTexture(ResourceManager& resources, const RegistryData& entry) {
    Sys().Log("loading texture in context");
    LogValue("data.loadCategory", entry.loadCategory);
    LogValue("handle.GetID()", entry.name);
    Texture* texture = resources.get<Texture>(entry.name);
    if (texture && !HoldsLiveTexture(*texture)) resources.InitGLTexture(*texture);
}

void TieMeshToTexture(ResourceManager& resources, const RegistryData& entry) {
    const Handle texHandle = resources.GetResourceHandle(entry.tex);
    if (texHandle.id.empty()) return;  // already reported
    Texture* texture = resources.get<Texture>(texHandle);
    Mesh* mesh = resources.get<Mesh>(entry.name);
    if (texture && mesh) mesh->texID = texture->texID;
}

void PrepareCategoryMesh(ResourceManager& resources, const RegistryData& entry) {
    if (entry.hasTex) TieMeshToTexture(resources, entry);
    if (!entry.loadContext) return;
    Mesh* mesh = resources.get<Mesh>(entry.name);
    if (mesh && !HoldsLiveBuffers(*mesh))
        BuildBuffersByFlags(resources.meshResource, *mesh, entry.animated);
}

}  // namespace

void ResourceManager::LoadContextCategory(std::string category) {
    Sys().Log("LoadContextCategory()");
    LogValue("category", category);
    CHECK_GL_ERROR();
    MarkContext();
    const std::vector<RegistryData> entries = RegistryEntriesInCategory(category);
    for (const RegistryData& entry : entries)
        if (entry.loadContext && HasType(entry.name, "tex")) UploadCategoryTexture(*this, entry);
    for (const RegistryData& entry : entries)
        if (HasType(entry.name, "mesh")) PrepareCategoryMesh(*this, entry);
}

void ResourceManager::BuildContextCategory(std::string category) {
    for (const RegistryData& entry : RegistryEntriesInCategory(category))
        if (HasType(entry.name, "mesh") && entry.hasTex) TieMeshToTexture(*this, entry);
}

// ---- Freeing -------------------------------------------------------------------

void ResourceManager::UnloadContextCategory(std::string category) {
    CHECK_GL_ERROR();
    for (const RegistryData& entry : RegistryEntriesInCategory(category)) FreeContextData(entry.name);
}

void ResourceManager::FreeContextData(const std::string& name) {
    CHECK_GL_ERROR();
    // A registered entry that was never loaded has nothing to free.
    if (IsStored(name)) {
        if (HasType(name, "tex")) {
            if (Texture* texture = get<Texture>(name)) FreeTextureName(*texture);
        } else if (HasType(name, "mesh")) {
            if (Mesh* mesh = get<Mesh>(name)) FreeMeshBuffers(*mesh);
        }
    }
    CHECK_GL_ERROR();
}
