// A fresh ObjectManager (and event queues) per test, with the log captured.
#pragma once

#include <gtest/gtest.h>

#include "event_manager.h"
#include "object_manager.h"
#include "support/log_capture.h"

namespace objects_test {

inline EventManager& Events() { return *Module<EventManager>::Instance(); }

class FreshObjectManager : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Kill();
        Events().Init();
        manager.Init();
    }
    void TearDown() override {
        manager.Kill();
        Events().Kill();
    }
    test_support::LogCapture log;
    ObjectManager manager;
};

}  // namespace objects_test
