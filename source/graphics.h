// Graphics: a placeholder until its own issue builds the module.
// It will draw each frame and swap the buffers.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// also while paused.
#pragma once

#include "module.h"

class Graphics : public virtual Module<Graphics> {
public:
    Graphics() : Module<Graphics>("Graphics") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
