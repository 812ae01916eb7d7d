// FSMState and FSMStateMachine: behaviour as a stack of states. The top state
// is the active one; pushing and popping tell the states involved that they
// are left (Exit) or entered (Enter). The machine also carries the owner's
// planned navigation path and two planning flags.
//
// Ownership: the machine owns every state on its stack; a state handed to Push
// becomes the machine's and is deleted when popped or cleared.
// Threads: main thread only (behaviour update under the object lock, or while
// objects are built); no lock of its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "aistuff/graph_records.h"

class Event;

// Base of every behaviour state; concrete states derive from it virtually.
class FSMState {
public:
    FSMState() = default;
    FSMState(const FSMState&) = default;
    FSMState& operator=(const FSMState&) = default;
    virtual ~FSMState() = default;

    // The state becomes the top of its stack.
    virtual void Enter() = 0;
    // One frame of work while on top.
    virtual void Update() = 0;
    // The state stops being the top (covered by another, or popped).
    virtual void Exit() = 0;
    virtual bool HandleMessage(const Event& event) = 0;
    // A new copy of the most derived state, owned by the caller.
    virtual FSMState* Clone() const = 0;

    std::string stateName;  // kind word: "rotate", "heavy", "goto", ...
    std::string ownerName;  // name of the game object the state drives
    bool finished = false;  // set by the state when its work is done
};

class FSMStateMachine {
public:
    FSMStateMachine() = default;
    // Copies name and clones of the states (bottom first); the path and the
    // flags start empty. No state is entered.
    FSMStateMachine(const FSMStateMachine& other);
    // Replaces the states with clones of other's and copies name; keeps this
    // machine's path and flags. No state is entered or exited.
    FSMStateMachine& operator=(const FSMStateMachine& other);
    ~FSMStateMachine();

    // The top state, or null when the stack is empty.
    FSMState* Top() const;
    // Update of the top state, if any.
    void Update();
    // Exit of the old top, then s becomes the top and is entered. The machine
    // takes ownership; a null state is not pushed.
    void Push(FSMState* s);
    // Exit and delete the top, then enter the state now on top.
    void Pop();
    // Delete every state, top first, without Exit or Enter.
    void Clear();

    // Number of states on the stack.
    std::size_t Size() const { return states.size(); }
    // The state at position i from the bottom, or null past the top.
    FSMState* At(std::size_t i) const { return i < states.size() ? states[i].get() : nullptr; }

    std::string name;  // name of the owning object
    bool hasLineOfSight = false;
    std::vector<GraphNode> path;  // last planned path, start node first
    bool pathPlanned = false;

private:
    void AppendClonesOf(const FSMStateMachine& other);

    std::vector<std::unique_ptr<FSMState>> states;  // bottom first
};
