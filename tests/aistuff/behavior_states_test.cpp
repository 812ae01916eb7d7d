// The moving behaviour states on hand-made owners and targets: steering and
// settling, walking a path node by node, following and firing at a target
// (through a weapon that records its pulls), and hunting's choice between
// following and the planned path.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "aistuff/state_follow.h"
#include "aistuff/state_follow_path.h"
#include "aistuff/state_goto.h"
#include "aistuff/state_heavy.h"
#include "behavior_manager.h"
#include "geom/geom_expect.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/random.h"
#include "system.h"
#include "weapons.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;
const float kPi = std::acos(-1.0f);

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// A weapon that writes down where it was told to fire.
struct RecordingWeapon : public Weapon {
    explicit RecordingWeapon(std::vector<Vector>& pulls) : pulls(&pulls) {}
    Weapon* Clone() const override { return new RecordingWeapon(*this); }
    void Fire(Vector at) override { pulls->push_back(at); }
    void BeginHold() override {}
    void EndHold() override {}
    std::vector<Vector>* pulls;
};

// A quarter turn to the left about y: the forward axis (0, 0, 1) becomes +x.
Quaternion FacingPlusX() { return Quaternion(std::cos(kPi / 4), Vector(0, std::sin(kPi / 4), 0, 0)); }

// A path node of radius 1 on the ground at (x, 0, z).
GraphNode Node(float x, float z) {
    GraphNode node;
    node.trans = Vector(x, 0, z);
    node.radius = 1;
    return node;
}

// "mech" at the origin facing +z, standing on the default (flat, height 0)
// ground; "player" somewhere ahead; "bare" beside the mech, with a body only
// (no shape, no weapons). Every state runs under the object lock,
// as in the behaviour update.
class MovingStates : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTable();
        Module<System>::Instance()->frameTime.store(kStep);
        GameObject mech("mech"), player("player"), bare("bare");
        bare.AttachComponent(PhysicsComp());
        mech.AttachComponent(PhysicsComp());
        mech.AttachComponent(GraphicsComp());
        CollisionComp shape;
        shape.boundSphere.radius = 2.0f;
        mech.AttachComponent(shape);
        player.trans = Vector(0, 0, 100);
        ASSERT_TRUE(Objects().AddGameObject(mech) && Objects().AddGameObject(player) && Objects().AddGameObject(bare));
        lock.reset(new ObjectLock);
    }
    void TearDown() override {
        lock.reset();
        ClearTable();
    }
    static void ClearTable() {
        ObjectLock guard;
        Objects().ClearGameObjects();
    }
    GameObject& Get(const std::string& name) { return *Objects().GetGameObject(name); }
    PhysicsComp& Body() { return *Get("mech").GetPhysicsComp(); }
    int Animation() { return Get("mech").GetGraphicsComp()->skeleton.curAnimation; }
    void ArmMech(std::vector<Vector>& primary, std::vector<Vector>& secondary) {
        WeaponComp weapons;
        weapons.primary = new RecordingWeapon(primary);
        weapons.secondary = new RecordingWeapon(secondary);
        Get("mech").AttachComponent(weapons);
    }

    std::unique_ptr<ObjectLock> lock;
};

