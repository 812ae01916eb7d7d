// The game's start-up and shutdown, in their fixed orders, shared by main
// and the end-to-end tests that run the real game in their own process.
#include "main/start_up.h"

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/profile.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "spawn_manager.h"
#include "system.h"

namespace {

template <class T>
void InitModule() { Module<T>::Instance()->Init(); }

template <class T>
void KillModule() { Module<T>::Instance()->Kill(); }

void LogBuildAndProfile(System& system) {
    system.Log("_SECURE_SCL = 0\n");
    system.Log("_HAS_ITERATOR_DEBUGGING = 0\n");
    system.Log("profileDirectory = " + system.GetUserProfile() + "\n");
    system.Log("versionStr = " + System::GetVersionString() + "\n");
    system.Log("Not using release mode\n");
}

void InitEarlyModules() {
    InitModule<InputManager>();
    InitModule<ResourceManager>();  // registry, then object patterns
    InitModule<ObjectManager>();
    InitModule<CollisionManager>();
}

// The studio logo fills the window once while the slower modules start; the
// loading picture then takes the screen-image slot for the loading screens.
void ShowSplashFrame() {
    ResourceManager& resources = *Module<ResourceManager>::Instance();
    resources.LoadSplashTexture();
    resources.InitLoadingScreenTexture();
    Module<Graphics>::Instance()->DrawLoadingScreen();
    resources.LoadLoadingTexture();
}

void InitLateModules() {
    InitModule<LuaManager>();
    InitModule<SoundManager>();
    InitModule<InterfaceManager>();
    InitModule<GameLogic>();
    InitModule<BehaviorManager>();
    InitModule<AnimationManager>();
    InitModule<Physics>();
    InitModule<Graphics>();
    InitModule<SpawnManager>();
}

void KillModules() {
    KillModule<InputManager>();
    KillModule<SoundManager>();
    KillModule<ResourceManager>();
    KillModule<ObjectManager>();
    KillModule<CollisionManager>();
    KillModule<LuaManager>();
    KillModule<InterfaceManager>();
    KillModule<GameLogic>();
    KillModule<BehaviorManager>();
    KillModule<AnimationManager>();
    KillModule<Physics>();
    KillModule<Graphics>();
    KillModule<SpawnManager>();
    KillModule<System>();
    KillModule<EventManager>();
}

}  // namespace


bool StartGame() {
    System& system = *Module<System>::Instance();
    LogBuildAndProfile(system);
    system.Init();
    system.MakeDir(platform::kProfileFolderName);
    InitModule<EventManager>();
    if (!system.InitGL()) {
        system.Log("No window could be opened; exiting");
        KillModule<System>();
        return false;
    }
    InitEarlyModules();
    ShowSplashFrame();
    InitLateModules();
    StartWorkerThreads();
    return true;
}

void ShutDownGame() {
    System& system = *Module<System>::Instance();
    system.Log("frame loop over, shutting down");
    // The workers left after the last frame's barrier; nobody waits for them.
    JoinWorkerThreads();
    // A load still running when the window closed uses the resource and script
    // modules, which shut down before GameLogic: it is waited for first.
    Module<GameLogic>::Instance()->JoinLoader();
    KillModules();
    // The log is standard output, flushed line by line: the System's Kill
    // closes SDL, not the log, so this line is the run's last.
    system.Log("shutdown complete");
}
