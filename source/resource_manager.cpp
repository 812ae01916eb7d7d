#include "resource_manager.h"

#include "platform/gl_context.h"

ResourceManager::ResourceManager() : Module<ResourceManager>("ResourceManager") {}

void ResourceManager::Init() {
    objectCount = 0;
    // Patterns name registered resources, so the registry comes first.
    LoadRegistry("resource/registry.xml");
    LoadObjectPatterns("resource/objectPatterns.xml");
    screenImageTexID = 0;
    frameBufferName = 0;
    depthRenderBufferName = 0;
    frameTex0 = frameTex1 = frameTex2 = frameTex3 = frameTex4 = 0;
    screenImage.reset();
}

void ResourceManager::Update() {}

void ResourceManager::Kill() {
    // The OpenGL objects go back while the context that made them is still
    // current; without one (no window was ever opened) there are none.
    if (platform::HasCurrentGLContext()) {
        for (const char* type : {"tex", "mesh"})
            for (const std::string& name : StoredNamesOfType(type)) FreeContextData(name);
        FreeScreenImage();
    }
    // Entries are erased, not only freed, so that nothing can reach a
    // destroyed resource afterwards.
    {
        std::lock_guard<std::mutex> guard(storeMutex);
        resources.clear();
    }
    screenImageTexID = 0;
    screenImage.reset();
}

// ---- The store -------------------------------------------------------------

Container* ResourceManager::Find(const std::string& name) const {
    std::lock_guard<std::mutex> guard(storeMutex);
    auto found = resources.find(name);
    return found == resources.end() ? nullptr : found->second.get();
}

bool ResourceManager::IsStored(const std::string& name) const { return Find(name) != nullptr; }

int ResourceManager::StoreContainer(const std::string& name, std::unique_ptr<Container> holder) {
    bool inserted = false;
    {
        std::lock_guard<std::mutex> guard(storeMutex);
        inserted = resources.emplace(name, std::move(holder)).second;
    }
    if (inserted) return 0;
    Module<System>::Instance()->Error(SOURCE_POS + "attempted to load duplicate resource!");
    return 1;
}

int ResourceManager::DeleteResource(const std::string& name) {
    std::unique_ptr<Container> doomed;
    {
        std::lock_guard<std::mutex> guard(storeMutex);
        auto found = resources.find(name);
        if (found != resources.end()) {
            doomed = std::move(found->second);
            resources.erase(found);
        }
    }
    if (doomed) return 0;  // destroyed here, outside the lock
    Module<System>::Instance()->Warning("resource not found: " + name);
    return -1;
}

Container* ResourceManager::GetReferenceFromHandle(Handle handle) { return Find(handle.id); }

// ---- Script accessors -------------------------------------------------------

Texture* ResourceManager::GetTexture(Handle handle) { return get<Texture>(handle); }
Texture* ResourceManager::SetTexture(Handle handle, const Texture& value) {
    return Assign(handle, value);
}
Mesh* ResourceManager::GetMesh(Handle handle) { return get<Mesh>(handle); }
Mesh* ResourceManager::SetMesh(Handle handle, const Mesh& value) { return Assign(handle, value); }
Skeleton* ResourceManager::GetSkeleton(Handle handle) { return get<Skeleton>(handle); }
Skeleton* ResourceManager::SetSkeleton(Handle handle, const Skeleton& value) {
    return Assign(handle, value);
}
AnimSet* ResourceManager::GetAnimation(Handle handle) { return get<AnimSet>(handle); }
AnimSet* ResourceManager::SetAnimSet(Handle handle, const AnimSet& value) {
    return Assign(handle, value);
}

// ---- Names and images --------------------------------------------------------

unsigned ResourceManager::GetObjectNum() { return ++objectCount; }

std::string ResourceManager::MakeObjectName(const std::string& prefix) {
    return prefix + std::to_string(GetObjectNum());
}

void ResourceManager::BuildMipMap(std::vector<Texture*>& chain, const Texture* source) {
    // The halving reads four bytes per pixel; anything else, or an image
    // without pixels, has no chain.
    while (source && source->data && source->bytesPerPixel == 4 && source->width > 1 &&
           source->height > 1) {
        const unsigned sw = source->width, sh = source->height;
        auto* level = new Texture(sw / 2, sh / 2, 4);
        for (unsigned y = 0; y < level->height; ++y) {
            for (unsigned x = 0; x < level->width; ++x) {
                const size_t cols[2] = {2 * x, (2 * x + 1) % sw};
                const size_t rows[2] = {2 * y, (2 * y + 1) % sh};
                for (int c = 0; c < 4; ++c) {
                    float sum = 0.0f;
                    for (size_t row : rows)
                        for (size_t col : cols) sum += source->data[(row * sw + col) * 4 + c];
                    level->data[(size_t(y) * level->width + x) * 4 + c] = (unsigned char)(sum * 0.25f);
                }
            }
        }
        chain.push_back(level);
        source = level;
    }
}
