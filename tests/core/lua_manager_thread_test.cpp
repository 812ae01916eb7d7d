// The interpreter shared by the level loader's thread (files) and the main
// thread ("DoString" events, strings): a lost or torn update shows in a count.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/lua_probe.h"

using namespace lua_test;

namespace {

const int kRuns = 400;

class LuaManagerThreadTest : public LuaTest {};

TEST_F(LuaManagerThreadTest, LoaderFilesAndMainThreadStringsTakeTurnsAndKillIsSafe) {
    test_support::TempFolder folder;
    folder.WriteFile("level.lua",
                     "local sum = bind.Vector(0, 0, 0)\n"
                     "for i = 1, 20 do sum = sum + bind.Vector(i, 0, 0) end\n"
                     "fromFile = (fromFile or 0) + 1\n"
                     "for i = 1, sum * bind.Vector(1, 0, 0) do total = (total or 0) + 1 end\n");
    const std::string script = folder.Path() + "/level.lua";
    std::thread loader([&] {
        for (int i = 0; i < kRuns; ++i) Lua().DoFile(script);
    });
    for (int i = 0; i < kRuns; ++i) {
        Lua().DoString("fromString = (fromString or 0) + 1 "
                       "for i = 1, 210 do total = (total or 0) + 1 end");
        Event e("Test", "LuaManager", "DoString");
        e.SetParam<std::string>("expr", "fromEvent = (fromEvent or 0) + 1");
        Events().PublishEvent(e);
        Lua().Update();
        if (i % 100 == 0) Lua().DumpStack();
    }
    loader.join();
    EXPECT_EQ(LuaEval("return fromFile .. ' ' .. fromString .. ' ' .. fromEvent .. ' ' .. total"),
              std::to_string(kRuns) + " " + std::to_string(kRuns) + " " + std::to_string(kRuns) +
                  " " + std::to_string(kRuns * 420));
    EXPECT_EQ(newLog.Text().find("Error"), std::string::npos);

    // Kill while the loader runs: each file run completes or finds no state.
    std::thread again([&] {
        for (int i = 0; i < kRuns; ++i) Lua().DoFile(script);
    });
    for (int i = 0; i < 20; ++i) {
        Lua().Kill();
        Lua().Init();
    }
    again.join();
    EXPECT_EQ(newLog.Text().find("Error executing"), std::string::npos) << newLog.Text();
}

}  // namespace
