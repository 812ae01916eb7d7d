#include "game_states/state_events.h"

#include "object_manager.h"
#include "system.h"

namespace state_events {

void RebuildInstanceBuffersIfInstanced() {
    if (!Module<System>::Instance()->shaderModel4) return;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    objects.RebuildObjectInstanceBuffers();
}

}  // namespace state_events
