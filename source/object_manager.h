// ObjectManager: a placeholder until its own issue builds the module.
// It will own every live game object and the scene members.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "module.h"

class ObjectManager : public virtual Module<ObjectManager> {
public:
    ObjectManager() : Module<ObjectManager>("ObjectManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
