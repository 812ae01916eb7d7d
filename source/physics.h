// Physics: a placeholder until its own issue builds the module.
// It will integrate every body.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the physics thread,
// skipped while paused.
#pragma once

#include "module.h"

class Physics : public virtual Module<Physics> {
public:
    Physics() : Module<Physics>("Physics") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
