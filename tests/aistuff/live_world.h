// The running game's object table, emptied before and after each test, with
// fresh event queues and the log captured; and builders for the objects the
// behaviour and spawn tests place in it. Single-threaded tests still take the
// object lock wherever the table's contract asks for it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/log_capture.h"
#include "support/stopped_clock.h"

namespace live_world {

inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline EventManager& Events() { return *Module<EventManager>::Instance(); }

inline void ClearObjects() {
    ObjectLock lock;
    Objects().ClearGameObjects();
}

// Registers the object; its number, or 0 when it was refused.
inline unsigned Add(const GameObject& object) {
    Objects().AddGameObject(object);
    ObjectLock lock;
    return Objects().GetObjectNumber(object.name);
}

// The registered object; the reference outlives the lock only because no
// other thread runs in these tests.
inline GameObject& Live(const std::string& name) {
    ObjectLock lock;
    return *Objects().GetGameObject(name);
}

inline bool Has(const std::string& name) {
    ObjectLock lock;
    return Objects().HasGameObject(name);
}

// An object at `trans` with an optional StatsComp (which makes it an enemy
// to the planning turn) and an optional BehaviorComp with an empty stack.
inline GameObject Thing(const std::string& name, const Vector& trans, bool stats, bool behavior) {
    GameObject object(name);
    object.trans = trans;
    if (stats) object.AttachComponent(StatsComp());
    if (behavior) object.AttachComponent(BehaviorComp());
    return object;
}

class LiveWorld : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Kill();
        Events().Init();
        Objects().Init();
        ClearObjects();
    }
    void TearDown() override {
        ClearObjects();
        Objects().Kill();
        Events().Kill();
    }
    test_support::LogCapture log;
    test_support::StoppedClock stoppedClock;  // tests set the time
};

}  // namespace live_world
