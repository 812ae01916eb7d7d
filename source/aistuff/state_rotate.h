// StateRotate ("rotate"): spins its owner in place about the vertical axis.
// Every pickup runs it for as long as it exists; it never finishes.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>

#include "aistuff/fsm.h"

class StateRotate : public virtual FSMState {
public:
    StateRotate(const std::string& owner, double rate);

    void Enter() override {}
    // The owner's angularVel = (0, rate, 0, 0); nothing without a PhysicsComp.
    void Update() override;
    // Stops the owner: both velocities to zero.
    void Exit() override;
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateRotate(*this); }

    double rate;  // radians per second about y
};
