#include "aistuff/state_follow.h"

#include "aistuff/state_owner.h"
#include "aistuff/steering.h"
#include "geom/geom.h"
#include "objects/collision_comp.h"
#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"
#include "weapons.h"

namespace {

// How far ahead of the target the shots aim: (R + 1) times these shares of
// its velocity, R a fresh random number in [0, 1] for each coordinate.
constexpr float kLeadAcross = 0.3f;
constexpr float kLeadUp = 0.1f;

float Lead(float share, float velocity) { return (RandFloat() + 1.0f) * share * velocity; }

// The target's point led by its velocity, drawn x, then y, then z so that a
// seeded game fires the same shots every run.
Vector LeadPoint(const Vector& point, const Vector& velocity, float w) {
    const float x = point.x + Lead(kLeadAcross, velocity.x);
    const float y = point.y + Lead(kLeadUp, velocity.y);
    const float z = point.z + Lead(kLeadAcross, velocity.z);
    return Vector(x, y, z, w);
}

// The primary weapon aims at the target's point, the secondary at its feet.
void FireAt(const GameObject& owner, const GameObject& target) {
    const WeaponComp* weapons = owner.GetWeaponComp();
    if (!weapons) return;
    const PhysicsComp* targetBody = target.GetPhysicsComp();
    const CollisionComp* targetShape = target.GetCollisionComp();
    const Vector velocity = targetBody ? targetBody->linearVel : Vector(0, 0, 0, 0);
    const float radius = targetShape ? targetShape->boundSphere.radius : 0.0f;
    const Vector& point = target.trans;
    if (weapons->primary) weapons->primary->Fire(LeadPoint(point, velocity, point.w));
    if (weapons->secondary) {
        const Vector feet(point.x, point.y - radius, point.z, 0.0f);
        weapons->secondary->Fire(LeadPoint(feet, velocity, 0.0f));
    }
}

}  // namespace

StateFollow::StateFollow(const std::string& owner, const std::string& target) : targetName(target) {
    stateName = kStateName;
    ownerName = owner;
    finished = false;
}

void StateFollow::Enter() { state_owner::SetAnimation(ownerName, 1); }

void StateFollow::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (!body) return;
    if (const GameObject* target = state_owner::Find(targetName)) {
        const bool walking =
            steering::SteerToward(*owner, *body, target->trans, {sideThreshold, turnRate, moveThreshold, speed});
        // Enemies fire only while they close in.
        if (walking) FireAt(*owner, *target);
    } else {
        state_owner::StopMoving(ownerName);
    }
    steering::Settle(*owner, *body, steering::kFall);
}

void StateFollow::Exit() { state_owner::StopMoving(ownerName); }
