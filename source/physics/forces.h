// ForcePhysics: the standing forces of the physics module, gravity on one
// body and springs between two, added by "AddForce" events and kept until
// "ClearForces". Every pass, after the contacts and before integration, each
// force adds to the forceAccum of the bodies it names; a force whose bodies
// are missing adds nothing and stays.
//
// Threads: the physics thread (events arrive inside Physics::Update), and
// Physics::Kill at shutdown. No lock.
#pragma once

#include <memory>
#include <vector>

#include "geom/geom.h"
#include "module.h"

class Event;
class Physics;

class Force {
public:
    virtual ~Force() = default;
    // Adds this force to the bodies it names. Neither kind uses the time.
    virtual void Apply(Physics& physics, double time) = 0;
};

// g times the body's mass along dir.
class GravityForce : public Force {
public:
    GravityForce(float g = 9.8f, const Vector& dir = Vector(0.0f, -1.0f, 0.0f, 0.0f)) : g(g), dir(dir) {}
    void Apply(Physics& physics, double time) override;

    unsigned obj = 0;
    float g;
    Vector dir;
};

// Pulls its ends together when longer than L and apart when shorter, with
// stiffness k; no damping. Ends at one point have no direction and feel
// nothing.
class SpringForce : public Force {
public:
    SpringForce(unsigned objA, unsigned objB, float L, float k) : objA(objA), objB(objB), L(L), k(k) {}
    void Apply(Physics& physics, double time) override;

    unsigned objA;
    unsigned objB;
    float L;
    float k;
};

class ForcePhysics : public Extension<Physics> {
public:
    static constexpr const char* kAddForce = "AddForce";
    static constexpr const char* kClearForces = "ClearForces";
    static constexpr const char* kType = "type";
    static constexpr const char* kGravityType = "GravityForce";
    static constexpr const char* kSpringType = "SpringForce";
    static constexpr const char* kObj = "obj";
    static constexpr const char* kG = "g";
    static constexpr const char* kDir = "dir";
    static constexpr const char* kObjA = "objA";
    static constexpr const char* kObjB = "objB";
    static constexpr const char* kRestLength = "L";
    static constexpr const char* kStiffness = "k";

    // "AddForce" appends the force its "type" names ("GravityForce" or
    // "SpringForce"; any other adds nothing); "ClearForces" drops them all.
    // A missing or mistyped parameter throws the event's error before
    // anything is added; the caller's dispatch logs and drops the event.
    void ProcessEvent(const Event& event);
    void ApplyForces(Physics& physics, double time);
    void ClearForces() { forces.clear(); }

    std::vector<std::unique_ptr<Force>> forces;  // in the order added
};
