// The world running itself on level 1: the real frame loop with its worker
// threads (physics moving the bodies, the collision thread answering the
// enemies' sight rays), the spawn points releasing a wave, the enemies
// planning their paths, and shots expiring on the settable clock; while
// paused, objects stay queued. No OpenGL context. Run under ThreadSanitizer
// too.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include <tinyxml.h>

#include "aistuff/state_expire.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "level.h"
#include "object_manager.h"
#include "objects/components.h"
#include "spawn_manager.h"
#include "support/running_level.h"
#include "system.h"
#include "xml_file.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
BehaviorManager& Behavior() { return *Module<BehaviorManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

class LevelOneRunning : public test_support::RunningLevelOne {
protected:
    void PrepareWorld() override {
        Module<SpawnManager>::Instance()->Init();
        // Picking on, as the in-game state sets it when play starts.
        Event pick("test", "CollisionManager", CollisionManager::kSetEvent);
        pick.SetParam<bool>(CollisionManager::kPickOn, true);
        Module<EventManager>::Instance()->PublishEvent(pick);
    }
    void TearDown() override {
        Module<SpawnManager>::Instance()->Kill();
        RunningLevelOne::TearDown();
    }
    static GameObject Shot(const std::string& name, double lifetime) {
        GameObject shot(name);
        shot.AttachComponent(PhysicsComp());
        BehaviorComp behavior;
        behavior.sm.Push(new StateExpire(name, lifetime));
        shot.AttachComponent(behavior);
        return shot;
    }
    // An object at `offset` from the player with the given volume: an enemy
    // of its own (stats and behaviour) or scenery.
    static void AddNearPlayer(const std::string& name, const Vector& offset, const CollisionComp& volume, bool enemy) {
        GameObject object(name);
        {
            ObjectLock lock;
            object.trans = Objects().GetGameObject("player")->trans + offset;
        }
        object.AttachComponent(volume);
        if (enemy) object.AttachComponent(StatsComp()), object.AttachComponent(BehaviorComp());
        Objects().AddGameObject(object);
    }
    static bool Sees(const std::string& name) {
        ObjectLock lock;
        return Objects().GetGameObject(name)->GetBehaviorComp()->sm.hasLineOfSight;
    }
    static int CountPrefixed(const std::string& prefix, bool deadOnly) {
        ObjectLock lock;
        int count = 0;
        for (const auto& entry : Objects().gameObjectList)
            count += entry.second.name.rfind(prefix, 0) == 0 && (!deadOnly || entry.second.isDead);
        return count;
    }
};

// While paused, queued objects wait; the first unpaused frame registers them
// last queued first.
TEST_F(LevelOneRunning, QueuedObjectsWaitWhilePausedThenFramesSpawnPlanAndExpireWithoutAnError) {
    Sys().Pause(true);
    for (const char* name : {"qa", "qb", "qc"}) Behavior().QueueGameObject(GameObject(name));
    Frame();
    Frame();
    EXPECT_EQ(CountPrefixed("q", false), 0);
    Sys().Pause(false);
    Event wave("test", "SpawnManager", SpawnManager::kDistributeObjects);
    wave.SetParam(SpawnManager::kParamNumber, 6);
    wave.SetParam(SpawnManager::kParamPattern, std::string("MediumMech"));
    Module<EventManager>::Instance()->PublishEvent(wave);
    // One enemy in the open south of the player, one east of it behind a wall.
    CollisionComp sphere, wall;
    sphere.hasBoundSphere = true;
    sphere.boundSphere.radius = 5;
    wall.hasOBB = true;
    wall.obb = OBB(Vector(), Vector(5, 40, 40));
    AddNearPlayer("watcher", Vector(0, 0, -60), sphere, true);
    AddNearPlayer("hidden", Vector(100, 0, 0), sphere, true);
    AddNearPlayer("wall", Vector(50, 0, 0), wall, false);
    for (int frame = 0; frame < 300; ++frame) {
        // A shot every 10 frames, living 0.5 s: those of the first 260 frames are gone.
        if (frame % 10 == 0 && frame < 260) Behavior().QueueGameObject(Shot("shot" + std::to_string(frame), 0.5));
        Frame();
    }
    EXPECT_EQ(CountPrefixed("shot", true), 26);
    EXPECT_GE(CountPrefixed("MediumMech", false), 2);
    EXPECT_NE(Behavior().playerNode, 0);
    EXPECT_TRUE(Sees("watcher"));
    EXPECT_FALSE(Sees("hidden"));
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
    ObjectLock lock;
    int planned = 0;
    for (const auto& entry : Objects().gameObjectList) {
        const BehaviorComp* behavior = entry.second.GetBehaviorComp();
        planned += entry.second.GetStatsComp() && behavior && !behavior->sm.path.empty();
    }
    EXPECT_GE(planned, 1);
    EXPECT_NE(Objects().GetObjectNumber("qc"), 0u);
    EXPECT_LT(Objects().GetObjectNumber("qc"), Objects().GetObjectNumber("qb"));
    EXPECT_LT(Objects().GetObjectNumber("qb"), Objects().GetObjectNumber("qa"));
}

// The loader's side of a level load fills a graph of its own and swaps it in
// while the main thread's planning turns search the current one.
TEST_F(LevelOneRunning, ALoadSwapsInItsGraphWhileTheTurnsSearch) {
    TiXmlDocument document;
    std::string reason;
    ASSERT_TRUE(LoadXmlFile(document, "./resource/levels/level1.xml", reason)) << reason;
    const std::size_t nodes = Behavior().navGraph.nodes.size();
    for (int i = 0; i < 3; ++i) {
        GameObject enemy("hunter" + std::to_string(i));
        enemy.trans = Vector(400.0f + 300.0f * float(i), 0, 1500);
        enemy.AttachComponent(StatsComp());
        enemy.AttachComponent(BehaviorComp());
        Objects().AddGameObject(enemy);
    }
    std::atomic<bool> loaded{false};
    std::thread loader([&] {
        for (int load = 0; load < 20; ++load) {
            NavGraph graph;
            LoadNavGraph(graph, *document.RootElement());
            Behavior().ReplaceNavGraph(graph);
        }
        loaded.store(true);
    });
    // The player jumps between two corners, so every turn searches anew.
    for (int frame = 0; !loaded.load() || frame < 10; ++frame) {
        {
            ObjectLock lock;
            Objects().GetGameObject("player")->trans = frame % 2 ? Vector(300, 0, 300) : Vector(1700, 0, 1700);
        }
        Frame();
    }
    loader.join();
    ObjectLock lock;
    EXPECT_EQ(Behavior().navGraph.nodes.size(), nodes);
    EXPECT_FALSE(Objects().GetGameObject("hunter0")->GetBehaviorComp()->sm.path.empty());
}

}  // namespace
