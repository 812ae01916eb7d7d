#include "physics/forces.h"

#include <string>

#include "event_manager/event.h"
#include "physics.h"

void GravityForce::Apply(Physics& physics, double) {
    RigidBodyState* body = physics.FindBody(obj);
    if (body) body->forceAccum = body->forceAccum + dir * (g * body->mass);
}

void SpringForce::Apply(Physics& physics, double) {
    RigidBodyState* a = physics.FindBody(objA);
    RigidBodyState* b = physics.FindBody(objB);
    if (!a || !b) return;
    const Vector d = b->position - a->position;
    const Vector n = d.Norm();  // zero when the ends coincide: no push either way
    const float stretch = d.Mag() - L;
    a->forceAccum = a->forceAccum + n * (stretch * k);
    b->forceAccum = b->forceAccum + n * (stretch * -k);
}

void ForcePhysics::ProcessEvent(const Event& event) {
    if (event.eventType == kClearForces) {
        ClearForces();
        return;
    }
    if (event.eventType != kAddForce) return;
    const std::string type = event.GetParam<std::string>(kType);
    if (type == kSpringType) {
        forces.push_back(std::make_unique<SpringForce>(event.GetParam<unsigned>(kObjA), event.GetParam<unsigned>(kObjB),
                                                       event.GetParam<float>(kRestLength),
                                                       event.GetParam<float>(kStiffness)));
    } else if (type == kGravityType) {
        auto gravity = std::make_unique<GravityForce>();
        gravity->obj = event.GetParam<unsigned>(kObj);
        if (event.Has(kG)) gravity->g = event.GetParam<float>(kG);
        if (event.Has(kDir)) gravity->dir = event.GetParam<Vector>(kDir);
        forces.push_back(std::move(gravity));
    }
}

void ForcePhysics::ApplyForces(Physics& physics, double time) {
    for (const std::unique_ptr<Force>& force : forces) force->Apply(physics, time);
}
