#include "aistuff/steering.h"

#include "geom/geom.h"
#include "object_manager.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"
#include "system.h"

namespace steering {

namespace {

float TurnRate(float side, float ahead, const SteeringRule& rule) {
    if (side > rule.sideThreshold) return rule.turnRate;
    if (side < -rule.sideThreshold) return -rule.turnRate;
    // Straight ahead needs no turn; straight behind turns one way at full rate.
    return ahead > 0.0f ? 0.0f : -rule.turnRate;
}

}  // namespace

bool SteerToward(const GameObject& owner, PhysicsComp& body, const Vector& point, const SteeringRule& rule) {
    const Vector toPoint = point - owner.trans;
    // Norm leaves a zero vector zero, so a point at the owner's feet gives
    // side 0 and ahead 0 rather than not-a-number.
    const Vector level = Vector(toPoint.x, 0.0f, toPoint.z, 0.0f).Norm();
    const Vector forward = owner.rot.Rotate(Vector(0.0f, 0.0f, 1.0f, 0.0f));
    const float ahead = forward.Norm() * toPoint;
    const Vector right = Vector(forward.z, 0.0f, -forward.x, 0.0f).Norm();
    const float side = right * level;

    body.angularVel.y = TurnRate(side, ahead, rule);
    const bool walking = -rule.moveThreshold < side && side < rule.moveThreshold && ahead > 0.0f;
    if (walking) {
        body.linearVel.x = rule.speed * forward.x;
        body.linearVel.z = rule.speed * forward.z;
    } else {
        StopWalking(body);
    }
    return walking;
}

void Settle(GameObject& owner, PhysicsComp& body, float fallPerSecond) {
    Module<ObjectManager>::Instance()->groundObject.KeepAboveGround(owner.trans, body.linearVel, owner.offset);
    body.linearVel.y -= float(Module<System>::Instance()->frameTime.load()) * fallPerSecond;
}

void StopWalking(PhysicsComp& body) {
    body.linearVel.x = 0.0f;
    body.linearVel.z = 0.0f;
    body.linearVel.w = 0.0f;
}

}  // namespace steering
