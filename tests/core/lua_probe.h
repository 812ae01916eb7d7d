// Test helpers for the scripting layer. LuaEval runs `body` as a function
// under pcall and publishes the tostring() of its result (or "error: " and
// the message) to the client "LuaProbe", which it then polls.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "event_manager.h"
#include "lua_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "system.h"

namespace lua_test {

inline LuaManager& Lua() { return *Module<LuaManager>::Instance(); }
inline EventManager& Events() { return *Module<EventManager>::Instance(); }
using test_support::InOrder;

inline std::string LuaEval(const std::string& body) {
    Events().PollEvents("LuaProbe");  // drop leftovers of earlier probes
    Lua().DoString("local function probe()\n" + body +
                   "\nend\nlocal ok, result = pcall(probe)\n"
                   "local e = bind.Event('Lua', 'LuaProbe', 'Result')\n"
                   "e:SetString('value', ok and tostring(result) or ('error: ' .. tostring(result)))\n"
                   "bind.Module_EventManager_Instance():PublishEvent(e)\n");
    std::deque<Event> results = Events().PollEvents("LuaProbe");
    return results.size() == 1 ? results.front().GetString("value") : "<no result>";
}

// A fresh interpreter per test, the log written since it began, and a
// profile folder of the suite's own for anything the scripts save.
class LuaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { profile = std::make_unique<test_support::TempProfile>(); }
    static void TearDownTestSuite() { profile.reset(); }
    void SetUp() override {
        Lua().Init();
        newLog.Restart();
    }
    void TearDown() override { Lua().Kill(); }

    static inline std::unique_ptr<test_support::TempProfile> profile;
    test_support::LogCapture newLog;
};

}  // namespace lua_test
