#include "aistuff/state_goto.h"

#include "aistuff/state_owner.h"
#include "aistuff/steering.h"
#include "objects/collision_comp.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"

namespace {

float OwnerRadius(const std::string& name) {
    const GameObject* owner = state_owner::Find(name);
    const CollisionComp* shape = owner ? owner->GetCollisionComp() : nullptr;
    return shape ? shape->boundSphere.radius : 0.0f;
}

}  // namespace

StateGoto::StateGoto(const std::string& owner, const Vector& target, float radius) : target(target) {
    stateName = kStateName;
    ownerName = owner;
    finished = false;
    const float reach = OwnerRadius(owner) + radius;
    arriveRadiusSq = reach * reach;
}

void StateGoto::Enter() { state_owner::SetAnimation(ownerName, 1); }

void StateGoto::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (!body) return;
    steering::SteerToward(*owner, *body, target, {sideThreshold, turnRate, moveThreshold, speed});
    const float dx = target.x - owner->trans.x;
    const float dz = target.z - owner->trans.z;
    if (dx * dx + dz * dz < arriveRadiusSq) finished = true;
    steering::Settle(*owner, *body, steering::kFall);
}

void StateGoto::Exit() { state_owner::StopMoving(ownerName); }
