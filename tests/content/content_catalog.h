// Reads the game's content lists (the resource registry and the pattern
// list) from the run folder with TinyXML directly, independently of the
// engine's own readers, so that the content tests judge the files as they
// are on disk.
#pragma once

#include <tinyxml.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace content {

inline std::string RunPath(const std::string& relative) { return std::string(QUELL_RUN_DIR) + "/" + relative; }

// True when every part of the relative path exists under the run folder with
// exactly this spelling (a file found only under another case fails).
inline bool ExistsWithExactCase(const std::string& relative) {
    namespace fs = std::filesystem;
    fs::path here(QUELL_RUN_DIR);
    for (const fs::path& part : fs::path(relative)) {
        bool found = false;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(here, error)) found |= entry.path().filename() == part;
        if (error || !found) return false;
        here /= part;
    }
    return fs::is_regular_file(here);
}

inline std::string Attr(const TiXmlElement* element, const char* name) {
    const char* value = element ? element->Attribute(name) : nullptr;
    return value ? value : "";
}

inline std::string ChildText(const TiXmlElement* parent, const char* child) {
    const TiXmlElement* element = parent ? parent->FirstChildElement(child) : nullptr;
    return element && element->GetText() ? element->GetText() : "";
}

// The text before the first "_" of a registry name: "tex", "mesh", "skel", "anim", "sample", "stream".
inline std::string Prefix(const TiXmlElement* entry) {
    const std::string name = Attr(entry, "registry");
    return name.substr(0, name.find('_'));
}

// The file as the loader opens it: it appends the model files' extensions.
inline std::string LoadedFile(const TiXmlElement* entry) {
    const std::string prefix = Prefix(entry);
    return Attr(entry, "file") + (prefix == "mesh" ? ".bin" : prefix == "skel" ? ".skl" : prefix == "anim" ? ".anm" : "");
}

// A content list under a "registry" root: its children in document order.
struct List {
    explicit List(const std::string& relative) : document(std::make_shared<TiXmlDocument>()) {
        const TiXmlElement* root = document->LoadFile(RunPath(relative).c_str()) ? document->RootElement() : nullptr;
        parsed = root && std::string(root->Value()) == "registry";
        for (const TiXmlNode* node = parsed ? root->FirstChild() : nullptr; node; node = node->NextSibling()) {
            const TiXmlElement* element = node->ToElement();
            if (element && element->Attribute("registry")) entries.push_back(element);
            else ++malformed;  // the game would misread it
        }
    }
    const TiXmlElement* Find(const std::string& name) const {
        for (const TiXmlElement* entry : entries)
            if (Attr(entry, "registry") == name) return entry;
        return nullptr;
    }

    std::shared_ptr<TiXmlDocument> document;
    bool parsed = false;
    int malformed = 0;
    std::vector<const TiXmlElement*> entries;
};

// A listed pattern file and its "object" element (null when it has none or does not parse).
struct Pattern {
    std::string name, file;
    std::shared_ptr<TiXmlDocument> document;
    const TiXmlElement* object = nullptr;
};

inline std::vector<Pattern> ReadPatterns(const List& list) {
    std::vector<Pattern> patterns;
    for (const TiXmlElement* entry : list.entries) {
        Pattern pattern{Attr(entry, "registry"), Attr(entry, "file"), std::make_shared<TiXmlDocument>()};
        if (pattern.document->LoadFile(RunPath(pattern.file).c_str())) pattern.object = pattern.document->FirstChildElement("object");
        patterns.push_back(pattern);
    }
    return patterns;
}

}  // namespace content
