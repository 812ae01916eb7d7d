// GameLogic: start-up, the stack of game states, its messages and the frame's
// update. Loading is in game_logic/level_loader.cpp and the hand-over in
// game_logic/hand_over.cpp.
#include "game_logic.h"

#include <algorithm>

#include "event_manager.h"
#include "game_logic/addressees.h"
#include "game_logic/slide_shows.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/splash_state.h"
#include "game_states/state_factory.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "level.h"
#include "object_manager.h"
#include "platform/random.h"
#include "resource_manager.h"

namespace {

// Read from files, then made OpenGL data at once: the font, the interface
// pictures and the slides must be there before the first frame.
constexpr const char* kStartUpCategories[] = {GameLogic::kStartUpCategory, "splash"};
// The splash slides' pictures, uploaded before the shows are filled.
constexpr const char* kSplashPictures[] = {"tex_team", "tex_studio_logo", "tex_logo"};

}  // namespace

void GameLogic::Init() {
    ResetForStart();
    LoadStartUpCategories();
    PushState(SplashState());
    platform::SeedRandomOnce();
    Event noCredits(GetModuleName(), addressee::kGraphics, Graphics::kSet);
    noCredits.SetParam(Graphics::kParamRenderingCredits, false);
    Module<EventManager>::Instance()->PublishEvent(noCredits);
    RegisterEventClient();
    initialised = true;
    Module<InterfaceManager>::Instance()->LoadSettings();
    UploadSplashPictures();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    FillSlideShows(objects.splashScreen, objects.credits);
    StartLoaderThread();  // the first level loads while the slides play
}

void GameLogic::ResetForStart() {
    loadingDone = false;
    titleRequested = false;
    firstLoad = true;
    dashing = false;
    scriptPath = LevelOne::kScript;
    levelPath = LevelOne::kLevelFile;
    levelName = LevelOne::kCategory;
    previousLevelName = LevelOne::kCategory;
    ResetStatistics();
    endlessMode = false;
}

void GameLogic::LoadStartUpCategories() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    for (const char* category : kStartUpCategories) {
        store.LoadCategory(category);
        store.LoadContextCategory(category);
    }
}

// The "splash" category's context step has uploaded them already; only a
// picture still without an OpenGL name is uploaded here.
void GameLogic::UploadSplashPictures() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    for (const char* name : kSplashPictures) {
        const Handle handle = store.GetResourceHandle(name);
        if (handle.id.empty()) continue;  // reported by the store
        Texture* picture = store.get<Texture>(handle);
        if (picture && picture->texID == Texture::kNoTexture) store.InitGLTexture(*picture);
    }
}

void GameLogic::Update() {
    if (!initialised) return;
    retiredStates.clear();
    DispatchEvents();
    if (loadingDone && !states.empty()) states.back()->Update();
}

void GameLogic::Kill() {
    if (initialised) UnregisterEventClient();
    initialised = false;
    JoinLoader();
    loadInFlight = false;  // its "Level Loaded" went with the event client
    Singleton<Level>::Instance()->ReleaseLevelData();
    while (!states.empty()) {
        states.back()->Exit();
        states.pop_back();
    }
    retiredStates.clear();
}

void GameLogic::ProcessEvent(const Event& event) {
    const std::string& type = event.eventType;
    if (type == kLevelLoaded) HandLevelOver(event);
    if (type == kLoadLevelThread) StartLoaderThread();
    if (type == kPopState) {
        PopState();
    } else if (type == kPushState) {
        auto state = event.GetParam<GameStateName::Type>(kStateParam);
        if (auto prototype = MakeGameState(state)) PushState(*prototype);
    } else if (type == kChangeState) {
        // The endless-mode choice can only be pushed over the level it ends.
        auto state = event.GetParam<GameStateName::Type>(kStateParam);
        if (state != GameStateName::EndlessModeStart)
            if (auto prototype = MakeGameState(state)) ChangeState(*prototype);
    }
    if (type == kEnemyDeathEvent) CountCoveredDeath(event);
    if (!states.empty()) states.back()->HandleMessage(event);
}

void GameLogic::CountCoveredDeath(const Event& event) {
    // The in-game state on top passes the death on itself; only a covered
    // one (the pause menu opened in the frame of the kill) needs it from
    // here, or its wave would never end.
    if (states.empty() || dynamic_cast<IngameState*>(states.back().get())) return;
    for (auto state = states.rbegin(); state != states.rend(); ++state)
        if (auto* ingame = dynamic_cast<IngameState*>(state->get())) {
            ingame->CurrentLevel().HandleMessage(event);
            return;
        }
}

void GameLogic::PushState(const GameState& prototype) {
    if (!states.empty()) states.back()->Exit();
    states.emplace_back(prototype.Clone());
    InitTop();
}

void GameLogic::PopState() {
    if (states.empty()) return;
    RemoveTop();
    if (!states.empty()) InitTop();
}

void GameLogic::ChangeState(const GameState& prototype) {
    if (!states.empty()) RemoveTop();
    states.emplace_back(prototype.Clone());
    InitTop();
}

// A key pressed while the state below was shown, and never read there (an
// Escape tapped on an end screen), is no press for the new top.
void GameLogic::InitTop() {
    Module<InputManager>::Instance()->BeginScreen();
    states.back()->Init();
}

GameState* GameLogic::TopState() const { return states.empty() ? nullptr : states.back().get(); }

void GameLogic::RemoveTop() {
    states.back()->Exit();
    retiredStates.push_back(std::move(states.back()));
    states.pop_back();
}

uint32_t GameLogic::StoredAccuracy() const {
    if (shotsFired == 0) return 0;
    // In 64 bits: a hundred times 43 million hits no longer fits in 32.
    return uint32_t(std::min<uint64_t>(100u, uint64_t(shotsHit) * 100u / shotsFired));
}

void GameLogic::ResetStatistics() {
    enemiesKilled = shotsFired = shotsHit = damageShield = damageArmor = 0;
}
