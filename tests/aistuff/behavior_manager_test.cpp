// The behaviour module's frame: the walk over the top states, the queued
// objects joining the table after it (last queued first), the planning turn
// over the enemies with their paths, and line of sight from the hits
// published for the sight ray (published here as the collision thread will,
// then through the real collision pass). Also the expiry state.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "aistuff/state_expire.h"
#include "aistuff/state_owner.h"
#include "aistuff/live_world.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "platform/clock.h"
#include "support/collision_scene.h"

namespace {

using namespace live_world;
using Journal = std::vector<std::string>;
using Ids = std::vector<int>;

// Writes its calls into a journal; on its first update it may push a state
// that finishes at once, finish itself, or throw.
struct ScriptedState : public virtual FSMState {
    enum Act { kNothing, kFinish, kThrow, kPushFinishing };
    ScriptedState(const std::string& owner, const std::string& label, Journal& journal, Act act = kNothing)
        : journal(&journal), act(act) {
        ownerName = owner;
        stateName = label;
    }
    void Enter() override { Note("enter"); }
    void Update() override {
        Note("update");
        if (act == kThrow) throw std::runtime_error("state exploded");
        if (act == kFinish) finished = true;
        if (act == kPushFinishing) {
            act = kNothing;
            state_owner::Find(ownerName)->GetBehaviorComp()->sm.Push(
                new ScriptedState(ownerName, "B", *journal, kFinish));
        }
    }
    void Exit() override { Note("exit"); }
    bool HandleMessage(const Event&) override { return false; }
    FSMState* Clone() const override { return new ScriptedState(*this); }
    void Note(const std::string& what) { journal->push_back(stateName + " " + what); }

    Journal* journal;
    Act act;
};

GameObject Scripted(const std::string& name, const std::string& label, Journal& journal,
                    ScriptedState::Act act = ScriptedState::kNothing) {
    GameObject object = Thing(name, Vector(), false, true);
    object.GetBehaviorComp()->sm.Push(new ScriptedState(name, label, journal, act));
    journal.clear();
    return object;
}

FSMStateMachine& Machine(const std::string& name) { return Live(name).GetBehaviorComp()->sm; }

Ids IdsOf(const std::vector<GraphNode>& path) {
    Ids ids;
    for (const GraphNode& node : path) ids.push_back(node.id);
    return ids;
}

RayIntersectRecord Hit(unsigned objNum, float t) {
    RayIntersectRecord record;
    record.objNum = objNum;
    record.rayParam = t;
    return record;
}

class BehaviorFrames : public LiveWorld {
protected:
    void SetUp() override {
        LiveWorld::SetUp();
        manager.Init();
    }
    void TearDown() override {
        manager.Kill();
        LiveWorld::TearDown();
    }
    // Nodes 1..4 along x, 10 apart, joined in a line.
    void LineGraph() {
        for (int id = 1; id <= 4; ++id) {
            GraphNode node;
            node.id = id;
            node.trans = Vector(10.0f * float(id - 1), 0, 0);
            manager.navGraph.AddNode(node);
        }
        for (int id = 1; id < 4; ++id) manager.navGraph.AddBidirectionalEdge(id, id + 1);
    }
    unsigned Number(const std::string& name) {
        ObjectLock lock;
        return Objects().GetObjectNumber(name);
    }

