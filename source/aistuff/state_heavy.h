// StateHeavy ("heavy"): an enemy's hunting behaviour. It holds one of
// StateFollow (while the enemy sees the player) or a path-following state on
// its own sub-machine; it never finishes.
//
// Built here: construction, Enter, Exit and copying (a copy clones the
// sub-machine's states). Choosing and stepping the sub-state arrives with the
// behaviour module; until then Update leaves the sub-machine as it is.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>
#include <vector>

#include "aistuff/fsm.h"
#include "aistuff/graph_records.h"

class StateHeavy : public virtual FSMState {
public:
    explicit StateHeavy(const std::string& owner);

    // Pushes a new StateFollow of the "player" on the sub-machine. Every
    // entry pushes one more; the older ones stay below it.
    void Enter() override;
    void Update() override {}
    void Exit() override {}
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateHeavy(*this); }

    FSMStateMachine subMachine;
    std::vector<GraphNode> path;  // the path being followed, start node first
};
