// StateHeavy ("heavy"): an enemy's hunting behaviour. It holds one of
// StateFollow (while the enemy sees the player) or StateFollowPath (walking
// the path the behaviour module planned toward the player's node) on its own
// sub-machine, and steps it. It never finishes and never pops a finished
// sub-state: an enemy at the end of its path stands there until its sight or
// the player's node changes.
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
    // Switches to following on line of sight; to the planned path when sight
    // is lost or the player's node changes; then steps the sub-state. Nothing
    // when the owner or its BehaviorComp is gone.
    void Update() override;
    void Exit() override {}
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateHeavy(*this); }

    FSMStateMachine subMachine;
    std::vector<GraphNode> path;  // the path being followed, start node first

private:
    void Follow();
    void FollowPath(const std::vector<GraphNode>& planned);
};
