// Reads the game's content lists (the resource registry and the pattern
// list) from the run folder with TinyXML directly, independently of the
// engine's own readers, so that the content tests judge the files as they
// are on disk. (The engine's readers load the same lists whole in
// tests/resource_manager/registry_test.cpp.)
#pragma once

#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

namespace content {

inline std::string RunPath(const std::string& relative) { return std::string(QUELL_RUN_DIR) + "/" + relative; }

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

}  // namespace content
