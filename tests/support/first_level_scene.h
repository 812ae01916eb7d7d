// The first level on screen as the game flow's first load will bring it
// there (the game flow itself comes later): the registry and the start-up
// categories with their OpenGL side, the sky rebuilt now that the registry
// is read, the "all" and "level1" categories, the level file and its script
// (ground, objects, lights), then the OpenGL side of "all", the noise
// texture and the level's own category. Used by the renderer's tests and
// benchmark; needs the OpenGL context current on the calling thread.
#pragma once

#include <filesystem>

#include "graphics.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "system.h"

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

// For the benchmarks: the game's window of width x height (from the run
// folder, whatever folder the program started in), the first level and the
// renderer, with the camera at the player's start looking towards the
// basin's centre (half sky, half ground). False without a window or level.
inline bool OpenFirstLevelWindow(int width, int height) {
    std::filesystem::current_path(QUELL_RUN_DIR);
    System& system = *Module<System>::Instance();
    system.running.store(false);
    system.fullScreen = false;
    system.width = width;
    system.height = height;
    if (!system.InitGL() || !LoadFirstLevelScene()) return false;
    Module<Graphics>::Instance()->Init();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock;
    if (!objects.HasGameObject("player")) return false;
    objects.cameraObject.mode = 0;
    objects.cameraObject.target = objects.GetGameObject("player")->trans;
    objects.cameraObject.yaw = 3.14159265f;
    objects.cameraObject.pitch = 0.0f;
    return true;
}

}  // namespace test_support