TEST_F(MovingStates, SteeringTurnsTowardThePointAndWalksOnlyWhileItLiesAhead) {
    const float s = std::sqrt(0.75f), f = std::sqrt(1 - 0.81f);
    struct Case {
        const char* what;
        Vector target;
        bool facePlusX;
        float turns;  // in units of the state's turn rate
        bool walks;
    } cases[] = {
        {"straight ahead", Vector(0, 5, 50), false, 0, true},
        {"straight behind", Vector(0, 0, -50), false, -1, false},
        {"slightly left (side 0.5)", Vector(5, 0, 10 * s), false, 1, true},
        {"slightly right (side -0.5)", Vector(-5, 0, 10 * s), false, -1, true},
        {"far to the side (0.9)", Vector(9, 0, 10 * f), false, 1, false},
        {"within the side threshold", Vector(0.5f, 0, 10), false, 0, true},
        {"at the owner's own feet", Vector(0, 0, 0), false, -1, false},
        {"ahead of a turned owner", Vector(50, 0, 0), true, 0, true},
    };
    for (const Case& c : cases) {
        for (bool follow : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (follow ? " (follow)" : " (goto)"));
            Get("mech").rot = c.facePlusX ? FacingPlusX() : Quaternion(1.0f);
            Get("player").trans = c.target;
            Body().linearVel = Vector(7, 0, 7, 7);
            Body().angularVel = Vector(1, 9, 1, 0);
            std::unique_ptr<FSMState> state(follow ? static_cast<FSMState*>(new StateFollow("mech", "player"))
                                                   : new StateGoto("mech", c.target, 0.0f));
            state->Update();
            const float rate = follow ? 3.2f : 0.8f;
            EXPECT_FLOAT_EQ(Body().angularVel.y, c.turns * rate);
            EXPECT_EQ(Body().angularVel.x, 1.0f) << "only the turn about y is steered";
            const Vector expected = !c.walks ? Vector(0, 0, 0, 0) : c.facePlusX ? Vector(35, 0, 0, 7) : Vector(0, 0, 35, 7);
            EXPECT_NEAR(Body().linearVel.x, expected.x, 1e-4);
            EXPECT_NEAR(Body().linearVel.z, expected.z, 1e-4);
            EXPECT_EQ(Body().linearVel.w, expected.w) << "w is cleared only when the owner stops";
            EXPECT_TRUE(std::isfinite(Body().linearVel.y));
        }
    }
}

TEST_F(MovingStates, GotoArrivesOnTheGroundDistanceAloneWithinBothRadii) {
    StateGoto high("mech", Vector(2.9f, 500, 0), 1.0f);
    EXPECT_FLOAT_EQ(high.arriveRadiusSq, 9.0f) << "(owner radius 2 + node radius 1) squared";
    high.Update();
    EXPECT_TRUE(high.finished) << "a height difference does not matter";
    StateGoto near("mech", Vector(2.9f, 0, 1), 1.0f);
    near.Update();
    EXPECT_FALSE(near.finished) << "just outside on the ground";

    StateGoto bare("bare", Vector(0, 0, 10), 1.5f);
    EXPECT_FLOAT_EQ(bare.arriveRadiusSq, 2.25f) << "an owner without a CollisionComp counts as radius 0";
    StateGoto ghost("nobody", Vector(0, 0, 10), 1.5f);
    EXPECT_FLOAT_EQ(ghost.arriveRadiusSq, 2.25f);
    ghost.Enter();
    ghost.Update();
    ghost.Exit();
    EXPECT_FALSE(ghost.finished);
}

