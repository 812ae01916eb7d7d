// Two threads build, copy and destroy objects against the same pools at once.
// A pool entry must never be held by two objects: every entry in use is
// registered in a shared table when it is attached and removed before it is
// given back, so an entry handed out twice shows up as a clash. Run under
// ThreadSanitizer, this also checks the pools for data races.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "component_list.h"
#include "module.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "system.h"
#include "weapons.h"

namespace {

class HeldEntries {
public:
    // False when the entry is already held by someone else.
    bool Take(const Component* entry, int owner) {
        std::lock_guard<std::mutex> guard(mutex);
        return held.emplace(entry, owner).second;
    }
    void Give(const Component* entry) {
        std::lock_guard<std::mutex> guard(mutex);
        held.erase(entry);
    }

private:
    std::mutex mutex;
    std::map<const Component*, int> held;
};

struct WorkerResult {
    int clashes = 0;
    int wrongValues = 0;
};

// Keeps a batch of objects alive, checks that each still holds its own
// values, then destroys them; the copies go through the pools too.
void Work(int marker, HeldEntries& table, WorkerResult& result) {
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
            for (Component* entry : {batch.back()->GetComponent(CompIndex::Pickup),
                                     batch.back()->GetComponent(CompIndex::Weapon)}) {
                if (!table.Take(entry, marker)) ++result.clashes;
            }
        }
        for (int i = 0; i < 25; ++i) {
            GameObject& object = *batch[i];
            auto* pickup = static_cast<PickupComp*>(object.GetComponent(CompIndex::Pickup));
            if (pickup->value != marker * 1000 + i) ++result.wrongValues;
            if (object.GetWeaponComp()->primary->owner != armed.primary->owner) ++result.wrongValues;
            table.Give(pickup);
            table.Give(object.GetWeaponComp());
        }
    }
}

TEST(ComponentPoolThreads, TwoThreadsNeverShareAnEntry) {
    // Made once before any worker, as at start-up.
    Module<System>::Instance()->running.store(false);
    ComponentList::Instance();
    HeldEntries table;
    WorkerResult first, second;
    std::thread a(Work, 1, std::ref(table), std::ref(first));
    std::thread b(Work, 2, std::ref(table), std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(0, first.clashes);
    EXPECT_EQ(0, second.clashes);
    EXPECT_EQ(0, first.wrongValues);
    EXPECT_EQ(0, second.wrongValues);
}

}  // namespace
