// Loading registry entries into the store by name and by category, and
// deleting them again. Files and the sound layer only, never OpenGL, so any
// thread may load (the level loader does); deleting is for the main thread.
#include <sstream>

#include "platform/fsound.h"
#include "resource_manager.h"
#include "resource_manager/binary_files.h"

namespace {

using Holder = std::unique_ptr<Container>;

template <class T>
Holder MakeHolder(T&& value, const std::string& name) {
    return std::make_unique<Resource<std::decay_t<T>>>(std::forward<T>(value), name);
}

void ReportReaderFailure(const RegistryData& entry) {
    Module<System>::Instance()->Error(SOURCE_POS + "failed to load resource " + entry.name +
                                      " with file name " + entry.file);
}

// Meshes, skeletons and animation sets: an entry without a file stores the
// empty value; a reader failure stores nothing.
template <class T, class Reader>
Holder LoadBinary(const RegistryData& entry, Reader read) {
    T value{};
    if (entry.hasFile && !read(value, entry.file)) {
        ReportReaderFailure(entry);
        return nullptr;
    }
    return MakeHolder(std::move(value), entry.name);
}

Holder LoadTextureEntry(ResourceManager& manager, const RegistryData& entry) {
    if (!entry.hasFile) return MakeHolder(Texture(), entry.name);
    // An unreadable image has been reported by the loader and is stored empty.
    std::unique_ptr<Texture> loaded = manager.LoadTexture(entry.file);
    return MakeHolder(std::move(*loaded), entry.name);
}

// The loop flag applies to samples too: the boost sound is a looping sample.
Holder LoadSampleEntry(const RegistryData& entry) {
    Sound sound;
    if (entry.hasFile) {
        sound.sample = FSOUND_Sample_Load(FSOUND_FREE, entry.file.c_str(), 0, 0, 0);
        sound.name = entry.name;
        if (entry.loop && sound.sample) FSOUND_Sample_SetMode(sound.sample, FSOUND_LOOP_NORMAL);
    }
    return MakeHolder(std::move(sound), entry.name);
}

Holder LoadStreamEntry(const RegistryData& entry) {
    SoundStream stream;
    if (entry.hasFile) {
        stream.stream = FSOUND_Stream_Open(entry.file.c_str(), 0, 0, 0);
        stream.name = entry.name;
        if (entry.loop && stream.stream) FSOUND_Stream_SetMode(stream.stream, FSOUND_LOOP_NORMAL);
    }
    return MakeHolder(std::move(stream), entry.name);
}

}  // namespace

bool ResourceManager::FindUsableEntry(const std::string& name, RegistryData& entry) const {
    std::shared_lock<std::shared_mutex> guard(tablesMutex);
    auto found = registry.find(name);
    if (found == registry.end()) return false;
    if (found->second.hasFile && found->second.file.empty()) return false;
    entry = found->second;
    return true;
}

std::unique_ptr<Container> ResourceManager::LoadEntry(const RegistryData& entry, bool& known) {
    known = true;
    const std::string type = Handle(entry.name).GetType();
    if (type == "mesh")
        return LoadBinary<Mesh>(entry, [](Mesh& m, const std::string& f) { return LoadMeshFile(f, m); });
    if (type == "skel") return LoadBinary<Skeleton>(entry, LoadSkeletonFile);
    if (type == "anim") return LoadBinary<AnimSet>(entry, LoadAnimFile);
    if (type == "tex") return LoadTextureEntry(*this, entry);
    if (type == "sample") return LoadSampleEntry(entry);
    if (type == "stream") return LoadStreamEntry(entry);
    known = false;
    return nullptr;
}

int ResourceManager::LoadResource(const std::string& name) {
    std::lock_guard<std::mutex> loading(loadMutex);
    if (IsStored(name)) return 0;
    RegistryData entry;
    if (!FindUsableEntry(name, entry)) {
        Module<System>::Instance()->Error(SOURCE_POS + name + " not in the registry");
        return -1;
    }
    bool known = false;
    std::unique_ptr<Container> holder = LoadEntry(entry, known);
    if (!known) {
        Module<System>::Instance()->Error(SOURCE_POS + name +
                                          " is an invalid resource type. Check the name prefix.");
        return -2;
    }
    if (!holder) return 1;
    // Only add<T> from another thread can have taken the name meanwhile; that
    // is reported as a duplicate and the name is stored either way.
    StoreContainer(name, std::move(holder));
    return 0;
}

int ResourceManager::LoadResourceByCategory(const std::string& name, const std::string& category) {
    if (IsStored(name)) return 0;
    RegistryData entry;
    if (!FindUsableEntry(name, entry)) {
        Module<System>::Instance()->Error(SOURCE_POS + name + " not in the registry");
        return -1;
    }
    return entry.loadCategory == category ? LoadResource(name) : 0;
}

void ResourceManager::LoadCategory(const std::string& category) {
    System* system = Module<System>::Instance();
    system->Log("LoadCategory()");
    system->Log("category = " + category);
    // Each failure has been reported by LoadResource; the rest still load.
    for (const RegistryData& entry : RegistryEntriesInCategory(category)) LoadResource(entry.name);
}

void ResourceManager::DeleteCategory(const std::string& category) {
    for (const RegistryData& entry : RegistryEntriesInCategory(category)) DeleteResource(entry.name);
}

std::string ResourceManager::DescribeStore() const {
    std::vector<std::pair<std::string, const Container*>> stored;
    {
        std::lock_guard<std::mutex> guard(storeMutex);
        stored.reserve(resources.size());
        for (const auto& item : resources) stored.emplace_back(item.first, item.second.get());
    }
    std::ostringstream listing;
    for (const auto& item : stored) {
        listing << item.first << "      category: " << RegistryDataLookup(item.first).loadCategory
                << "      at: " << std::hex << reinterpret_cast<uintptr_t>(item.second) << std::dec
                << "\n";
    }
    return listing.str();
}
