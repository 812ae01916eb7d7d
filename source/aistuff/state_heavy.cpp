#include "aistuff/state_heavy.h"

#include "aistuff/state_follow.h"
#include "aistuff/state_follow_path.h"
#include "aistuff/state_owner.h"
#include "behavior_manager.h"
#include "objects/behavior_comp.h"
#include "objects/game_object.h"

namespace {

bool IsA(const FSMState* state, const char* stateName) { return state && state->stateName == stateName; }

}  // namespace

StateHeavy::StateHeavy(const std::string& owner) {
    stateName = "heavy";
    ownerName = owner;
    finished = false;
}

void StateHeavy::Enter() { subMachine.Push(new StateFollow(ownerName, GameObject::kPlayerName)); }

void StateHeavy::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    const BehaviorComp* behavior = owner ? owner->GetBehaviorComp() : nullptr;
    if (!behavior) return;
    const FSMStateMachine& sm = behavior->sm;
    const FSMState* top = subMachine.Top();
    if (sm.hasLineOfSight) {
        if (!IsA(top, StateFollow::kStateName)) Follow();
    } else if (sm.pathPlanned) {
        // The flag comes while sm.path still leads to the player's old node;
        // the restart walks that path until the flag or the sight changes again.
        if (!IsA(top, StateFollowPath::kStateName) || Module<BehaviorManager>::Instance()->playerNodeChanged)
            FollowPath(sm.path);
    }
    if (FSMState* current = subMachine.Top()) current->Update();
}

void StateHeavy::Follow() {
    subMachine.Pop();
    subMachine.Push(new StateFollow(ownerName, GameObject::kPlayerName));
}

void StateHeavy::FollowPath(const std::vector<GraphNode>& planned) {
    subMachine.Pop();
    path = planned;
    subMachine.Push(new StateFollowPath(ownerName, path, false));
}
