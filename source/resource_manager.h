// ResourceManager: owns every loaded resource of the game (textures, meshes,
// skeletons, animation sets, sound samples and music streams), stored by
// registry name and reached elsewhere through a Handle. Also owns the
// object-name counter and the OpenGL names of the screen image and the
// offscreen framebuffer (made and freed by the GPU-resource code).
//
// Also owns the resource registry (name -> file, category, flags) and the
// object patterns, both read in Init and only ever added to afterwards.
//
// Threads: the level-loader thread adds to the store while the main thread
// reads it, so every access to the store map takes storeMutex (RAII), and
// every access to the registry and the patterns takes tablesMutex (a script
// on the loader thread may read more of them). Neither lock is held while
// calling System or a file reader, and the two are never held together;
// loadMutex (one LoadResource at a time) is the outermost lock. A
// pointer returned by get<T> stays valid until that entry is deleted; entries
// are deleted only on the main thread (DeleteResource, DeleteCategory, Kill),
// never while a loader thread runs. The store never calls OpenGL; the
// operations of the "OpenGL side" block do, on the main thread only, and the
// loader thread must never call them. Not an event client.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "animation/animation_stuff.h"
#include "resource_manager/handle.h"
#include "module.h"
#include "object_pattern.h"
#include "resource_manager/mesh.h"
#include "resource_manager/mesh_resource.h"
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
    // Loaded meshes and animation sets can be large: the loaders hand theirs over.
    Resource(T&& value, const std::string& resourceName) : name(resourceName), data(std::move(value)) {}

    std::string name;
    T data;
};

class ResourceManager : public virtual Module<ResourceManager> {
public:
    ResourceManager();

    void Init() override;
    void Update() override;
    // Frees the OpenGL objects of every stored texture and mesh and of the
    // screen image (when a context is current), then every entry. Main thread.
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

    // ---- Registry and patterns (registry.cpp) -------------------------------------
    // Adds the entries of a registry file; earlier entries of a name win. An
    // unreadable or malformed file logs "can't load file <path>" and adds
    // nothing; a root other than "registry" adds nothing, silently.
    void LoadRegistry(const char* fileName);
    // Reads a pattern list and every pattern file it names (on the calling
    // thread); earlier patterns of a name win.
    void LoadObjectPatterns(const char* fileName);
    // A copy of the entry; all empty / false for a name not registered.
    RegistryData RegistryDataLookup(const std::string& name) const;
    // The entry's file; empty for a name not registered.
    std::string RegistryFileLookup(const std::string& name) const;
    // Copies of every entry, or of those whose loadCategory equals category
    // exactly (in no particular order).
    std::vector<RegistryData> RegistryEntries() const;
    std::vector<RegistryData> RegistryEntriesInCategory(const std::string& category) const;
    // A copy of the pattern; for an unknown name a new pattern whose "type"
    // is "INVALID_PATTERN" (no message).
    ObjectPattern GetPattern(const std::string& name) const;
    std::vector<std::string> PatternNames() const;
    // The handle of a stored resource; on a miss logs the store listing and
    // the error "<name> not loaded" and returns the empty handle.
    Handle GetResourceHandle(const std::string& name);

    // ---- Loading by name and category (loading.cpp) ------------------------------
    // 0: stored (now or before); -1: not in the registry (or its "file" is
    // empty); 1: the file reader failed, nothing stored; -2: unknown type
    // prefix. Any thread; loads are serialised, reads of the store are not
    // blocked by them.
    int LoadResource(const std::string& name);
    // As LoadResource for an entry of that category; 0 without loading for
    // an entry of another category.
    int LoadResourceByCategory(const std::string& name, const std::string& category);
    // Loads every entry whose loadCategory equals category exactly.
    void LoadCategory(const std::string& category);
    // Deletes every entry of the category; a registered name that is not
    // loaded gives DeleteResource's warning. Main thread only.
    void DeleteCategory(const std::string& category);
    // One line per stored resource: name, its category and the holder's
    // address in hexadecimal.
    std::string DescribeStore() const;

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

