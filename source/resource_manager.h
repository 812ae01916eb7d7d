// ResourceManager: owns every loaded resource of the game (textures, meshes,
// skeletons, animation sets, sound samples and music streams), stored by
// registry name and reached elsewhere through a Handle. Also owns the
// object-name counter and the OpenGL names of the screen image and the
// offscreen framebuffer (made and freed by the GPU-resource code).
//
// Threads: the level-loader thread adds to the store while the main thread
// reads it, so every access to the store map takes storeMutex (RAII). A
// pointer returned by get<T> stays valid until that entry is deleted; entries
// are deleted only on the main thread (DeleteResource, Kill), never while a
// loader thread runs. Nothing here calls OpenGL. Not an event client.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "animation/animation_stuff.h"
#include "handle.h"
#include "module.h"
#include "resource_manager/mesh.h"
#include "resource_manager/registry_data.h"
#include "resource_manager/sound_data.h"
#include "resource_manager/texture.h"
#include "system.h"

// The polymorphic holder of one stored resource.
class Container {
public:
    virtual ~Container() = default;
};

template <class T>
class Resource : public virtual Container {
public:
    Resource(const T& value, const std::string& resourceName) : name(resourceName), data(value) {}

    std::string name;
    T data;
};

class ResourceManager : public virtual Module<ResourceManager> {
public:
    ResourceManager();

    void Init() override;
    void Update() override;
    void Kill() override;

    // ---- Typed access ------------------------------------------------------
    // The stored value, or null after logging "<id> has not been loaded" (or a
    // type-mismatch error). Callers must check: a null resource is skipped.
    template <class T>
    T* get(const Handle& handle);
    // Stores a copy under name: 0, or 1 with "attempted to load duplicate
    // resource!" when the name is taken (the stored value is kept).
    template <class T>
    int add(const std::string& name, const T& value);
    // Replaces or creates the entry: the value is stored in every case.
    template <class T>
    int set(const Handle& handle, const T& value);

    // Stores an already-built holder (the file loaders build their own):
    // 0, or 1 with the duplicate error, the holder then being destroyed.
    int StoreContainer(const std::string& name, std::unique_ptr<Container> holder);
    bool IsStored(const std::string& name) const;
    // Deletes the entry: 0, or -1 with "resource not found: <name>".
    int DeleteResource(const std::string& name);

    // ---- Script-visible accessors (Set* assign into an existing entry only;
    // both return null on a miss) ---------------------------------------------
    Texture* GetTexture(Handle handle);
    Texture* SetTexture(Handle handle, const Texture& value);
    Mesh* GetMesh(Handle handle);
    Mesh* SetMesh(Handle handle, const Mesh& value);
    Skeleton* GetSkeleton(Handle handle);
    Skeleton* SetSkeleton(Handle handle, const Skeleton& value);
    AnimSet* GetAnimation(Handle handle);
    AnimSet* SetAnimSet(Handle handle, const AnimSet& value);
    // The stored holder without a type test or message; null on a miss.
    Container* GetReferenceFromHandle(Handle handle);
    void ReleaseResourceHandle(Handle*) {}

    // ---- Names and images ------------------------------------------------------
    // prefix + the next counter value ("shot1" first after Init).
    std::string MakeObjectName(const std::string& prefix);
    unsigned GetObjectNum();
    // Appends ever halved 4-byte copies of source to chain until a side is 1;
    // the caller owns them.
    void BuildMipMap(std::vector<Texture*>& chain, const Texture* source);
    // Decodes an image file into a new RGBA Texture (rows in file order). An
    // unreadable file logs "Error loading texture!<file>" and yields a
    // Texture without data. Never null.
    std::unique_ptr<Texture> LoadTexture(const std::string& fileName);

    // ---- OpenGL names of the screen image and the framebuffer (main thread) --
    unsigned screenImageTexID = 0;
    unsigned frameBufferName = 0;
    unsigned depthRenderBufferName = 0;
    unsigned frameTex0 = 0, frameTex1 = 0, frameTex2 = 0, frameTex3 = 0, frameTex4 = 0;
    // The splash or loading picture; null when none.
    std::unique_ptr<Texture> screenImage;

    // The resource registry: filled at start-up, read-only afterwards.
    std::unordered_map<std::string, RegistryData> registry;

private:
    // The stored holder or null; takes the store lock.
    Container* Find(const std::string& name) const;
    template <class T>
    T* Assign(const Handle& handle, const T& value);

    mutable std::mutex storeMutex;
    std::unordered_map<std::string, std::unique_ptr<Container>> resources;  // storeMutex
    std::atomic<uint32_t> objectCount{0};
};

template <class T>
T* ResourceManager::get(const Handle& handle) {
    Container* holder = Find(handle.id);
    if (!holder) {
        Module<System>::Instance()->Error(SOURCE_POS + handle.id + " has not been loaded");
        return nullptr;
    }
    Resource<T>* typed = dynamic_cast<Resource<T>*>(holder);
    if (!typed) {
        Module<System>::Instance()->Error(SOURCE_POS + handle.id +
                                          " is stored as another type of resource");
        return nullptr;
    }
    return &typed->data;
}

template <class T>
int ResourceManager::add(const std::string& name, const T& value) {
    return StoreContainer(name, std::make_unique<Resource<T>>(value, name));
}

template <class T>
int ResourceManager::set(const Handle& handle, const T& value) {
    if (!IsStored(handle.id))
        Module<System>::Instance()->Error(SOURCE_POS + handle.id + " has not been loaded");
    DeleteResource(handle.id);
    return add<T>(handle.id, value);
}

template <class T>
T* ResourceManager::Assign(const Handle& handle, const T& value) {
    T* stored = get<T>(handle);
    if (stored && stored != &value) *stored = value;
    return stored;
}
