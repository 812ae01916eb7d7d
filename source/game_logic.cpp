// GameLogic: the stack of game states, its messages and the frame's update.
#include "game_logic.h"

#include <algorithm>

#include "event_manager.h"
#include "game_states/state_factory.h"
#include "interface_manager.h"
#include "level.h"
#include "platform/random.h"

void GameLogic::Init() {
    loadingDone = false;
    titleRequested = false;
    firstLoad = true;
    scriptPath = "./scripts/load_level_1.lua";
    levelPath = "./resource/levels/level1.xml";
    levelName = "level1";
    previousLevelName = "level1";
    ResetStatistics();
    endlessMode = false;
    platform::SeedRandomOnce();
    RegisterEventClient();
    Module<InterfaceManager>::Instance()->LoadSettings();
}

void GameLogic::Update() {
    retiredStates.clear();
    DispatchEvents();
    if (loadingDone && !states.empty()) states.back()->Update();
}

void GameLogic::Kill() {
    UnregisterEventClient();
    Module<Level>::Instance()->ReleaseLevelData();
    while (!states.empty()) {
        states.back()->Exit();
        states.pop_back();
    }
    retiredStates.clear();
}

void GameLogic::ProcessEvent(const Event& event) {
    const std::string& type = event.eventType;
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
    if (!states.empty()) states.back()->HandleMessage(event);
}

void GameLogic::PushState(const GameState& prototype) {
    if (!states.empty()) states.back()->Exit();
    states.emplace_back(prototype.Clone());
    states.back()->Init();
}

void GameLogic::PopState() {
    if (states.empty()) return;
    RemoveTop();
    if (!states.empty()) states.back()->Init();
}

void GameLogic::ChangeState(const GameState& prototype) {
    if (!states.empty()) RemoveTop();
    states.emplace_back(prototype.Clone());
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
    return std::min<uint32_t>(100u, shotsHit * 100u / shotsFired);
}

void GameLogic::ResetStatistics() {
    enemiesKilled = shotsFired = shotsHit = damageShield = damageArmor = 0;
}
