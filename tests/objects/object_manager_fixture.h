// A fresh ObjectManager per test (not the module instance), with the event
// queues emptied so each test sees only its own "KillGameObject" events, and
// the log written since the test began.
#pragma once

#include <gtest/gtest.h>

#include "event_manager.h"
#include "object_manager.h"
#include "support/log_capture.h"

namespace objects_test {

class FreshObjectManager : public ::testing::Test {
protected:
    void SetUp() override {
        Queues().Kill();
        Queues().Init();
        manager.Init();
    }
    void TearDown() override {
        manager.Kill();
        Queues().Kill();
    }

    test_support::LogCapture log;
    ObjectManager manager;

private:
    static EventManager& Queues() { return *Module<EventManager>::Instance(); }
};

}  // namespace objects_test
