// The first level on screen as the game flow's first load will bring it
// there (the game flow itself comes later): the registry and the start-up
// categories with their OpenGL side, the sky rebuilt now that the registry
// is read, the "all" and "level1" categories, the level file and its script
// (ground, objects, lights), then the OpenGL side of "all", the noise
// texture and the level's own category. Used by the renderer's tests and
// benchmark; needs the OpenGL context current on the calling thread.
#pragma once

#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "resource_manager.h"

namespace test_support {

// True when the level file loaded.
inline bool LoadFirstLevelScene() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    store.Init();
    objects.Init();
    objects.skyBox = SkyBox();
    for (const char* category : {"all_first", "splash"}) {
        store.LoadCategory(category);
        store.LoadContextCategory(category);
    }
    // The loader thread's part.
    store.LoadCategory("all");
    store.LoadCategory("level1");
    const bool loaded = Singleton<Level>::Instance()->LoadLevel("./resource/levels/level1.xml");
    Module<LuaManager>::Instance()->Init();
    Module<LuaManager>::Instance()->DoFile("./scripts/load_level_1.lua");
    // The main thread's part, on "Level Loaded" with "firstLoad".
    store.LoadContextCategory("all");
    Texture noise(128, 128, 4);
    store.BuildNoiseTexture(noise);
    store.set<Texture>(Handle("tex_noise"), noise);
    if (Texture* stored = store.get<Texture>(Handle("tex_noise"))) store.InitGLTexture(*stored);
    store.LoadContextCategory("level1");
    return loaded;
}

}  // namespace test_support
