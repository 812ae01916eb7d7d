#include "aistuff/state_heavy.h"

#include "aistuff/state_follow.h"

namespace {
const char* const HUNTED = "player";
}

StateHeavy::StateHeavy(const std::string& owner) {
    stateName = "heavy";
    ownerName = owner;
    finished = false;
}

void StateHeavy::Enter() { subMachine.Push(new StateFollow(ownerName, HUNTED)); }
