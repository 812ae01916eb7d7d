// Setting up a game world the way the game does, for tests in any folder:
// object patterns written to files and loaded through a pattern list, and
// level 1 loaded as the first level load does (without its script).
#pragma once

#include <cstddef>
#include <string>

#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "support/temp_folder.h"

namespace test_support {

// Writes each {name, XML text} pattern into `folder`, then a pattern list
// naming them all, and loads that list into the resource manager.
template <std::size_t N>
void LoadPatternFiles(const TempFolder& folder, const char* const (&patterns)[N][2]) {
    std::string list = "<registry>\n";
    for (const auto& pattern : patterns) {
        folder.WriteFile(std::string(pattern[0]) + ".xml", pattern[1]);
        list += "<p registry=\"" + std::string(pattern[0]) + "\" file=\"" + folder.Path() + "/" + pattern[0] +
                ".xml\"/>\n";
    }
    folder.WriteFile("list.xml", list + "</registry>\n");
    Module<ResourceManager>::Instance()->LoadObjectPatterns((folder.Path() + "/list.xml").c_str());
}

// The registry and patterns, the categories "all" and "level1", the object
// and Lua managers, then the level file. True when the level loaded.
inline bool LoadLevelOne() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    store.Init();
    store.LoadCategory("all");
    store.LoadCategory("level1");
    Module<ObjectManager>::Instance()->Init();
    Module<LuaManager>::Instance()->Init();
    return Singleton<Level>::Instance()->LoadLevel("./resource/levels/level1.xml");
}

}  // namespace test_support
