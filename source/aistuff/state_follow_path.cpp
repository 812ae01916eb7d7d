#include "aistuff/state_follow_path.h"

#include <utility>

#include "aistuff/state_goto.h"
#include "aistuff/state_owner.h"
#include "aistuff/steering.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"

StateFollowPath::StateFollowPath(const std::string& owner, std::vector<GraphNode> path, bool loop)
    : loop(loop), path(std::move(path)) {
    stateName = kStateName;
    ownerName = owner;
    finished = false;
}

void StateFollowPath::Enter() {
    if (!path.empty()) GoTo(path[0]);
}

void StateFollowPath::Update() {
    FSMState* current = subMachine.Top();
    if (!current) return;
    if (!current->finished) {
        current->Update();
        return;
    }
    ++index;
    if (index >= path.size()) {
        if (!loop) {
            StandAtEnd();
            return;
        }
        index = 0;
    }
    subMachine.Pop();
    GoTo(path[index]);
}

void StateFollowPath::GoTo(const GraphNode& node) {
    subMachine.Push(new StateGoto(ownerName, node.trans, node.radius));
}

void StateFollowPath::StandAtEnd() {
    finished = true;
    state_owner::SetAnimation(ownerName, 0);
    GameObject* owner = state_owner::Find(ownerName);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (!body) return;
    steering::StopWalking(*body);
    steering::Settle(*owner, *body, steering::kFallAtRest);
}
