#include "aistuff/state_follow.h"

#include "aistuff/state_owner.h"

StateFollow::StateFollow(const std::string& owner, const std::string& target) : targetName(target) {
    stateName = "follow";
    ownerName = owner;
    finished = false;
}

void StateFollow::Enter() { state_owner::SetAnimation(ownerName, 1); }

void StateFollow::Exit() { state_owner::StopMoving(ownerName); }
