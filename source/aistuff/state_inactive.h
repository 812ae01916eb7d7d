// StateInactive ("inactive"): an enemy standing idle until its target comes
// within range or into its line of sight; it then finishes, and the behaviour
// module pops it so that the state below (StateHeavy) takes over.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>

#include "aistuff/fsm.h"

class StateInactive : public virtual FSMState {
public:
    StateInactive(const std::string& owner, const std::string& target, float range);

    // The owner shows its idle animation (index 0).
    void Enter() override;
    // Finishes when the target is nearer than the range (3D distance) or the
    // owner's machine reports a line of sight.
    void Update() override;
    void Exit() override {}
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateInactive(*this); }

    float rangeSq;           // the wake-up range, squared
    std::string targetName;  // the object whose approach wakes the owner
};
