// The behaviour state machine (entering, leaving, deleting and copying states,
// as written into a journal) and the states, which find their owner by name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "aistuff/fsm.h"
#include "aistuff/state_follow.h"
#include "aistuff/state_heavy.h"
#include "aistuff/state_inactive.h"
#include "aistuff/state_rotate.h"
#include "object_manager.h"
#include "objects/components.h"

namespace {

using Journal = std::vector<std::string>;

struct JournalState : public virtual FSMState {
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
    void Note(const std::string& what) { journal->push_back(stateName + " " + what); }
    Journal* journal;
};

TEST(FSMStateMachine, PushPopAndClearEnterLeaveAndDeleteInOrder) {
    Journal journal;
    FSMStateMachine machine;
    machine.Update();
    machine.Pop();
    machine.Push(nullptr);
    EXPECT_EQ(0u, machine.Size()) << "an empty machine ignores update, pop and null";
    machine.Push(new JournalState("A", journal));
    machine.Push(new JournalState("B", journal));
    machine.Push(nullptr);
    EXPECT_EQ((Journal{"A enter", "A exit", "B enter"}), journal);
    journal.clear();
    machine.Update();
    machine.Pop();
    EXPECT_EQ((Journal{"B update", "B exit", "B deleted", "A enter"}), journal);
    machine.Push(new JournalState("C", journal));
    journal.clear();
    machine.Clear();
    EXPECT_EQ((Journal{"C deleted", "A deleted"}), journal) << "cleared without Exit";
    journal.clear();
    {
        FSMStateMachine dying;
        dying.Push(new JournalState("D", journal));
    }
    EXPECT_EQ((Journal{"D enter", "D deleted"}), journal);
}

TEST(FSMStateMachine, CopiesCloneStatesWithoutEnterAndAssignmentKeepsItsOwnPath) {
    Journal journal;
    FSMStateMachine machine;
    machine.name = "mech";
    machine.Push(new JournalState("A", journal));
    machine.Push(new JournalState("B", journal));
    machine.hasLineOfSight = machine.pathPlanned = true;
    machine.path.resize(3);
    journal.clear();
    FSMStateMachine copy(machine);
    EXPECT_TRUE(journal.empty());
    ASSERT_EQ(2u, copy.Size());
    EXPECT_EQ("A'", copy.At(0)->stateName);
    EXPECT_TRUE(copy.path.empty());
    EXPECT_FALSE(copy.hasLineOfSight || copy.pathPlanned);
    FSMStateMachine target;
    target.Push(new JournalState("T", journal));
    target.path.resize(2);
    target.hasLineOfSight = true;
    journal.clear();
    target = copy;
    EXPECT_EQ((Journal{"T deleted"}), journal);
    EXPECT_EQ("A''", target.At(0)->stateName);
    EXPECT_EQ(2u, target.path.size());
    EXPECT_TRUE(target.hasLineOfSight);
    journal.clear();
    FSMStateMachine& alias = target;
    target = alias;
    EXPECT_TRUE(journal.empty()) << "self-assignment deletes nothing";
    EXPECT_EQ("B''", target.Top()->stateName);
}

// A state whose Exit pushes a follow-up: Pop must remove the state it left.
struct HandOverState : public JournalState {
    HandOverState(FSMStateMachine& machine, Journal& journal) : JournalState("handover", journal), machine(&machine) {}
    void Exit() override {
        if (handedOver) return;  // the Push below calls Exit on us again
        handedOver = true;
        machine->Push(new JournalState("next", *journal));
    }
    FSMStateMachine* machine;
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

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

class OwnedStates : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        GameObject owner("walker"), player("player");
        owner.AttachComponent(GraphicsComp());
        owner.AttachComponent(BehaviorComp());
        player.trans = Vector(0, 0, 2000);
        ASSERT_TRUE(Objects().AddGameObject(owner) && Objects().AddGameObject(player));
        lock.reset(new ObjectLock);  // the states run under the object lock
        Walker().GetBehaviorComp()->sm.hasLineOfSight = false;
    }
    void TearDown() override {
        lock.reset();
        ObjectLock guard;
        Objects().ClearGameObjects();
    }
    GameObject& Walker() { return *Objects().GetGameObject("walker"); }
    int Animation() { return Walker().GetGraphicsComp()->skeleton.curAnimation; }
    std::unique_ptr<ObjectLock> lock;
};

TEST_F(OwnedStates, HeavyClonesOwnTheirSubStatesAndReEntryStacksFollowStates) {
    StateHeavy heavy("walker");
    heavy.Enter();
    FSMState* first = heavy.subMachine.Top();
    std::unique_ptr<FSMState> copy(heavy.Clone());
    auto& copied = dynamic_cast<StateHeavy&>(*copy);
    ASSERT_EQ(copied.subMachine.Size(), 1u);
    EXPECT_NE(copied.subMachine.Top(), first);
    heavy.Exit();
    heavy.Enter();
    ASSERT_EQ(heavy.subMachine.Size(), 2u);
    EXPECT_EQ(heavy.subMachine.At(0), first);
    EXPECT_EQ(Animation(), 1) << "the follow state's moving animation";
    StateInactive("walker", "player", 100.0f).Enter();
    EXPECT_EQ(Animation(), 0);
}

TEST_F(OwnedStates, InactiveWakesWithinRangeOrOnLineOfSightAndStatesOfMissingObjectsDoNothing) {
    StateInactive idle("walker", "player", 1000.0f), blind("walker", "player", 1.0f);
    idle.Update();
    EXPECT_FALSE(idle.finished);
    Objects().GetGameObject("player")->trans = Vector(0, 600, 700, 55);  // about 922 in 3D; w ignored
    idle.Update();
    EXPECT_TRUE(idle.finished);
    Walker().GetBehaviorComp()->sm.hasLineOfSight = true;
    blind.Update();
    EXPECT_TRUE(blind.finished);
    Walker().GetBehaviorComp()->sm.hasLineOfSight = false;
    StateInactive orphan("nobody", "player", 1e6f), lonely("walker", "nobody", 1e6f);
    StateFollow follow("nobody", "player");
    StateRotate spin("nobody", 1.0);
    spin.Update();
    spin.Exit();
    orphan.Enter();
    orphan.Update();
    follow.Enter();
    follow.Exit();
    lonely.Update();
    EXPECT_FALSE(orphan.finished || lonely.finished);
}

}  // namespace
