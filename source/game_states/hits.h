// The in-game frame's hit handling and the upkeep of shots and explosions:
// the work behind IngameState::HandleCollisions and UpdateProjectiles, as
// free functions over the object table so that they can be driven on their
// own.
//
// Main thread only. Both take the object lock themselves (the caller must not
// hold it); new explosions go to the BehaviorManager's queue, never straight
// into the table.
//
// Events sent by HandleContacts:
//   "State Change" ("state" InterfaceState::GameOver) to "InterfaceManager",
//     then "Player Death" to "GameLogic": after every hit that leaves the
//     player's hp at 0 or below, also on a player already dead;
//   "Enemy Death" ("numEnemies", the enemies left after this one) to
//     "InterfaceManager", then to "GameLogic", from "<enemy name>: IngameState".
#pragma once

#include <vector>

#include "collision_manager/records.h"

namespace hits {

// Gives each contact, in order, its game meaning: the player's foot on level
// geometry sets GameLogic's onGround; the player collects a pickup; shots and
// explosions hit level geometry or objects with stats, with their sounds,
// effects, hit flash, explosions and damage; the dead announce themselves and
// enemies may drop a pickup. Contacts naming an object no longer registered,
// or already dead, are passed over. enemiesLeft loses one per enemy death.
// The object lock is held for the walk and released only around a drop's
// registration; nothing looked up before that release is used after it.
void HandleContacts(const std::vector<CollisionEvent>& contacts, int& enemiesLeft);

// Under the object lock, for every live object in table order: the hit flash
// counts down; a shot less than half a unit above the terrain ends there with
// its ground effect (and its explosion, when it carries one); an explosion
// ends in its second sweep.
void SweepProjectiles();

}  // namespace hits
