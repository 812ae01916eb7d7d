// BehaviorManager: a placeholder until its own issue builds the module.
// It will step the behaviour state machines.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// skipped while paused.
#pragma once

#include "module.h"

class BehaviorManager : public virtual Module<BehaviorManager> {
public:
    BehaviorManager() : Module<BehaviorManager>("BehaviorManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
