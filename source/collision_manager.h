// CollisionManager: a placeholder until its own issue builds the module.
// It will run the broad and narrow collision phases.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the collision thread.
#pragma once

#include "module.h"

class CollisionManager : public virtual Module<CollisionManager> {
public:
    CollisionManager() : Module<CollisionManager>("CollisionManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
