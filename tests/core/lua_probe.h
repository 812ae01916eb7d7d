// Test helpers for the scripting layer. LuaEval reads a value out of the
// interpreter through its public surface only: the probe chunk runs `body`
// as a function under pcall and publishes the tostring() of its result (or
// "error: " and the message) as an event to the client "LuaProbe", which the
// test then polls.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>

#include "event_manager.h"
#include "lua_manager.h"
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

// True when `needles` occur in `text` in the given order.
inline bool InOrder(const std::string& text, std::initializer_list<std::string> needles) {
    std::string::size_type at = 0;
    for (const std::string& needle : needles) {
        at = text.find(needle, at);
        if (at == std::string::npos) return false;
        at += needle.size();
    }
    return true;
}

// Keeps the error-log files that System::Error writes out of the real
// profile folder, and gives every test a fresh interpreter.
class LuaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempFolder();
        setenv("UserProfile", profile->Path().c_str(), 1);
    }
    static void TearDownTestSuite() {
        delete profile;
        profile = nullptr;
    }
    void SetUp() override {
        Lua().Init();
        logStart = Sys().GetLogText().size();
    }
    void TearDown() override { Lua().Kill(); }

    // The log written since SetUp.
    std::string NewLog() const { return Sys().GetLogText().substr(logStart); }

    static inline test_support::TempFolder* profile = nullptr;
    std::string::size_type logStart = 0;
};

}  // namespace lua_test
