// Fresh event queues for the game-flow tests, with the three addressees the
// game states talk to registered, so that a test reads what was sent to the
// spawn module, the interface and GameLogic, in order. The log is captured.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "event_manager.h"
#include "support/log_capture.h"

namespace flow_test {

inline EventManager& Events() { return *Module<EventManager>::Instance(); }

// Every event now due for `client`, oldest first.
inline std::vector<Event> Poll(const std::string& client) {
    std::deque<Event> polled = Events().PollEvents(client);
    return std::vector<Event>(polled.begin(), polled.end());
}

inline std::vector<std::string> Types(const std::vector<Event>& events) {
    std::vector<std::string> types;
    for (const Event& event : events) types.push_back(event.eventType);
    return types;
}

class FlowQueues : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Kill();
        Events().Init();
        for (const char* client : {"SpawnManager", "InterfaceManager", "GameLogic"}) Events().RegisterClient(client);
        log.Restart();
    }
    void TearDown() override { Events().Kill(); }

    test_support::LogCapture log;
};

}  // namespace flow_test
