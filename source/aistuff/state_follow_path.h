// StateFollowPath ("followPath"): walks its owner along a navigation path,
// one StateGoto per node on its own sub-machine. At the end of a path that
// does not loop it finishes and the owner stands there, idle and held on the
// ground, for as long as the state stays on top: the finished StateGoto
// stays on the sub-machine, so every later update stands again.
//
// An empty path (a search that found no route still counts as planned)
// pushes no StateGoto; such a state does nothing, and the owner stays where
// the state before it stopped it.
//
// Threads: main thread, inside the behaviour update under the object lock, or
// while the object is being built. Never takes the object lock.
#pragma once

#include <string>
#include <vector>

#include "aistuff/fsm.h"
#include "aistuff/graph_records.h"

class StateFollowPath : public virtual FSMState {
public:
    static constexpr const char* kStateName = "followPath";

    StateFollowPath(const std::string& owner, std::vector<GraphNode> path, bool loop);

    // Pushes a StateGoto to the first node (nothing for an empty path).
    void Enter() override;
    // Steps the current StateGoto; when it has arrived, moves on to the next
    // node, or wraps (loop), or stands at the end.
    void Update() override;
    void Exit() override {}
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new StateFollowPath(*this); }

    bool loop;
    unsigned index = 0;  // the node being walked to
    std::vector<GraphNode> path;
    FSMStateMachine subMachine;

private:
    void GoTo(const GraphNode& node);
    void StandAtEnd();
};
