// Test helpers for the scripting layer. LuaEval reads a value out of the
// interpreter through its public surface only: the probe chunk runs `body`
// as a function under pcall and publishes the tostring() of its result (or
// "error: " and the message) as an event to the client "LuaProbe", which the
// test then polls.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "event_manager.h"
#include "lua_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "system.h"

namespace lua_test {

inline System& Sys() { return *Module<System>::Instance(); }
inline LuaManager& Lua() { return *Module<LuaManager>::Instance(); }
inline EventManager& Events() { return *Module<EventManager>::Instance(); }

inline std::string LuaEval(const std::string& body) {
    Events().PollEvents("LuaProbe");  // drop leftovers of earlier probes
    Lua().DoString(
        "local function probe()\n" + body +
        "\nend\n"
        "local ok, result = pcall(probe)\n"
        "local e = bind.Event('Lua', 'LuaProbe', 'Result')\n"
        "e:SetString('value', ok and tostring(result) or ('error: ' .. tostring(result)))\n"
        "bind.Module_EventManager_Instance():PublishEvent(e)\n");
    std::deque<Event> results = Events().PollEvents("LuaProbe");
    if (results.size() != 1) return "<no result>";
    return results.front().GetString("value");
}

using test_support::InOrder;

// Gives every test a fresh interpreter and the log written since it began,
// with a profile folder of the suite's own for anything the scripts save.
class LuaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { profile = new test_support::TempProfile(); }
    static void TearDownTestSuite() {
        delete profile;
        profile = nullptr;
    }
    void SetUp() override {
        Lua().Init();
        newLog.Restart();
    }
    void TearDown() override { Lua().Kill(); }

    static inline test_support::TempProfile* profile = nullptr;
    test_support::LogCapture newLog;  // from the end of SetUp
};

}  // namespace lua_test
