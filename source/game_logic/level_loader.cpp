// Level loading: the loader thread's life (started on "Load Level Thread",
// joined before the next one and at shutdown) and its work, which reads the
// level and publishes "Level Loaded". The main thread's half is hand_over.cpp.
#include <system_error>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/player_fit_out.h"
#include "level.h"
#include "lua_manager.h"
#include "resource_manager.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

// The one error a load that makes no playable level logs, naming the file.
void ReportUnplayable(const std::string& file, const std::string& what) {
    Sys().Error(SOURCE_POS + "Level load of " + file + " failed: " + what + "; the level cannot be played");
}

}  // namespace

void LoadLevelThreadMain() {
    try {
        Sys().Log("loading the level");
        Module<GameLogic>::Instance()->LoadLevel();
    } catch (const std::exception& error) {
        // LoadLevel reports its own failures; only its last word can land here.
        Sys().Error(SOURCE_POS + "The level loader stopped: " + error.what());
    }
}

void GameLogic::StartLoaderThread() {
    if (loadInFlight.exchange(true)) {
        Sys().Warning(SOURCE_POS + "\"" + kLoadLevelThread +
                      "\" while a level load is in flight is refused\n");
        return;
    }
    JoinLoader();  // the previous load's thread has finished by its hand-over
    // No state may run the half-loaded level, whoever asked for the load.
    loadingDone = false;
    try {
        loaderThread = std::thread(LoadLevelThreadMain);
    } catch (const std::system_error& error) {
        Sys().Error(SOURCE_POS + "No loader thread could be started (" + error.what() +
                    "); the level loads on the main thread");
        LoadLevelThreadMain();
    }
}

void GameLogic::JoinLoader() {
    if (loaderThread.joinable()) loaderThread.join();
}

void GameLogic::LoadLevel() {
    Sys().Log("Starting LoadLevel()");
    bool valid = false;
    try {
        valid = ReadLevel();
    } catch (const std::exception& error) {
        ReportUnplayable(levelPath, std::string("an exception was thrown: ") + error.what());
    } catch (...) {
        ReportUnplayable(levelPath, "an unknown exception was thrown");
    }
    PublishLevelLoaded(valid);
}

bool GameLogic::ReadLevel() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    if (levelName != previousLevelName) store.LoadCategory(levelName);
    playerDied = false;
    levelComplete = false;
    endlessMode = false;
    if (firstLoad) {
        store.LoadCategory(kCommonCategory);
        store.LoadCategory(levelName);
    }
    if (!Singleton<Level>::Instance()->LoadLevel(levelPath)) {
        // A script meant for a level that is not there is not run.
        ReportUnplayable(levelPath, "it could not be read as a level");
        return false;
    }
    Module<LuaManager>::Instance()->DoFile(scriptPath);
    Sys().Log("level Loaded");
    std::string missing;
    if (FitOutPlayer(*this, missing)) return true;
    ReportUnplayable(scriptPath, missing + " after the level script");
    return false;
}

void GameLogic::PublishLevelLoaded(bool valid) {
    Event loaded(GetModuleName(), GetModuleName(), kLevelLoaded);
    if (firstLoad.exchange(false)) loaded.SetParam(kFirstLoadParam, true);
    loaded.SetParam(kValidParam, valid);
    Module<EventManager>::Instance()->PublishEvent(loaded);
}
