// SoundManager: a placeholder until its own issue builds the module.
// It will play the samples and the music stream.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "module.h"

class SoundManager : public virtual Module<SoundManager> {
public:
    SoundManager() : Module<SoundManager>("SoundManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
