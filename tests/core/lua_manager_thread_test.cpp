// The interpreter shared by two threads: the level loader runs script files
// while the main thread runs "DoString" events and strings. Every run must
// see the other's effects whole: a lost or torn update shows in the count.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/lua_probe.h"

using namespace lua_test;

namespace {

const int kRuns = 400;

class LuaManagerThreadTest : public LuaTest {};

TEST_F(LuaManagerThreadTest, LoaderFilesAndMainThreadStringsTakeTurns) {
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
}

// Kill on the main thread while the loader still runs files: each file run
// either completes or finds no state; nothing touches a closed state.
TEST_F(LuaManagerThreadTest, KillWhileTheLoaderRunsIsSafe) {
    test_support::TempFolder folder;
    folder.WriteFile("level.lua", "local v = bind.Vector(1, 2, 3) * 2 runs = (runs or 0) + 1\n");
    const std::string script = folder.Path() + "/level.lua";

    std::thread loader([&] {
        for (int i = 0; i < kRuns; ++i) Lua().DoFile(script);
    });
    for (int i = 0; i < 20; ++i) {
        Lua().Kill();
        Lua().Init();
    }
    loader.join();
    EXPECT_EQ(newLog.Text().find("Error executing"), std::string::npos) << newLog.Text();
}

}  // namespace