    BehaviorManager manager;
};

// Nothing runs before Init (or after Kill); then a state pushed this frame
// runs next frame, a finished one is popped a frame later, and the queued
// objects join after the walk, last queued first.
TEST_F(BehaviorFrames, StatesStepOncePerFrameAndQueuedObjectsJoinAfterTheWalkLastFirst) {
    Journal walker, queued;
    Add(Scripted("walker", "A", walker, ScriptedState::kPushFinishing));
    for (const char* name : {"qa", "qb", "qc"}) manager.QueueGameObject(Scripted(name, "Q", queued));
    manager.Kill();
    manager.Update();
    EXPECT_TRUE(walker.empty() && !Has("qa"));
    manager.Init();

    const Journal frames[] = {{"A update", "A exit", "B enter"}, {"B update"}, {"B exit", "A enter"}, {"A update"}};
    for (const Journal& expected : frames) {
        walker.clear();
        manager.Update();
        EXPECT_EQ(walker, expected);
        if (&expected == &frames[0]) {
            EXPECT_TRUE(queued.empty()) << "queued objects are registered after the walk";
            EXPECT_TRUE(Number("qc") < Number("qb") && Number("qb") < Number("qa"));
            EXPECT_TRUE(manager.pendingObjects.empty());
        }
        if (&expected == &frames[1]) { EXPECT_EQ(queued, Journal(3, "Q update")); }
    }
}

TEST_F(BehaviorFrames, EmptyDeadAndFailingStatesDoNotStopTheWalkOrTheQueue) {
    Journal journal;
    Add(Thing("empty", Vector(), false, true));
    Add(Scripted("dead", "D", journal, ScriptedState::kFinish));
    {
        ObjectLock lock;
        Machine("dead").Top()->finished = true;
        Objects().KillGameObject(*Objects().GetGameObject("dead"));
    }
    Add(Scripted("faulty", "F", journal, ScriptedState::kThrow));
    Add(Scripted("steady", "S", journal));
    for (int frame = 0; frame < 2; ++frame) {
        manager.QueueGameObject(GameObject("late" + std::to_string(frame)));
        manager.Update();
    }
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "S update"), 2);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "F update"), 2);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "D exit"), 0) << "a dead object's state is not popped";
    EXPECT_EQ(Machine("dead").Size(), 1u);
    EXPECT_TRUE(Has("late0") && Has("late1"));
    EXPECT_EQ(log.Count("behaviour state of faulty failed and was skipped: state exploded"), 1) << log.Text();
}

TEST_F(BehaviorFrames, TheTurnMovesThroughTheEnemiesAndANewPlayerNodeClearsTheirPaths) {
    LineGraph();
    Add(Thing("player", Vector(30, 0, 0), true, false));
    for (const char* name : {"e1", "e2", "e3"}) Add(Thing(name, Vector(0, 0, 1), true, true));
    Add(Thing("drone", Vector(0, 0, 1), true, false));  // an enemy without behaviour is passed over
    Add(Thing("rock", Vector(), false, true));          // no stats: no enemy

    manager.Update();
    ASSERT_EQ(manager.enemyList.size(), 4u);
    const std::vector<unsigned> order = manager.enemyList;
    EXPECT_EQ(manager.currentEnemy, order[0]) << "the first turn only chooses";
    for (std::size_t turn = 0; turn < order.size(); ++turn) {
        manager.Update();
        EXPECT_EQ(manager.currentEnemy, order[(turn + 1) % order.size()]);
        ObjectLock lock;
        const BehaviorComp* behavior = Objects().GetGameObject(order[turn])->GetBehaviorComp();
        if (behavior) { EXPECT_TRUE(behavior->sm.pathPlanned && IdsOf(behavior->sm.path) == Ids({1, 2, 3, 4})); }
    }
    EXPECT_FALSE(manager.playerNodeChanged);

    Live("player").trans = Vector(10, 0, 0);  // node 2
    manager.Update();
    EXPECT_TRUE(manager.playerNodeChanged);
    EXPECT_EQ(manager.playerNode, 2);
    const unsigned turn = manager.currentEnemy;
    manager.Update();  // every path cleared, this turn's enemy planned again
    EXPECT_FALSE(manager.playerNodeChanged);
    for (const std::string name : {"e1", "e2", "e3"}) {
        const bool planned = Number(name) == turn;
        EXPECT_EQ(Machine(name).pathPlanned, planned) << name;
        // The old path already led from node 1 to node 2: it goes on from 2.
        if (planned) { EXPECT_EQ(IdsOf(Machine(name).path), Ids{2}); }
    }
}

