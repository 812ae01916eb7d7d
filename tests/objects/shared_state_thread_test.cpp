// The component pools and the object table, shared across threads as the
// frame, physics, loader and scripts share them. ThreadSanitizer reports races.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "component_list.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/fresh_object_manager.h"
#include "objects/components.h"
#include "support/log_capture.h"
#include "system.h"
#include "weapons.h"

namespace {

struct HeldEntries {
    std::mutex mutex;
    std::set<const Component*> held;
};

// Every entry held is in the table, so one handed out twice is a clash.
// Returns the clashes plus the objects that lost their own values.
int Work(int marker, HeldEntries& table) {
    int faults = 0;
    WeaponComp armed;
    armed.primary = new SimpleSpread();
    armed.primary->owner = "worker" + std::to_string(marker);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::unique_ptr<GameObject>> batch;
        for (int i = 0; i < 25; ++i) {
            GameObject local("local");
            PickupComp pickup;
            pickup.value = marker * 1000 + i;
            local.AttachComponent(pickup);
            local.AttachComponent(armed);
            batch.emplace_back(new GameObject(local));  // the copy allocates again
            std::lock_guard<std::mutex> guard(table.mutex);
            for (CompIndex::Entry kind : {CompIndex::Pickup, CompIndex::Weapon})
                faults += !table.held.insert(batch.back()->GetComponent(kind)).second;
        }
        for (int i = 0; i < 25; ++i) {
            GameObject& object = *batch[i];
            auto* pickup = static_cast<PickupComp*>(object.GetComponent(CompIndex::Pickup));
            faults += pickup->value != marker * 1000 + i;
            faults += object.GetWeaponComp()->primary->owner != armed.primary->owner;
            std::lock_guard<std::mutex> guard(table.mutex);
            table.held.erase(pickup);
            table.held.erase(object.GetWeaponComp());
        }
    }
    return faults;
}

TEST(ComponentPoolThreads, TwoThreadsNeverShareAnEntry) {
    Module<System>::Instance()->running.store(false);
    ComponentList::Instance();  // made once before any worker, as at start-up
    HeldEntries table;
    int first = -1, second = -1;
    std::thread a([&] { first = Work(1, table); });
    std::thread b([&] { second = Work(2, table); });
    a.join();
    b.join();
    EXPECT_EQ(0, first + second);
}

using objects_test::Events;

GameObject Body(const std::string& name) {
    GameObject object(name);
    object.AttachComponent(PhysicsComp());
    object.AttachComponent(StatsComp());
    return object;
}

class ObjectManagerThreads : public objects_test::FreshObjectManager {
protected:
    // Under the lock: each object sits under its own number and the name
    // index agrees both ways. Returns the objects seen.
    std::size_t CheckTable(int& faults) {
        ObjectLock guard(manager);
        for (const GameObjectList::value_type& entry : manager.gameObjectList) {
            const GameObject& object = entry.second;
            faults += object.objNum != entry.first || manager.GetObjectNumber(object.name) != entry.first ||
                      manager.GetObjectName(entry.first) != object.name || object.GetPhysicsComp()->isFree.load();
        }
        return manager.gameObjectList.size();
    }
};

// A pause between passes: the mutex is not fair, and back-to-back passes
// would starve the writer under ThreadSanitizer.
void Breathe() { std::this_thread::sleep_for(std::chrono::microseconds(50)); }

TEST_F(ObjectManagerThreads, AddingAndKillingWhileAnotherThreadWalksTheTable) {
    const int kObjects = 1500;
    std::atomic<bool> done{false}, walking{false};
    int killed = 0, faults = 0;
    std::thread writer([&] {
        while (!walking.load()) std::this_thread::yield();
        for (int i = 0; i < kObjects; ++i) {
            manager.AddGameObject(Body("obj" + std::to_string(i)));
            if (i % 3 != 2) continue;
            ObjectLock guard(manager);
            manager.KillGameObject(*manager.GetGameObject("obj" + std::to_string(i - 2)));
            ++killed;
            manager.RemoveDeadGameObjects();
        }
        done.store(true);
    });
    std::thread walker([&] {
        do {
            CheckTable(faults);
            walking.store(true);
            Breathe();
        } while (!done.load());
    });
    std::thread script([&] {  // scripts lock through Lock/Unlock and move objects
        while (!done.load()) {
            manager.Lock();
            for (GameObjectList::value_type& entry : manager.gameObjectList)
                entry.second.trans = entry.second.trans + Vector(0, 1, 0);
            manager.Unlock();
            Breathe();
        }
    });
    std::size_t announced = 0;  // drained meanwhile, as Physics does
    while (!done.load()) announced += Events().PollEvents(EventManager::kBroadcast).size();
    writer.join();
    walker.join();
    script.join();
    announced += Events().PollEvents(EventManager::kBroadcast).size();
    EXPECT_TRUE(static_cast<std::size_t>(killed) == announced && killed == manager.enemiesKilled);
    EXPECT_TRUE((static_cast<std::size_t>(kObjects - killed)) == CheckTable(faults) && faults == 0);
    EXPECT_FALSE(log.Has("ERROR"));
}

TEST_F(ObjectManagerThreads, ConcurrentRegistrationsGetDistinctConsecutiveNumbers) {
    const int kPerThread = 400, kThreads = 3;
    std::vector<std::thread> adders;
    for (int t = 0; t < kThreads; ++t) {
        adders.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i)
                manager.AddGameObject(Body("t" + std::to_string(t) + "_" + std::to_string(i)));
        });
        adders.emplace_back([this] { manager.AddGameObject(Body("contested")); });  // one may win
    }
    for (std::thread& adder : adders) adder.join();
    ObjectLock guard(manager);
    std::set<unsigned> numbers;
    for (const GameObjectList::value_type& entry : manager.gameObjectList) numbers.insert(entry.first);
    const unsigned total = kThreads * kPerThread + 1;
    ASSERT_EQ(total, numbers.size());
    EXPECT_TRUE((*numbers.begin()) == 101u && (100u + total) == (*numbers.rbegin()));
    EXPECT_EQ(kThreads - 1, log.Count("game object with duplicate name!"));
}

}  // namespace
