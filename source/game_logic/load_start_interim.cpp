// INTERIM, not for main: the shared load start until GameLogic's own lands.
#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_states/state_events.h"
#include "object_manager.h"
#include "physics/forces.h"
#include "spawn_manager.h"

void GameLogic::StartLevelLoad() {
    Module<EventManager>::Instance()->PublishEvent(Event("GameLogic", "Physics", ForcePhysics::kClearForces));
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    {
        ObjectLock lock(objects);
        objects.ClearGameObjects();
    }
    objects.particleSystemController.Clear();
    Module<BehaviorManager>::Instance()->ClearPendingObjects();
    Module<SpawnManager>::Instance()->ClearSpawnPoints();
    state_events::PushState("GameLogic:IngameState", GameStateName::CutScene);
    Module<EventManager>::Instance()->PublishEvent(Event("GameLogic:IngameState", "GameLogic", kLoadLevelThread));
}
