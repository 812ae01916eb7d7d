// RegistryData: one entry of the resource registry, saying which file holds
// a resource, its load category and how it is treated. A plain value, copied
// in and out of the registry table.
#pragma once

#include <string>

struct RegistryData {
    std::string file;          // relative to the working folder; empty without "file"
    std::string name;          // the resource name, type prefix first
    std::string tex;           // the texture a mesh uses
    std::string loadCategory;
    bool hasFile = false;
    bool hasTex = false;
    bool loop = false;
    bool animated = false;
    bool loadContext = false;
};
