#include "physics/rigid_body.h"

#include <cmath>

void RigidBodyState::Integrate(float c, double dt) {
    const float step = static_cast<float>(dt);
    linearVel = linearVel + forceAccum * (invMass * step);
    const float damping = 1.0f - c * step;
    linearVel = linearVel * damping;
    angularVel = (angularVel + torqueAccum * step) * damping;
    position = position + linearVel * step;
    const Quaternion spin(0.0f, angularVel * (step / 2.0f));
    orientation = orientation + spin * orientation;
}

Quaternion UnitOrIdentity(const Quaternion& q) {
    const float length = q.Mag();
    if (!(length > 0.0f) || !std::isfinite(length)) return Quaternion(1.0f);
    return q * (1.0f / length);
}
