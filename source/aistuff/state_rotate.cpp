#include "aistuff/state_rotate.h"

#include "aistuff/state_owner.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"

StateRotate::StateRotate(const std::string& owner, double rate) : rate(rate) {
    stateName = "rotate";
    ownerName = owner;
    finished = false;
}

void StateRotate::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (body) body->angularVel = Vector(0.0f, float(rate), 0.0f, 0.0f);
}

void StateRotate::Exit() { state_owner::StopAll(ownerName); }
