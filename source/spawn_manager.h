// SpawnManager: keeps the names of the spawn-point objects, in registration
// order. A spawn point is an ordinary game object with a SpawnComp; its
// countdown and queue live in that component. The object factory registers a
// spawn point each time it stamps a spawn section.
//
// Built so far: the list and AddSpawnPoint. Releasing queued objects (Update)
// and the "Add Object" / "Distribute Objects" events are still to come; until
// then Init, Update and Kill do nothing, so no event queue is opened that
// nobody would empty.
//
// Threads: AddSpawnPoint is called while objects are stamped: on the main
// thread, or on the level loader's thread with the object lock held. The list
// is guarded by the object lock like the objects it names; entries are only
// appended, never removed (not on a level change either).
#pragma once

#include <string>
#include <vector>

#include "module.h"

class SpawnManager : public virtual Module<SpawnManager> {
public:
    SpawnManager() : Module<SpawnManager>("SpawnManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // Appends name to spawnPoints; no test for duplicates or for the object.
    void AddSpawnPoint(const std::string& name) { spawnPoints.push_back(name); }

    std::vector<std::string> spawnPoints;  // object names; a name may stand twice
};
