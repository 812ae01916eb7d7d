// The main thread's half of a level load: the start that empties the level
// being left, and the "Level Loaded" hand-over that makes the OpenGL data of
// what the loader read and frees the categories of levels no longer played.
#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "graphics.h"
#include "object_manager.h"
#include "physics/forces.h"
#include "resource_manager.h"
#include "spawn_manager.h"

namespace {

constexpr unsigned kNoiseSide = 128;
constexpr unsigned kNoiseBytesPerPixel = 4;

System& Sys() { return *Module<System>::Instance(); }
ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

void Publish(Event event) { Module<EventManager>::Instance()->PublishEvent(std::move(event)); }

// The noise texture the renderer's passes sample, made once per run. The
// stored copy owns its pixels.
void BuildNoiseTexture() {
    ResourceManager& store = Store();
    Texture noise(kNoiseSide, kNoiseSide, kNoiseBytesPerPixel);
    store.BuildNoiseTexture(noise);
    const Handle handle(Graphics::kNoiseTexture);
    // The registry entry without a file normally holds its place already.
    if (store.IsStored(handle.id)) {
        store.FreeContextData(handle.id);
        store.set<Texture>(handle, noise);
    } else {
        store.add<Texture>(handle.id, noise);
    }
    if (Texture* stored = store.get<Texture>(handle)) store.InitGLTexture(*stored);
}

void FreeCategory(const std::string& category) {
    Store().UnloadContextCategory(category);
    Store().DeleteCategory(category);
}

}  // namespace

void GameLogic::HandLevelOver(const Event& event) {
    if (!loadInFlight) {
        Sys().Warning(SOURCE_POS + "\"" + kLevelLoaded + "\" with no level load in flight is ignored\n");
        return;
    }
    const bool valid = !event.Has(kValidParam) || event.GetParam<bool>(kValidParam);
    JoinLoader();  // the thread that sent the event has nothing left to do
    ResourceManager& store = Store();
    if (event.Has(kFirstLoadParam)) {
        store.LoadContextCategory(kCommonCategory);
        BuildNoiseTexture();
    } else {
        store.BuildContextCategory(kCommonCategory);
        store.BuildContextCategory(kStartUpCategory);
    }
    store.LoadContextCategory(levelName);
    FreeReplacedCategories();
    loadedCategory = levelName;
    levelValid = valid;
    loadInFlight = false;
    loadingDone = true;
}

void GameLogic::FreeReplacedCategories() {
    std::string freed;
    if (levelName != previousLevelName) {
        Sys().Log("deleting previous category");
        FreeCategory(previousLevelName);
        freed = previousLevelName;
    }
    if (!loadedCategory.empty() && loadedCategory != levelName && loadedCategory != freed) {
        Sys().Log("deleting the category of an earlier level, " + loadedCategory);
        FreeCategory(loadedCategory);
    }
}

void GameLogic::StartLevelLoad(bool underCutScene) {
    Publish(Event(GetModuleName(), addressee::kPhysics, ForcePhysics::kClearForces));
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    {
        ObjectLock lock(objects);
        objects.ClearGameObjects();
    }
    objects.particleSystemController.Clear();
    Module<BehaviorManager>::Instance()->ClearPendingObjects();
    Module<SpawnManager>::Instance()->ClearSpawnPoints();
    if (underCutScene) {
        Event push(IngameState::kLoadSender, GetModuleName(), kPushState);
        push.SetParam(kStateParam, GameStateName::CutScene);
        Publish(push);
    }
    Publish(Event(IngameState::kLoadSender, GetModuleName(), kLoadLevelThread));
}
