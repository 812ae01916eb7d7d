// StateFollow ("follow"): an enemy steering toward a target object and firing
// at it while it walks. StateHeavy holds it on its sub-machine while the enemy
// can see the player. The shots aim where the target is heading, led by a
// random share of its velocity; the weapons' own rate of fire limits them.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>

#include "aistuff/fsm.h"

class StateFollow : public virtual FSMState {
public:
    static constexpr const char* kStateName = "follow";

    StateFollow(const std::string& owner, const std::string& target);

    // The owner shows its moving animation (index 1).
    void Enter() override;
    // Steers toward the target, fires both weapons in the walking case, then
    // settles. Nothing without the owner or its PhysicsComp; without the
    // target the owner stops moving and settles; without a WeaponComp it only
    // steers.
    void Update() override;
    // Stops the owner moving: linearVel to zero and no turning about y.
    void Exit() override;
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateFollow(*this); }

    float sideThreshold = 0.08f;  // |side| above this turns the owner
    float turnRate = 3.2f;        // radians per second
    float moveThreshold = 0.8f;   // |side| below this lets the owner move
    float speed = 35.0f;          // forward speed, units per second
    std::string targetName;
};
