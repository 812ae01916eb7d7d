// The first level on screen as the game brings it there: the registry and
// the start-up categories with their OpenGL side, the sky rebuilt now that
// the registry is read, then the game flow's real first load, its loader
// thread reading "all", "level1", the level file and its script (ground,
// objects, lights, the fitted-out player), and its hand-over on the calling
// thread (the OpenGL side of "all", the noise texture and the level's own
// category). Used by the renderer's tests and benchmarks; needs the OpenGL
// context current on the calling thread.
#pragma once

#include <chrono>
#include <filesystem>
#include <thread>

#include "event_manager.h"
#include "game_logic.h"
#include "graphics.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "system.h"

namespace test_support {

// Starts a load of GameLogic's current level fields as "Load Level Thread"
// does and hands "Level Loaded" over on this thread, as the game's frames
// would, waiting at most a minute. True when it was handed over and made a
// playable level. GameLogic need not be initialised.
inline bool RunLevelLoad() {
    GameLogic& game = *Module<GameLogic>::Instance();
    game.ProcessEvent(Event("test", game.GetModuleName(), GameLogic::kLoadLevelThread));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!game.loadingDone && std::chrono::steady_clock::now() < deadline) {
        game.DispatchEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return game.loadingDone && game.levelValid;
}

// The first load after start: level 1, "firstLoad" set.
inline bool RunFirstLevelLoad() {
    GameLogic& game = *Module<GameLogic>::Instance();
    game.firstLoad = true;
    game.scriptPath = "./scripts/load_level_1.lua";
    game.levelPath = "./resource/levels/level1.xml";
    game.levelName = game.previousLevelName = "level1";
    return RunLevelLoad();
}

// True when the level loaded and its player could be fitted out.
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
    Module<LuaManager>::Instance()->Init();
    return RunFirstLevelLoad();
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
    objects.cameraObject.yaw = 0.0f;
    objects.cameraObject.pitch = 0.0f;
    return true;
}

}  // namespace test_support
