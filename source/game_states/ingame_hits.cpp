// PLACEHOLDER until the hits land: the in-game frame's collision handling and
// the upkeep of shots and explosions. Replaced as a whole by their own change.
#include "game_states/ingame_state.h"

void IngameState::HandleCollisions() {}
void IngameState::UpdateProjectiles() {}
void SpawnExplosion(float, int, const Vector&) {}
