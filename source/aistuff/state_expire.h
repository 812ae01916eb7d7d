// StateExpire ("expire"): a limited lifetime. It counts its lifetime down on
// the System clock and kills its owner at the first update after the time has
// run out. Every shot and missile gets one when it is built.
//
// The count starts at construction, so the rest of the frame in which a shot
// is fired counts in its first update. An owner that has left the object
// table is left alone; a lifetime that is not a finite number counts as 0.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>

#include "aistuff/fsm.h"

class StateExpire : public virtual FSMState {
public:
    StateExpire(const std::string& owner, double lifetime);

    void Enter() override {}
    // With lifetime used up: stops the owner and kills it (finished stays
    // false: a dead owner is no longer stepped). Otherwise subtracts the time
    // since the last count.
    void Update() override;
    // Stops the owner: both velocities to zero.
    void Exit() override;
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateExpire(*this); }

    double lifetime;  // seconds left
    double lastTime;  // System clock seconds of the last count
};
