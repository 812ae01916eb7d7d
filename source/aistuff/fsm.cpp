#include "aistuff/fsm.h"

#include <utility>

FSMStateMachine::FSMStateMachine(const FSMStateMachine& other) : name(other.name) {
    AppendClonesOf(other);
}

FSMStateMachine& FSMStateMachine::operator=(const FSMStateMachine& other) {
    if (this == &other) return *this;
    Clear();
    name = other.name;
    AppendClonesOf(other);
    return *this;
}

FSMStateMachine::~FSMStateMachine() { Clear(); }

void FSMStateMachine::AppendClonesOf(const FSMStateMachine& other) {
    states.reserve(states.size() + other.states.size());
    for (const std::unique_ptr<FSMState>& state : other.states)
        states.emplace_back(state ? state->Clone() : nullptr);
}

FSMState* FSMStateMachine::Top() const { return states.empty() ? nullptr : states.back().get(); }

void FSMStateMachine::Update() {
    if (FSMState* top = Top()) top->Update();
}

void FSMStateMachine::Push(FSMState* s) {
    if (!s) return;
    std::unique_ptr<FSMState> owned(s);
    if (FSMState* top = Top()) top->Exit();
    states.push_back(std::move(owned));
    s->Enter();
}

void FSMStateMachine::Pop() {
    FSMState* top = Top();
    if (!top) return;
    top->Exit();
    // Remove the state that was left, even if its Exit pushed another.
    for (auto it = states.end(); it != states.begin();) {
        --it;
        if (it->get() == top) {
            states.erase(it);
            break;
        }
    }
    if (FSMState* uncovered = Top()) uncovered->Enter();
}

void FSMStateMachine::Clear() {
    while (!states.empty()) states.pop_back();
}