TEST_F(MovingStates, AThreeNodePathGivesThreeGotosThenStandsIdleForGood) {
    const std::vector<GraphNode> path = {Node(0, 10), Node(10, 10), Node(10, 20)};
    StateFollowPath walk("mech", path, false);
    walk.Enter();
    EXPECT_EQ(Animation(), 1);
    std::vector<float> visited;
    for (const GraphNode& node : path) {
        const auto* go = dynamic_cast<const StateGoto*>(walk.subMachine.Top());
        ASSERT_NE(go, nullptr);
        visited.push_back(go->target.x + go->target.z);
        Get("mech").trans = node.trans;  // arrive at once
        walk.Update();
        EXPECT_TRUE(go->finished);
        EXPECT_FALSE(walk.finished);
        walk.Update();  // moves on
    }
    EXPECT_EQ(visited, (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(walk.subMachine.Size(), 1u);
    EXPECT_TRUE(walk.finished);
    EXPECT_EQ(Animation(), 0) << "idle at the end";
    for (int frame = 0; frame < 3; ++frame) {
        Body().linearVel = Vector(5, 0, 5, 5);
        walk.Update();
        EXPECT_TRUE(walk.finished);
        EXPECT_EQ(walk.subMachine.Size(), 1u);
        EXPECT_EQ(Body().linearVel.x + Body().linearVel.z + Body().linearVel.w, 0.0f);
        EXPECT_FLOAT_EQ(Body().linearVel.y, -10.0f * kStep) << "the softer pull at rest";
    }
}

TEST_F(MovingStates, ALoopingPathStartsOverAndAnEmptyPathHoldsTheOwner) {
    StateFollowPath loop("mech", {Node(0, 10), Node(0, 20)}, true);
    loop.Enter();
    // The node aimed at after each arrival: right after the wrap, the first.
    std::vector<float> targets;
    for (float z : {10.0f, 20.0f, 10.0f}) {
        Get("mech").trans = Vector(0, 0, z);
        loop.Update();
        loop.Update();
        targets.push_back(dynamic_cast<const StateGoto&>(*loop.subMachine.Top()).target.z);
    }
    EXPECT_EQ(targets, (std::vector<float>{20, 10, 20}));
    EXPECT_EQ(loop.index, 1u);
    EXPECT_FALSE(loop.finished);

    StateFollowPath empty("mech", {}, false);
    empty.Enter();
    Body().linearVel = Vector(0, 0, 0, 0);
    Get("mech").trans = Vector(3, 4, 5);
    for (int frame = 0; frame < 3; ++frame) empty.Update();
    EXPECT_EQ(empty.subMachine.Size(), 0u);
    EXPECT_EQ(Body().linearVel.x + Body().linearVel.y + Body().linearVel.z, 0.0f);
    std::unique_ptr<FSMState> copy(empty.Clone());
    copy->Update();
}

TEST_F(MovingStates, FollowFiresBothWeaponsAtTheLedTargetOnlyWhileWalking) {
    std::vector<Vector> primary, secondary;
    ArmMech(primary, secondary);
    PhysicsComp targetBody;
    targetBody.linearVel = Vector(10, 5, -20, 0);
    CollisionComp targetShape;
    targetShape.boundSphere.radius = 3.0f;
    Get("player").AttachComponent(targetBody);
    Get("player").AttachComponent(targetShape);
    Get("player").trans = Vector(1, 2, 100, 1);
    platform::SeedRandom(7);
    float r[6];
    for (float& value : r) value = RandFloat();
    platform::SeedRandom(7);
    StateFollow follow("mech", "player");
    follow.Update();
    ASSERT_EQ(primary.size(), 1u);
    ASSERT_EQ(secondary.size(), 1u);
    const Vector aim(1 + (r[0] + 1) * 0.3f * 10, 2 + (r[1] + 1) * 0.1f * 5, 100 + (r[2] + 1) * 0.3f * -20, 1);
    const Vector feet(1 + (r[3] + 1) * 0.3f * 10, 2 - 3.0f + (r[4] + 1) * 0.1f * 5, 100 + (r[5] + 1) * 0.3f * -20, 0);
    EXPECT_TRUE(VectorNear(primary[0], aim, 1e-3f));
    EXPECT_TRUE(VectorNear(secondary[0], feet, 1e-3f));

    Get("player").trans = Vector(0, 0, -100);  // behind: the mech turns and holds its fire
    follow.Update();
    EXPECT_EQ(primary.size(), 1u);
    EXPECT_EQ(secondary.size(), 1u);
}

TEST_F(MovingStates, FollowCopesWithMissingPieces) {
    std::vector<Vector> primary, secondary;
    ArmMech(primary, secondary);
    StateFollow follow("mech", "player");
    follow.Update();  // a bare target: no velocity, no radius
    ASSERT_EQ(secondary.size(), 1u);
    EXPECT_EQ(primary[0].x, 0.0f);
    EXPECT_EQ(secondary[0].y, 0.0f);

    StateFollow unarmed("bare", "player");
    unarmed.Update();
    EXPECT_FLOAT_EQ(Get("bare").GetPhysicsComp()->linearVel.z, 35.0f) << "steers without weapons";

    Get("player").isDead = true;
    Objects().RemoveDeadGameObjects();
    Body().linearVel = Vector(5, 0, 5, 5);
    Body().angularVel = Vector(0, 3, 0, 0);
    EXPECT_NO_THROW(follow.Update());
    EXPECT_EQ(Body().linearVel.x + Body().linearVel.z + Body().angularVel.y, 0.0f) << "no target: stop";
    EXPECT_FLOAT_EQ(Body().linearVel.y, -120.0f * kStep) << "and keep settling";

    StateFollow ghost("nobody", "mech");
    EXPECT_NO_THROW(ghost.Update());
}

// Hunting: the line of sight, the planned path and the player's node set by
// hand in the fields the behaviour module writes.
class Hunting : public MovingStates {
protected:
    void SetUp() override {
        MovingStates::SetUp();
        Get("mech").AttachComponent(BehaviorComp());
        Sm().path = {Node(0, 10), Node(0, 20)};
        Module<BehaviorManager>::Instance()->playerNodeChanged = false;
    }
    FSMStateMachine& Sm() { return Get("mech").GetBehaviorComp()->sm; }
    static std::string Sub(const StateHeavy& heavy) {
        return heavy.subMachine.Top() ? heavy.subMachine.Top()->stateName : "none";
    }
    // The length of the path the current StateFollowPath walks.
    static std::size_t WalkedNodes(const StateHeavy& heavy) {
        return dynamic_cast<const StateFollowPath&>(*heavy.subMachine.Top()).path.size();
    }
};

TEST_F(Hunting, SightFollowsAndAPlannedPathIsWalkedAndRestartedWhenThePlayersNodeChanges) {
    StateHeavy heavy("mech");
    heavy.Enter();
    heavy.Update();
    EXPECT_EQ(Sub(heavy), "follow") << "nothing planned yet";
    EXPECT_FLOAT_EQ(Body().linearVel.z, 35.0f) << "the sub-state is stepped";

    Sm().pathPlanned = true;
    heavy.Update();
    ASSERT_EQ(Sub(heavy), "followPath");
    EXPECT_EQ(heavy.subMachine.Size(), 1u);
    EXPECT_EQ(heavy.path.size(), 2u);
    Sm().path.pop_back();
    heavy.Update();
    EXPECT_EQ(WalkedNodes(heavy), 2u) << "a path being walked is kept";

    Module<BehaviorManager>::Instance()->playerNodeChanged = true;
    heavy.Update();
    EXPECT_EQ(WalkedNodes(heavy), 1u) << "restarted on the path held now";
    EXPECT_EQ(heavy.path.size(), 1u);
    Module<BehaviorManager>::Instance()->playerNodeChanged = false;

    Sm().hasLineOfSight = true;
    heavy.Update();
    ASSERT_EQ(Sub(heavy), "follow");
    dynamic_cast<StateFollow&>(*heavy.subMachine.Top()).targetName = "marked";
    heavy.Update();
    EXPECT_EQ(dynamic_cast<StateFollow&>(*heavy.subMachine.Top()).targetName, "marked") << "kept while in sight";
    Sm().hasLineOfSight = false;
    heavy.Update();
    EXPECT_EQ(Sub(heavy), "followPath") << "sight lost: back to the path";
    EXPECT_FALSE(heavy.finished);
}

TEST_F(Hunting, AnEmptyPathOrAMissingOwnerBreaksNothing) {
    StateHeavy heavy("mech");
    heavy.Enter();
    Sm().path.clear();
    Sm().pathPlanned = true;
    Body().linearVel = Vector(4, 0, 4, 0);
    for (int frame = 0; frame < 3; ++frame) EXPECT_NO_THROW(heavy.Update());
    EXPECT_EQ(Sub(heavy), "followPath");
    EXPECT_EQ(Body().linearVel.x + Body().linearVel.z, 0.0f) << "the owner stands where following left it";

    StateHeavy orphan("nobody");
    orphan.Enter();
    EXPECT_NO_THROW(orphan.Update());
    Get("mech").isDead = true;
    Objects().RemoveDeadGameObjects();
    EXPECT_NO_THROW(heavy.Update());
}

}  // namespace
