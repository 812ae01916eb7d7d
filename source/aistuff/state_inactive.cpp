#include "aistuff/state_inactive.h"

#include "aistuff/state_owner.h"
#include "objects/behavior_comp.h"
#include "objects/game_object.h"

StateInactive::StateInactive(const std::string& owner, const std::string& target, float range)
    : rangeSq(range * range), targetName(target) {
    stateName = "inactive";
    ownerName = owner;
    finished = false;
}

void StateInactive::Enter() { state_owner::SetAnimation(ownerName, 0); }

void StateInactive::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    if (!owner) return;
    if (GameObject* target = state_owner::Find(targetName)) {
        Vector d = target->trans - owner->trans;
        if (d * d < rangeSq) finished = true;
    }
    BehaviorComp* behavior = owner->GetBehaviorComp();
    if (behavior && behavior->sm.hasLineOfSight) finished = true;
}
