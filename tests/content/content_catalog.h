// Reads the game's content lists (the resource registry and the pattern
// list) from the run folder with TinyXML directly, independently of the
// engine's own readers, so that the content tests judge the files as they
// are on disk. Header-only; used by the content test programs.
#pragma once

#include <tinyxml.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace content {

inline std::string RunPath(const std::string& relative) { return std::string(QUELL_RUN_DIR) + "/" + relative; }

// True when every component of the relative path exists under the run folder
// with exactly this spelling (a file found only under another case fails).
inline bool ExistsWithExactCase(const std::string& relative) {
    namespace fs = std::filesystem;
    fs::path here(QUELL_RUN_DIR);
    for (const fs::path& part : fs::path(relative)) {
        bool found = false;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(here, error))
            if (entry.path().filename() == part) found = true;
        if (error || !found) return false;
        here /= part;
    }
    return fs::is_regular_file(here);
}

struct Entry {
    std::string name, file, tex, category;
    bool hasFile = false, hasTex = false, loop = false, loadContext = false, animated = false;

    // The text before the first "_": "tex", "mesh", "skel", "anim", "sample", "stream".
    std::string Prefix() const { return name.substr(0, name.find('_')); }
    // The file as the loader opens it: meshes, skeletons and animations get
    // their extension appended.
    std::string LoadedFile() const {
        if (Prefix() == "mesh") return file + ".bin";
        if (Prefix() == "skel") return file + ".skl";
        if (Prefix() == "anim") return file + ".anm";
        return file;
    }
};

struct Registry {
    bool parsed = false;
    std::vector<Entry> entries;        // document order
    std::vector<std::string> problems;  // elements the game would misread

    const Entry* Find(const std::string& name) const {
        for (const Entry& entry : entries)
            if (entry.name == name) return &entry;
        return nullptr;
    }
};

inline bool Flag(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value && std::string(value) == "true";
}

inline Registry ReadRegistry() {
    Registry registry;
    TiXmlDocument document(RunPath("resource/registry.xml"));
    if (!document.LoadFile()) return registry;
    const TiXmlElement* root = document.RootElement();
    if (!root || std::string(root->Value()) != "registry") return registry;
    registry.parsed = true;
    for (const TiXmlNode* node = root->FirstChild(); node; node = node->NextSibling()) {
        const TiXmlElement* element = node->ToElement();
        if (!element) {
            registry.problems.push_back("a non-element child of the root");
            continue;
        }
        Entry entry;
        const char* name = element->Attribute("registry");
        if (!name) {
            registry.problems.push_back("an entry without a \"registry\" attribute");
            continue;
        }
        entry.name = name;
        if (const char* file = element->Attribute("file")) entry.file = file, entry.hasFile = true;
        if (const char* tex = element->Attribute("tex")) entry.tex = tex, entry.hasTex = true;
        if (const char* category = element->Attribute("loadCategory")) entry.category = category;
        entry.loop = Flag(*element, "loop");
        entry.loadContext = Flag(*element, "loadContext");
        entry.animated = Flag(*element, "animated");
        registry.entries.push_back(entry);
    }
    return registry;
}

struct PatternFile {
    std::string name, file;
    std::shared_ptr<TiXmlDocument> document;  // null when the file does not parse
    const TiXmlElement* object = nullptr;     // the "object" element, if any
};

struct PatternList {
    bool parsed = false;
    std::vector<PatternFile> patterns;
    std::vector<std::string> problems;

    const PatternFile* Find(const std::string& name) const {
        for (const PatternFile& pattern : patterns)
            if (pattern.name == name) return &pattern;
        return nullptr;
    }
};

inline PatternList ReadPatternList() {
    PatternList list;
    TiXmlDocument document(RunPath("resource/objectPatterns.xml"));
    if (!document.LoadFile()) return list;
    const TiXmlElement* root = document.RootElement();
    if (!root || std::string(root->Value()) != "registry") return list;
    list.parsed = true;
    for (const TiXmlNode* node = root->FirstChild(); node; node = node->NextSibling()) {
        const TiXmlElement* element = node->ToElement();
        const char* name = element ? element->Attribute("registry") : nullptr;
        const char* file = element ? element->Attribute("file") : nullptr;
        if (!name || !file) {
            list.problems.push_back("a child of the root without \"registry\" and \"file\"");
            continue;
        }
        PatternFile pattern{name, file, std::make_shared<TiXmlDocument>(RunPath(file)), nullptr};
        if (pattern.document->LoadFile())
            pattern.object = pattern.document->FirstChildElement("object");
        else
            pattern.document.reset();
        list.patterns.push_back(pattern);
    }
    return list;
}

// The text of a child element, or "" when it has none.
inline std::string ChildText(const TiXmlElement& parent, const char* child) {
    const TiXmlElement* element = parent.FirstChildElement(child);
    return element && element->GetText() ? element->GetText() : "";
}

}  // namespace content
