// PhysicsComp: an object's rigid body, integrated by the physics thread.
// A plain value under the object lock like every component (component.h).
#pragma once

#include "geom/geom.h"
#include "objects/component.h"

class PhysicsComp : public PooledComponent<PhysicsComp, CompIndex::Physics> {
public:
    Vector angularVel;
    Vector linearVel;
    Vector forceAccum;
    Vector torqueAccum;
    float mass = 1.0f;
    Matrix inertialTensor;  // identity
    bool infMass = false;   // the body does not move when pushed
};