    // ---- The OpenGL side of resources (gl_textures.cpp, frame_buffer.cpp,
    // context_categories.cpp, noise_texture.cpp, heightmap.cpp) ----------------
    // Everything in this block that touches OpenGL runs on the main thread with
    // the context current; the loader thread never calls it.
    static constexpr const char* kSplashImageFile =
        "resource/art assets/splash_screens/studio_logo_loading.png";
    static constexpr const char* kLoadingImageFile = "resource/art assets/loading.png";

    // Uploads a 4-byte-per-pixel texture (with mipmaps) into a new OpenGL
    // texture named in texID; the old name is not deleted. Any other pixel
    // size is refused with an error and texID is left as it was.
    void InitGLTexture(Texture& texture);
    // Uploads screenImage (loading kLoadingImageFile first when there is
    // none) into a new texture named in screenImageTexID.
    void InitLoadingScreenTexture();
    // FreeScreenImage, then the image file into screenImage, rows flipped so
    // that row 0 is the bottom of the picture. Not uploaded here.
    void LoadSplashTexture();
    void LoadLoadingTexture();
    // Deletes the screen image's texture and the image; nothing when no image.
    void FreeScreenImage();
    // The five window-sized framebuffer textures, the framebuffer object and
    // its depth renderbuffer, at the System's current width and height.
    void BuildFrameBuffer();
    // Deletes whichever of them exist and zeroes their names.
    void FreeFrameBuffer();

    // Uploads the category's textures and builds its meshes' buffers; a
    // texture or mesh that already holds live OpenGL names is left as it is.
    void LoadContextCategory(std::string category);
    // Ties the category's meshes to their textures' names; no OpenGL call.
    void BuildContextCategory(std::string category);
    // FreeContextData on every registry entry of the category.
    void UnloadContextCategory(std::string category);
    // Frees the OpenGL objects of one stored texture or mesh; a name that is
    // not stored is passed over.
    void FreeContextData(const std::string& name);
    // After a change of video mode: every stored texture without a live name
    // is uploaded (again), and every stored mesh follows its texture to the
    // new name. Whether the old names are still live is told by the context
    // marker: a platform may keep the context (SDL 1.2 on X11 does) or make a
    // new one that hands the same numbers out again.
    void ReloadTextures();
    // The same for the buffers of every stored mesh that had them.
    void ReloadMeshBuffers();
    // After a change of video mode: the framebuffer at the new size, then
    // ReloadTextures, then ReloadMeshBuffers.
    void ReloadContextData();
    // Names of the stored resources whose type prefix is `type` (no order).
    std::vector<std::string> StoredNamesOfType(const std::string& type) const;

    // Fills pixels (0..127, 0..127) of texture with grey noise (alpha 255);
    // a texture smaller than 128 x 128 is refused with an error. CPU only.
    void BuildNoiseTexture(Texture& texture);
    // A terrain lattice over x, z in 0..1 whose heights are the image's
    // luminance and whose normals follow its slopes. CPU only.
    Mesh BuildHeightmapMesh(const Texture& texture);

    // Turns meshes into buffer objects (main thread).
    MeshResource meshResource;

    // True when the current context is the one in which the stored
    // resources' OpenGL names were made (context_reload.cpp): only then may a
    // kept name be tested with glIs* or freed. Main thread.
    bool HoldsContextMarker() const;

private:
    // Makes the marker in the current context unless it is already there.
    void MarkContext();
    unsigned contextMarkerName = 0;  // a buffer of a size no resource buffer has

    // Builds the holder of one registry entry of a known type; null when the
    // file reader failed (already logged). Sets known = false for a prefix
    // that is none of the six.
    std::unique_ptr<Container> LoadEntry(const RegistryData& entry, bool& known);
    // The entry, when the name is registered with a usable "file".
    bool FindUsableEntry(const std::string& name, RegistryData& entry) const;
    // The stored holder or null; takes the store lock.
    Container* Find(const std::string& name) const;
    template <class T>
    T* Assign(const Handle& handle, const T& value);

    mutable std::mutex storeMutex;
    std::unordered_map<std::string, std::unique_ptr<Container>> resources;  // storeMutex
    // Held across one whole LoadResource, so that two threads loading one
    // name read its file once and store it once.
    std::mutex loadMutex;
    mutable std::shared_mutex tablesMutex;
    std::unordered_map<std::string, RegistryData> registry;    // tablesMutex
    std::unordered_map<std::string, ObjectPattern> patterns;   // tablesMutex
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
