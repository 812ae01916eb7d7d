// The level states' set-up and bookkeeping: which files each level loads,
// the wave counts they start from and reset to, and the enemy deaths they
// count. Their per-frame goals and waves live in level_waves.cpp.
#include "game_states/level_states.h"

#include "event_manager/event.h"
#include "game_logic.h"

namespace {

void SetFiles(LevelState& level, const char* script, const char* file, const char* category) {
    level.scriptPath = script;
    level.levelPath = file;
    level.levelName = category;
}

void ClearWaves(LevelState& level) {
    level.liveEnemies = 0;
    level.waveNumber = 0;
    Module<GameLogic>::Instance()->waveNumber = 0;
}

bool IsEnemyDeath(const Event& event) { return event.eventType == kEnemyDeathEvent; }

}  // namespace

LevelOne::LevelOne() {
    SetFiles(*this, kScript, kLevelFile, kCategory);
    ClearWaves(*this);
}

void LevelOne::Init() {}
void LevelOne::Exit() {}

void LevelOne::HandleMessage(const Event& event) {
    if (IsEnemyDeath(event)) --liveEnemies;
}

GameState* LevelOne::Clone() const { return new LevelOne(*this); }

void LevelOne::Reset() {
    liveEnemies = 0;
    waveNumber = 0;
}

LevelTwo::LevelTwo() { SetFiles(*this, kScript, kLevelFile, kCategory); }

void LevelTwo::Init() {}
void LevelTwo::Exit() {}
GameState* LevelTwo::Clone() const { return new LevelTwo(*this); }
void LevelTwo::Reset() {}

LevelThree::LevelThree() {
    SetFiles(*this, kScript, kLevelFile, kCategory);
    ClearWaves(*this);
}

void LevelThree::Init() {}

void LevelThree::Exit() { Module<GameLogic>::Instance()->endlessMode = false; }

void LevelThree::HandleMessage(const Event& event) {
    if (IsEnemyDeath(event)) --liveEnemies;
}

GameState* LevelThree::Clone() const { return new LevelThree(*this); }

void LevelThree::Reset() {
    liveEnemies = 0;
    waveNumber = 0;
    wavesStarted = false;
}
