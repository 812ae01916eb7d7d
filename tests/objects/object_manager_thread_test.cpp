// The object table shared across threads: registrations and kills on some
// threads while others walk the table under the object lock, as the frame,
// the physics and collision threads, the loader and scripts do. Run under
// ThreadSanitizer, which reports any access outside the lock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "objects/object_manager_fixture.h"

namespace {

EventManager& Events() { return *Module<EventManager>::Instance(); }

class ObjectManagerThreads : public objects_test::FreshObjectManager {
protected:
    // Under the lock: every stored object sits under its own number, and the
    // name index agrees with the table both ways. Returns the objects seen.
    std::size_t CheckTable(int& faults) {
        ObjectLock guard(manager);
        for (const GameObjectList::value_type& entry : manager.gameObjectList) {
            const GameObject& object = entry.second;
            if (object.objNum != entry.first) ++faults;
            if (manager.GetObjectNumber(object.name) != entry.first) ++faults;
            if (manager.GetObjectName(entry.first) != object.name) ++faults;
            if (!object.GetPhysicsComp() || object.GetPhysicsComp()->isFree.load()) ++faults;
        }
        return manager.gameObjectList.size();
    }
};

// The mutex is not fair: two threads re-taking it back to back can starve
// the writer for a long time under ThreadSanitizer. A short pause between
// passes keeps the overlap without the starvation.
void Breathe() { std::this_thread::sleep_for(std::chrono::microseconds(50)); }

GameObject Body(const std::string& name) {
    GameObject object(name);
    object.AttachComponent(PhysicsComp());
    object.AttachComponent(StatsComp());
    return object;
}

TEST_F(ObjectManagerThreads, AddingAndKillingWhileAnotherThreadWalksTheTable) {
    const int kObjects = 1500;
    std::atomic<bool> done{false};
    std::atomic<bool> walking{false};
    int killed = 0;

    std::thread writer([&] {
        while (!walking.load()) std::this_thread::yield();  // make sure the two overlap
        for (int i = 0; i < kObjects; ++i) {
            manager.AddGameObject(Body("obj" + std::to_string(i)));
            if (i % 3 != 2) continue;
            ObjectLock guard(manager);
            const std::string victim = "obj" + std::to_string(i - 2);
            if (manager.HasGameObject(victim)) {
                manager.KillGameObject(*manager.GetGameObject(victim));
                ++killed;
            }
            manager.RemoveDeadGameObjects();
        }
        done.store(true);
    });

    int faults = 0;
    std::thread walker([&] {
        do {
            CheckTable(faults);
            walking.store(true);
            Breathe();
        } while (!done.load());
    });

    // Scripts take the lock through Lock/Unlock and move objects.
    std::thread script([&] {
        while (!done.load()) {
            manager.Lock();
            for (GameObjectList::value_type& entry : manager.gameObjectList)
                entry.second.trans = entry.second.trans + Vector(0, 1, 0);
            manager.Unlock();
            Breathe();
        }
    });

    // Meanwhile this thread drains the announcements, as Physics does.
    std::size_t announced = 0;
    while (!done.load()) announced += Events().PollEvents(EventManager::kBroadcast).size();

    writer.join();
    walker.join();
    script.join();
    announced += Events().PollEvents(EventManager::kBroadcast).size();

    EXPECT_EQ(0, faults);
    EXPECT_EQ(static_cast<std::size_t>(killed), announced);
    EXPECT_EQ(killed, manager.enemiesKilled);
    EXPECT_EQ(static_cast<std::size_t>(kObjects - killed), CheckTable(faults));
    EXPECT_EQ(0, faults);
    EXPECT_FALSE(log.Has("ERROR"));
}

TEST_F(ObjectManagerThreads, ConcurrentRegistrationsGetDistinctConsecutiveNumbers) {
    const int kPerThread = 400;
    const int kThreads = 3;
    std::vector<std::thread> adders;
    for (int t = 0; t < kThreads; ++t) {
        adders.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i)
                manager.AddGameObject(Body("t" + std::to_string(t) + "_" + std::to_string(i)));
        });
    }
    // One name registered by every thread at once: exactly one may win.
    for (int t = 0; t < kThreads; ++t)
        adders.emplace_back([this] { manager.AddGameObject(Body("contested")); });
    for (std::thread& adder : adders) adder.join();

    ObjectLock guard(manager);
    std::set<unsigned> numbers;
    for (const GameObjectList::value_type& entry : manager.gameObjectList) numbers.insert(entry.first);
    const unsigned total = kThreads * kPerThread + 1;
    ASSERT_EQ(total, numbers.size());
    EXPECT_EQ(101u, *numbers.begin());
    EXPECT_EQ(100u + total, *numbers.rbegin());
    EXPECT_EQ(kThreads - 1, log.Count("game object with duplicate name!"));
}

}  // namespace
