#include "aistuff/state_heavy.h"

#include "aistuff/state_follow.h"
#include "objects/game_object.h"

StateHeavy::StateHeavy(const std::string& owner) {
    stateName = "heavy";
    ownerName = owner;
    finished = false;
}

void StateHeavy::Enter() { subMachine.Push(new StateFollow(ownerName, GameObject::kPlayerName)); }