// Without a graph paths are empty and no node is made up; with one, a single
// enemy has every turn but searches only while its path is not planned.
TEST_F(BehaviorFrames, ASingleEnemyHasEveryTurnAndIsPlannedOnlyWhileItsPathIsNotPlanned) {
    Add(Thing("player", Vector(20, 0, 0), true, false));
    const unsigned enemy = Add(Thing("solo", Vector(30, 0, 0), true, true));
    for (int frame = 0; frame < 3; ++frame) manager.Update();
    EXPECT_TRUE(Machine("solo").pathPlanned && Machine("solo").path.empty());
    EXPECT_TRUE(manager.navGraph.nodes.empty());
    EXPECT_EQ(manager.playerNode, 0);

    LineGraph();
    manager.Update();
    manager.Update();
    EXPECT_EQ(manager.currentEnemy, enemy);
    EXPECT_EQ(IdsOf(Machine("solo").path), Ids({4, 3}));
    Machine("solo").path.clear();
    manager.Update();
    EXPECT_TRUE(Machine("solo").path.empty()) << "planned already: no new search";
    Machine("solo").pathPlanned = false;
    manager.Update();
    EXPECT_EQ(manager.currentEnemy, enemy);
    EXPECT_EQ(IdsOf(Machine("solo").path), Ids({4, 3}));
}

