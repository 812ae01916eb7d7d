// PLACEHOLDER until the waves land: the level states' per-frame goals and
// enemy waves. Replaced as a whole by their own change.
#include "game_states/level_states.h"

void LevelOne::Update() {}
void LevelTwo::Update() {}
void LevelThree::Update() {}
void LevelThree::UpdateScripted() {}
void LevelThree::UpdateEndless() {}
void LevelThree::SpawnMediumMechs(int, bool) {}
void LevelThree::SpawnHeavyMechs(int, bool) {}
void LevelThree::SendWaveCount(int, int) {}
void LevelThree::ClearEnemies() {}
