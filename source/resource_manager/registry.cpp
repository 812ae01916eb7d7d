// The ResourceManager's two content lists: the resource registry and the
// object-pattern list, read in Init (and again if a script asks), and the
// look-ups over them. Files are read and patterns parsed outside the table
// lock; only the final inserts take it.
#include <tinyxml.h>

#include "object_factory.h"
#include "resource_manager.h"
#include "xml_file.h"

namespace {

const char* const kRootElement = "registry";

bool IsTrueAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value && std::string(value) == "true";
}

std::string TextAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? value : "";
}

RegistryData ReadEntry(const TiXmlElement& element) {
    RegistryData entry;
    entry.name = TextAttribute(element, "registry");
    entry.file = TextAttribute(element, "file");
    entry.tex = TextAttribute(element, "tex");
    entry.loadCategory = TextAttribute(element, "loadCategory");
    entry.hasFile = element.Attribute("file") != nullptr;
    entry.hasTex = element.Attribute("tex") != nullptr;
    entry.loop = IsTrueAttribute(element, "loop");
    entry.animated = IsTrueAttribute(element, "animated");
    entry.loadContext = IsTrueAttribute(element, "loadContext");
    return entry;
}

void WarnMissingAttribute(const std::string& file, const TiXmlElement& element, const char* name) {
    Module<System>::Instance()->Warning(file + " line " + std::to_string(element.Row()) + ": <" +
                                        element.ValueStr() + "> has no \"" + name +
                                        "\" attribute; entry skipped");
}

// The root "registry" element of a list file; null (after logging) when the
// file cannot be read, null silently when the root has another name.
const TiXmlElement* OpenList(TiXmlDocument& document, const std::string& path) {
    std::string reason;
    if (!LoadXmlFile(document, path, reason)) {
        // The why goes on its own line first, so the error keeps its fixed text
        // and the error-log file still holds the cause.
        Module<System>::Instance()->Log(path + ": " + reason);
        Module<System>::Instance()->Error(SOURCE_POS + "can't load file " + path);
        return nullptr;
    }
    return document.FirstChildElement(kRootElement);
}

// Every element child of root that carries all the required attributes, in
// document order. Comments and text between entries are passed over.
template <class Visit>
void ForEachEntry(const TiXmlElement& root, const std::string& path,
                  std::initializer_list<const char*> required, Visit visit) {
    for (const TiXmlElement* element = root.FirstChildElement(); element;
         element = element->NextSiblingElement()) {
        bool complete = true;
        for (const char* name : required) {
            if (complete && !element->Attribute(name)) {
                WarnMissingAttribute(path, *element, name);
                complete = false;
            }
        }
        if (complete) visit(*element);
    }
}

struct PatternListItem {
    std::string name;
    std::string file;
};

// Reads the content list named fileName (none when null) and hands each of
// its entries that has the required attributes to `take`.
template <class Take>
void ReadContentList(const char* fileName, std::initializer_list<const char*> required, Take take) {
    const std::string path = fileName ? fileName : "";
    TiXmlDocument document;
    if (const TiXmlElement* root = OpenList(document, path)) ForEachEntry(*root, path, required, take);
}

}  // namespace

void ResourceManager::LoadRegistry(const char* fileName) {
    std::vector<RegistryData> entries;
    ReadContentList(fileName, {"registry"},
                    [&](const TiXmlElement& element) { entries.push_back(ReadEntry(element)); });
    std::unique_lock<std::shared_mutex> guard(tablesMutex);
    for (RegistryData& entry : entries) registry.emplace(entry.name, std::move(entry));
}

void ResourceManager::LoadObjectPatterns(const char* fileName) {
    std::vector<PatternListItem> items;
    ReadContentList(fileName, {"registry", "file"}, [&](const TiXmlElement& element) {
        items.push_back({TextAttribute(element, "registry"), TextAttribute(element, "file")});
    });
    for (const PatternListItem& item : items) {
        // Parsed before taking the lock: a duplicate's file is still read.
        ObjectPattern pattern = ObjectFactory::LoadObjectPattern(item.file.c_str());
        std::unique_lock<std::shared_mutex> guard(tablesMutex);
        patterns.emplace(item.name, std::move(pattern));
    }
}

RegistryData ResourceManager::RegistryDataLookup(const std::string& name) const {
    std::shared_lock<std::shared_mutex> guard(tablesMutex);
    auto found = registry.find(name);
    return found == registry.end() ? RegistryData() : found->second;
}

std::string ResourceManager::RegistryFileLookup(const std::string& name) const {
    return RegistryDataLookup(name).file;
}

std::vector<RegistryData> ResourceManager::RegistryEntries() const {
    std::shared_lock<std::shared_mutex> guard(tablesMutex);
    std::vector<RegistryData> entries;
    entries.reserve(registry.size());
    for (const auto& item : registry) entries.push_back(item.second);
    return entries;
}

std::vector<RegistryData> ResourceManager::RegistryEntriesInCategory(const std::string& category) const {
    std::shared_lock<std::shared_mutex> guard(tablesMutex);
    std::vector<RegistryData> entries;
    for (const auto& item : registry)
        if (item.second.loadCategory == category) entries.push_back(item.second);
    return entries;
}

ObjectPattern ResourceManager::GetPattern(const std::string& name) const {
    {
        std::shared_lock<std::shared_mutex> guard(tablesMutex);
        auto found = patterns.find(name);
        if (found != patterns.end()) return found->second;
    }
    ObjectPattern invalid;
    ObjectFactory::SetParameter(invalid, PatternParam::kType, std::string(ObjectFactory::kInvalidPatternType));
    return invalid;
}

std::vector<std::string> ResourceManager::PatternNames() const {
    std::shared_lock<std::shared_mutex> guard(tablesMutex);
    std::vector<std::string> names;
    names.reserve(patterns.size());
    for (const auto& item : patterns) names.push_back(item.first);
    return names;
}

Handle ResourceManager::GetResourceHandle(const std::string& name) {
    if (IsStored(name)) return Handle(name);
    System* system = Module<System>::Instance();
    std::string listing = DescribeStore();
    if (!listing.empty()) listing.pop_back();  // Log ends the line itself
    system->Log(listing);
    system->Error(SOURCE_POS + name + " not loaded");
    return Handle();
}