TEST(SplicePath, AFreshPathThatContinuesTheOldOneDropsItsStart) {
    auto path = [](const Ids& ids) {
        std::vector<GraphNode> nodes(ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) nodes[i].id = ids[i];
        return nodes;
    };
    struct Case { Ids old, fresh; int start; Ids result; };
    const Case cases[] = {
        {{1, 2, 3}, {2, 3, 5}, 2, {3, 5}},     // on the way from 2 to 3 already
        {{1, 2, 3}, {2, 4, 5}, 2, {2, 4, 5}},  // a different way: the whole fresh path
        {{1, 2}, {2, 3}, 2, {2, 3}},           // start is the old path's end
        {{}, {2, 3}, 2, {2, 3}},
        {{1, 2, 3}, {}, 2, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(IdsOf(SplicePath(path(c.old), path(c.fresh), c.start)), c.result);
}

TEST(SightAimPoint, TheBoxCentreAndForThePlayerItsHalfHeight) {
    GameObject bare("bare");
    bare.trans = Vector(1, 2, 3);
    EXPECT_EQ(SightAimPoint(bare, true).y, 2.0f) << "no CollisionComp: its trans";
    CollisionComp collision;
    collision.obb = OBB(Vector(0, 4, 1), Vector(1, 3, 1));
    bare.AttachComponent(collision);
    const Vector enemy = SightAimPoint(bare, false);
    EXPECT_TRUE(enemy.x == 1 && enemy.y == 6 && enemy.z == 4);
    EXPECT_EQ(SightAimPoint(bare, true).y, 9.0f);
}

TEST_F(BehaviorFrames, LineOfSightComesFromTheHitsOfTheRayAimedFromTheEnemy) {
    const unsigned player = Add(Thing("player", Vector(0, 0, 20), true, false));
    const unsigned enemy = Add(Thing("watcher", Vector(), true, true));
    const unsigned rock = Add(Thing("rock", Vector(0, 0, 10), false, false));
    CollisionManager& collision = *Module<CollisionManager>::Instance();
    manager.Update();  // chooses the watcher and aims from it
    const Ray ray = collision.GetSightRay(nullptr);
    EXPECT_TRUE(ray.origin.z == 0 && ray.direction.z == 20) << "from the enemy, the player at t = 1";

    struct Case { std::vector<RayIntersectRecord> records; bool sees; };
    const Case cases[] = {
        {{Hit(player, 0.95f)}, true},
        {{Hit(rock, 0.5f), Hit(player, 0.95f)}, false},   // an obstacle between blocks
        {{Hit(rock, -0.5f), Hit(player, 0.95f)}, true},   // one behind the enemy does not
        {{Hit(enemy, 0.1f), Hit(player, 0.95f)}, true},   // nor the enemy itself
        {{Hit(player, -0.2f)}, true},                     // a player whose sphere holds the enemy
        {{}, false},
        {{Hit(rock, 0.5f)}, false},
    };
    for (const Case& c : cases) {
        // The test stands in for the collision thread: it answers the ray
        // the last Update set, then runs the next frame.
        unsigned sequence = 0;
        collision.GetSightRay(&sequence);
        collision.PublishSightRecords(c.records, sequence);
        manager.Update();
        EXPECT_EQ(Machine("watcher").hasLineOfSight, c.sees) << &c - cases;
    }
    // Hits for a ray this module never set leave the flag as it is.
    collision.PublishSightRecords({Hit(player, 0.9f)}, 1000000);
    manager.Update();
    EXPECT_FALSE(Machine("watcher").hasLineOfSight);
}

// The same through the real collision pass, run after the behaviour update
// as the collision thread runs beside it; the test turns picking on as the
// in-game state will.
class SightThroughCollision : public test_support::CollisionScene {
protected:
    void SetUp() override {
        CollisionScene::SetUp();
        manager.Init();
        Set(CollisionManager::kPickOn, true);
    }
    void TearDown() override {
        manager.Kill();
        CollisionScene::TearDown();
    }
    BehaviorManager manager;
};

TEST_F(SightThroughCollision, AnObstacleBetweenBlocksAndOneBehindDoesNot) {
    using test_support::SceneObject;
    test_support::AddToScene(SceneObject("player").Sphere(2));
    test_support::AddToScene(SceneObject("watcher").Sphere(2));
    test_support::AddToScene(SceneObject("rock").Sphere(3));
    test_support::AddToScene(SceneObject("wall").Box(5, 5, 1));
    Live("watcher").AttachComponent(StatsComp());
    Live("watcher").AttachComponent(BehaviorComp());
    const Vector aside(100, 0, 0), ahead(0, 0, 20);
    struct Case { Vector player, rock, wall; bool sees; };
    const Case cases[] = {
        {ahead, aside, aside * 2, true},
        {ahead, Vector(0, 0, 10), aside * 2, false},   // a sphere between
        {ahead, Vector(0, 0, -10), aside * 2, true},   // a sphere behind the enemy
        {ahead, aside, Vector(0, 0, 10), false},       // a box between
        {Vector(0, 0, 1), Vector(0, 0, -10), aside * 2, true},  // the player's sphere holds the enemy
    };
    for (const Case& c : cases) {
        Live("player").trans = c.player;
        Live("rock").trans = c.rock;
        Live("wall").trans = c.wall;
        // The ray aimed in the first frame sees the moved objects; the second frame reads its hits.
        for (int frame = 0; frame < 2; ++frame) manager.Update(), collision.Update();
        EXPECT_EQ(Machine("watcher").hasLineOfSight, c.sees) << &c - cases;
    }
}

// --- The expiry state

TEST_F(LiveWorld, ExpiryKillsAtTheFirstUpdateAfterTheLifetimeRanOut) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
    struct Case { double lifetime; int killedAt; };
    for (const Case& c : {Case{0.5, 4}, {0.0, 1}, {kNaN, 1}, {kInf, 1}}) {  // 0.5: 0.3, 0.1, -0.1, then killed
        GameObject shot("shot");
        PhysicsComp body;
        body.linearVel = Vector(5, 0, 0, 0);
        shot.AttachComponent(body);
        Add(shot);
        platform::SetClockTime(100.0);
        StateExpire expire("shot", c.lifetime);
        for (int update = 1; update <= c.killedAt; ++update) {
            platform::SetClockTime(100.0 + 0.2 * update);
            ObjectLock lock;
            expire.Update();
            EXPECT_EQ(Objects().GetGameObject("shot")->isDead, update == c.killedAt) << c.lifetime;
        }
        if (c.killedAt == 4) { EXPECT_NEAR(expire.lifetime, -0.1, 1e-3); }
        EXPECT_EQ(Live("shot").GetPhysicsComp()->linearVel.x, 0.0f);
        ClearObjects();
    }
    StateExpire orphan("nobody", 0.0);
    ObjectLock lock;
    orphan.Update();  // an owner that has gone: nothing to do, nothing to crash on
    EXPECT_FALSE(orphan.finished);
}

}  // namespace
