// SpawnManager: a placeholder until its own issue builds the module.
// It will bring the enemy waves in at the spawn points.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// skipped while paused.
#pragma once

#include "module.h"

class SpawnManager : public virtual Module<SpawnManager> {
public:
    SpawnManager() : Module<SpawnManager>("SpawnManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
