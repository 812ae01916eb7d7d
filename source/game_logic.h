// GameLogic: a placeholder until its own issue builds the module.
// It will run the stack of game states.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread.
#pragma once

#include "module.h"

class GameLogic : public virtual Module<GameLogic> {
public:
    GameLogic() : Module<GameLogic>("GameLogic") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}
};
