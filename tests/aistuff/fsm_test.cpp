// The behaviour state machine: which states are entered and left on push and
// pop, who deletes them, and how machines copy. States write what happens to
// them into a shared journal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aistuff/fsm.h"

namespace {

using Journal = std::vector<std::string>;

class JournalState : public virtual FSMState {
public:
    JournalState(const std::string& name, Journal& journal) : journal(&journal) { stateName = name; }
    JournalState(const JournalState& other) : FSMState(other), journal(other.journal) {
        stateName = other.stateName + "'";
    }
    ~JournalState() override { Note("deleted"); }

    void Enter() override { Note("enter"); }
    void Update() override { Note("update"); }
    void Exit() override { Note("exit"); }
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new JournalState(*this); }

private:
    void Note(const std::string& what) { journal->push_back(stateName + " " + what); }

    Journal* journal;
};

TEST(FSMStateMachine, PushLeavesTheOldTopAndPopReentersIt) {
    Journal journal;
    FSMStateMachine machine;
    machine.Push(new JournalState("A", journal));
    machine.Push(new JournalState("B", journal));
    EXPECT_EQ((Journal{"A enter", "A exit", "B enter"}), journal);
    EXPECT_EQ("B", machine.Top()->stateName);

    journal.clear();
    machine.Update();
    machine.Pop();
    EXPECT_EQ((Journal{"B update", "B exit", "B deleted", "A enter"}), journal);
    EXPECT_EQ("A", machine.Top()->stateName);

    journal.clear();
    machine.Pop();
    EXPECT_EQ((Journal{"A exit", "A deleted"}), journal);
    EXPECT_EQ(nullptr, machine.Top());
}

TEST(FSMStateMachine, AnEmptyMachineIgnoresUpdatePopAndNullStates) {
    Journal journal;
    FSMStateMachine machine;
    machine.Update();
    machine.Pop();
    machine.Push(nullptr);
    EXPECT_EQ(nullptr, machine.Top());
    EXPECT_EQ(0u, machine.Size());

    machine.Push(new JournalState("A", journal));
    machine.Push(nullptr);
    EXPECT_EQ((Journal{"A enter"}), journal) << "a null push leaves the top alone";
    EXPECT_EQ(1u, machine.Size());
}

TEST(FSMStateMachine, ClearAndDestructionDeleteEveryStateWithoutExit) {
    Journal journal;
    {
        FSMStateMachine machine;
        machine.Push(new JournalState("A", journal));
        machine.Push(new JournalState("B", journal));
        machine.Push(new JournalState("C", journal));
        journal.clear();
        machine.Clear();
        EXPECT_EQ((Journal{"C deleted", "B deleted", "A deleted"}), journal);
        EXPECT_EQ(nullptr, machine.Top());

        machine.Push(new JournalState("D", journal));
        journal.clear();
    }
    EXPECT_EQ((Journal{"D deleted"}), journal);
}

TEST(FSMStateMachine, ACopyHoldsClonesInOrderButNoPathAndEntersNothing) {
    Journal journal;
    FSMStateMachine machine;
    machine.name = "mech";
    machine.Push(new JournalState("A", journal));
    machine.Push(new JournalState("B", journal));
    machine.hasLineOfSight = true;
    machine.pathPlanned = true;
    machine.path.resize(3);
    journal.clear();

    FSMStateMachine copy(machine);
    EXPECT_TRUE(journal.empty()) << "no Enter on the clones";
    EXPECT_EQ("mech", copy.name);
    ASSERT_EQ(2u, copy.Size());
    EXPECT_EQ("A'", copy.At(0)->stateName);
    EXPECT_EQ("B'", copy.At(1)->stateName);
    EXPECT_TRUE(copy.path.empty());
    EXPECT_FALSE(copy.hasLineOfSight);
    EXPECT_FALSE(copy.pathPlanned);
}

TEST(FSMStateMachine, AssignmentReplacesStatesAndKeepsItsOwnPath) {
    Journal journal;
    FSMStateMachine source;
    source.name = "source";
    source.Push(new JournalState("S", journal));

    FSMStateMachine target;
    target.Push(new JournalState("T", journal));
    target.path.resize(2);
    target.hasLineOfSight = true;
    journal.clear();

    target = source;
    EXPECT_EQ((Journal{"T deleted"}), journal) << "replaced without Exit, clone without Enter";
    EXPECT_EQ("source", target.name);
    ASSERT_EQ(1u, target.Size());
    EXPECT_EQ("S'", target.Top()->stateName);
    EXPECT_EQ(2u, target.path.size());
    EXPECT_TRUE(target.hasLineOfSight);

    journal.clear();
    FSMStateMachine& alias = target;
    target = alias;
    EXPECT_TRUE(journal.empty()) << "self-assignment deletes nothing";
    EXPECT_EQ("S'", target.Top()->stateName);
}

// A state whose Exit pushes a follow-up onto the same machine: popping must
// remove the state that was left, not the one just pushed.
class HandOverState : public virtual FSMState {
public:
    HandOverState(FSMStateMachine& machine, Journal& journal) : machine(&machine), journal(&journal) {
        stateName = "handover";
    }
    void Enter() override {}
    void Update() override {}
    void Exit() override {
        if (handedOver) return;  // Push below calls Exit on us again
        handedOver = true;
        machine->Push(new JournalState("next", *journal));
    }
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new HandOverState(*this); }

private:
    FSMStateMachine* machine;
    Journal* journal;
    bool handedOver = false;
};

TEST(FSMStateMachine, PopRemovesTheStateItLeftEvenIfExitPushedAnother) {
    Journal journal;
    FSMStateMachine machine;
    machine.Push(new HandOverState(machine, journal));
    machine.Pop();
    ASSERT_EQ(1u, machine.Size());
    EXPECT_EQ("next", machine.Top()->stateName);
}

}  // namespace
