// StateGoto ("goto"): walks its owner to one point of a navigation path. It
// finishes when the owner stands within the arrival radius of the point,
// measured over the ground (x and z), whatever the height difference; the
// state holding it (StateFollowPath) then moves it on to the next point.
//
// Threads: main thread, inside the behaviour update under the object lock.
// Never takes the object lock. The constructor looks the owner up too, so it
// must be built under the lock as well.
#pragma once

#include <string>

#include "aistuff/fsm.h"
#include "geom/geom.h"

class StateGoto : public virtual FSMState {
public:
    static constexpr const char* kStateName = "goto";

    // arriveRadiusSq = (owner's bounding-sphere radius + radius)²; an owner
    // without a CollisionComp (or not registered) counts with radius 0.
    StateGoto(const std::string& owner, const Vector& target, float radius);

    // The owner shows its moving animation (index 1).
    void Enter() override;
    // Steers toward target, tests arrival, settles; nothing without the owner
    // or its PhysicsComp.
    void Update() override;
    // Stops the owner moving: linearVel to zero and no turning about y.
    void Exit() override;
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateGoto(*this); }

    float sideThreshold = 0.08f;
    float turnRate = 0.8f;  // a quarter of the follow rate: paths are walked calmly
    float moveThreshold = 0.8f;
    float speed = 35.0f;
    Vector target;
    float arriveRadiusSq;
};
