// AnimationManager: a placeholder until its own issue builds the module.
// It will advance every skeleton by the frame time.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// skipped while paused.
#pragma once

#include "module.h"

class AnimationManager : public virtual Module<AnimationManager> {
public:
    AnimationManager() : Module<AnimationManager>("AnimationManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
