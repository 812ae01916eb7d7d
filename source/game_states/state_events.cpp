#include "game_states/state_events.h"

#include "object_manager.h"
#include "system.h"

namespace state_events {

void LeaveForTitle(const std::string& from) {
    PopState(from);
    PopState(from);
    Module<GameLogic>::Instance()->titleRequested = true;
}

void WinTheRun(const std::string& from, int pops) {
    Module<System>::Instance()->Log("player won");
    for (int i = 0; i < pops; ++i) PopState(from);
    for (GameStateName::Type state : {GameStateName::Credits, GameStateName::Score, GameStateName::Win})
        PushState(from, state);
}

void RebuildInstanceBuffersIfInstanced() {
    if (!Module<System>::Instance()->shaderModel4) return;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    objects.RebuildObjectInstanceBuffers();
}

}  // namespace state_events
