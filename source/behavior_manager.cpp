// BehaviorManager: the module, the frame's order of work, the walk over the
// behaviour states and the registration of queued objects. The planning turn
// and line of sight are in behavior_manager/planning.cpp.
#include "behavior_manager.h"

#include <exception>
#include <utility>

#include "collision_manager.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/behavior_comp.h"
#include "system.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

}  // namespace

BehaviorManager::BehaviorManager() : Module<BehaviorManager>("BehaviorManager") {}

void BehaviorManager::Init() {
    RegisterEventClient();
    planningEnabled = true;
    currentEnemy = 0;
    initialised = true;
}

void BehaviorManager::Kill() {
    if (initialised) UnregisterEventClient();
    initialised = false;
}

void BehaviorManager::Update() {
    if (!initialised) return;
    // The collision manager's lock is never taken inside the object lock:
    // the sight hits are read before it and the next ray is set after it.
    const SightHits hits = ReadSightHits();
    SightRequest request;
    {
        ObjectLock lock;
        // The planning turn sees the player's node of the previous frame.
        if (planningEnabled) request = PlanningStep(hits);
        TrackPlayerNode();
    }
    SetSightRay(request);
    DispatchEvents();
    StepStates();
    RegisterPendingObjects();
}

void BehaviorManager::QueueGameObject(GameObject object) { pendingObjects.push_back(object); }

void BehaviorManager::ClearPendingObjects() { pendingObjects.clear(); }

void BehaviorManager::ReplaceNavGraph(NavGraph& graph) {
    ObjectLock lock;
    std::swap(navGraph, graph);
}

void BehaviorManager::TrackPlayerNode() {
    if (!Objects().HasGameObject(kPlayerName)) return;
    const int node = navGraph.GetNearestNode(Objects().GetGameObject(kPlayerName)->trans);
    playerNodeChanged = node != playerNode;
    playerNode = node;
}

BehaviorManager::SightHits BehaviorManager::ReadSightHits() const {
    SightHits hits;
    hits.records = Module<CollisionManager>::Instance()->GetSightRecords(&hits.sequence);
    return hits;
}

void BehaviorManager::SetSightRay(const SightRequest& request) {
    if (!request.wanted) return;
    SightAim aim;
    aim.sequence = Module<CollisionManager>::Instance()->SetSightRay(request.ray);
    aim.enemy = request.enemy;
    aim.ray = request.ray;
    sightAims.push_back(aim);
    if (sightAims.size() > kMaxSightAims) sightAims.pop_front();
}

// --- The walk over the states

void BehaviorManager::StepStates() {
    ObjectLock lock;
    for (auto& entry : Objects().gameObjectList) {
        GameObject& object = entry.second;
        BehaviorComp* behavior = object.GetBehaviorComp();
        if (behavior && !object.isDead) StepTopState(object, behavior->sm);
    }
}

void BehaviorManager::StepTopState(GameObject& object, FSMStateMachine& sm) {
    // One faulty state must not cost every other object its frame, nor the
    // queued objects their registration.
    try {
        FSMState* top = sm.Top();
        if (!top) return;
        if (top->finished)
            sm.Pop();
        else
            top->Update();
    } catch (const std::exception& error) {
        ReportFailedState(object, error.what());
    } catch (...) {
        ReportFailedState(object, "unknown exception");
    }
}

void BehaviorManager::ReportFailedState(const GameObject& object, const std::string& why) {
    // Once per object: a state that fails every frame must not flood the log.
    if (!reportedStateFailures.insert(object.name).second) return;
    Module<System>::Instance()->Warning(SOURCE_POS + "behaviour state of " + object.name +
                                        " failed and was skipped: " + why + "\n");
}

void BehaviorManager::RegisterPendingObjects() {
    // Last queued first. Each object leaves the queue before it is added, so
    // one that AddGameObject refuses (or that throws) is not retried forever.
    while (!pendingObjects.empty()) {
        GameObject object(pendingObjects.back());
        pendingObjects.pop_back();
        Objects().AddGameObject(object);
    }
}
