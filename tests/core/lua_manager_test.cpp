// The LuaManager: running strings and files, the "DoString" event, the error
// reports and stack dumps, the stack staying flat, and a missing state.
#include <gtest/gtest.h>

#include <string>

#include "core/lua_probe.h"

using namespace lua_test;

namespace {

const std::string kEmptyDump = "-1:\tnone\n-2:\tnone\n-3:\tnone\n-4:\tnone\n-5:\tnone\n";

void SendDoString(const std::string& expr) {
    Event e("Test", "LuaManager", "DoString");
    e.SetParam<std::string>("expr", expr);
    Events().PublishEvent(e);
}

class LuaManagerTest : public LuaTest {};

TEST_F(LuaManagerTest, DoStringEventsShareOneInterpreter) {
    SendDoString("shared = 40");
    Lua().Update();
    SendDoString("shared = shared + 2");
    Event other("Test", "LuaManager", "Something Else");
    other.SetParam<std::string>("expr", "shared = 0");
    Events().PublishEvent(other);
    Lua().Update();

    EXPECT_EQ(LuaEval("return shared"), "42");
    EXPECT_EQ(newLog.Text().find("Error executing string"), std::string::npos);
}

TEST_F(LuaManagerTest, DoStringEventWithoutExprIsDroppedAndLaterOnesRun) {
    Events().PublishEvent(Event("Test", "LuaManager", "DoString"));
    Event wrongType("Test", "LuaManager", "DoString");
    wrongType.SetParam<int>("expr", 5);
    Events().PublishEvent(wrongType);
    SendDoString("after = 'ran'");
    Lua().Update();

    EXPECT_EQ(LuaEval("return after"), "ran");
    EXPECT_TRUE(InOrder(newLog.Text(), {"WARNING: ", "DoString", "expr", "WARNING: ", "DoString", "expr"}))
        << newLog.Text();
}

TEST_F(LuaManagerTest, FailingStringGivesItsReportsInOrderAndPlayGoesOn) {
    Lua().DoString("x = = 1");
    EXPECT_TRUE(InOrder(newLog.Text(), {"WARNING: lua_manager.cpp:", "Error executing string: \n",
                                   "lua_tostring(Lstate, -1) = attempt to call a string value\n",
                                   "Lua stack trace\n",
                                   "-1:\tattempt to call a string value\n-2:\tnone\n",
                                   "ERROR: lua_manager.cpp:", "fatal error, terminating\n"}))
        << newLog.Text();

    newLog.Restart();
    Lua().DoString("error('boom at runtime')");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing string", "lua_tostring(Lstate, -1) = ",
                                   "boom at runtime", "-1:\t", "boom at runtime", "-2:\tnone"}))
        << newLog.Text();

    EXPECT_EQ(LuaEval("return 1 + 1"), "2");
}

TEST_F(LuaManagerTest, MissingFileReportsTheLoadAndThenTheCall) {
    Lua().DoFile("./scripts/no_such_script.lua");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error loading file: \n",
                                   "lua_tostring(Lstate, -1) = cannot open ./scripts/no_such_script.lua",
                                   "Lua stack trace\n", "-1:\tcannot open", "-2:\tnone",
                                   "ERROR: lua_manager.cpp:", "Error executing file: \n",
                                   "lua_tostring(Lstate, -1) = attempt to call a string value\n",
                                   "Lua stack trace\n", "-2:\tnone", "ERROR: lua_manager.cpp:"}))
        << newLog.Text();
    EXPECT_EQ(LuaEval("return 'still running'"), "still running");
}

TEST_F(LuaManagerTest, DoFileRunsTheFileAndReportsItsRuntimeError) {
    test_support::TempFolder folder;
    folder.WriteFile("good.lua", "fromFile = bind.Vector(1, 2, 3) * bind.Vector(1, 1, 1)\n");
    folder.WriteFile("bad.lua", "local t = nil\nreturn t.field\n");

    Lua().DoFile(folder.Path() + "/good.lua");
    EXPECT_EQ(LuaEval("return fromFile"), "6");
    EXPECT_EQ(newLog.Text().find("Error"), std::string::npos) << newLog.Text();

    Lua().DoFile(folder.Path() + "/bad.lua");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing file: \n", "bad.lua:2: attempt to index",
                                   "Lua stack trace"}))
        << newLog.Text();
    EXPECT_EQ(newLog.Text().find("Error loading file"), std::string::npos);
}

TEST_F(LuaManagerTest, DumpStackOfAnEmptyStackShowsFiveNones) {
    Lua().DumpStack();
    EXPECT_EQ(newLog.Text(), "Lua stack trace\n\n" + kEmptyDump + "\n");
}

// Every slot description, shown through the error value at the top of the
// stack; a coroutine gives no line at all.
TEST_F(LuaManagerTest, DumpDescribesEachKindOfValue) {
    struct Case {
        const char* chunk;
        const char* line;
    };
    const Case cases[] = {
        {"error(42, 0)", "-1:\t42\n"},
        {"error({})", "-1:\tLua Table: 0x"},
        {"error(print)", "-1:\tC function: 0x"},
        {"error(function() end)", "-1:\tLua Function: 0x"},
        {"error(bind.Vector())", "-1:\tUser Data: 0x"},
        {"error(true)", "-1:\tbool: true\n"},
        {"error(nil)", "-1:\tnil\n"},
        {"error(coroutine.create(function() end))", "Lua stack trace\n\n-2:\tnone\n"},
    };
    for (const Case& c : cases) {
        newLog.Restart();
        Lua().DoString(c.chunk);
        EXPECT_NE(newLog.Text().find(c.line), std::string::npos) << c.chunk << "\n" << newLog.Text();
    }
    newLog.Restart();
    Lua().DoString("error({})");
    EXPECT_NE(newLog.Text().find("lua_tostring(Lstate, -1) = \n"), std::string::npos) << newLog.Text();
}

// Results and error values are not left behind: however many calls ran,
// the stack is empty again and an error dump shows only its own error.
TEST_F(LuaManagerTest, StackDoesNotGrowOverManyCalls) {
    test_support::TempFolder folder;
    folder.WriteFile("results.lua", "return 1, 2, 3\n");
    for (int i = 0; i < 300; ++i) {
        Lua().DoString("return 1, 'two', {}, bind.Vector()");
        Lua().DoFile(folder.Path() + "/results.lua");
        if (i % 50 == 0) Lua().DoString("error('first')");
    }
    Lua().DoString("error('second', 0)");
    const std::string log = newLog.Text();
    EXPECT_NE(log.find("-1:\tsecond\n-2:\tnone\n"), std::string::npos);

    newLog.Restart();
    Lua().DumpStack();
    EXPECT_EQ(newLog.Text(), "Lua stack trace\n\n" + kEmptyDump + "\n");
}

TEST_F(LuaManagerTest, MissingStateIsReportedNeverUsed) {
    Lua().DoString("kept = 1");
    Lua().Kill();
    newLog.Restart();
    Lua().DoString("kept = 2");
    Lua().DoFile("./scripts/anything.lua");
    Lua().DumpStack();
    const std::string log = newLog.Text();
    EXPECT_TRUE(InOrder(log, {"ERROR: ", "no Lua state", "DoString", "ERROR: ", "DoFile",
                              "ERROR: ", "DumpStack"}))
        << log;
    EXPECT_EQ(log.find("Lua stack trace"), std::string::npos);

    Lua().Kill();  // a second Kill closes nothing
    Lua().Init();  // a fresh interpreter: the old globals are gone
    EXPECT_EQ(LuaEval("return kept"), "nil");
}

TEST_F(LuaManagerTest, SecondInitKeepsTheOpenInterpreter) {
    Lua().DoString("kept = 'yes'");
    Lua().Init();
    EXPECT_NE(newLog.Text().find("RegisterClient: duplicate client found!"), std::string::npos);
    EXPECT_EQ(LuaEval("return kept"), "yes");
    Lua().Kill();  // drops the duplicate registration; TearDown drops the other
}

TEST_F(LuaManagerTest, StandardLibrariesAndBindAreOpen) {
    EXPECT_EQ(LuaEval("return string.upper('ok') .. math.floor(2.5) .. type(os.time)"),
              "OK2function");
    EXPECT_EQ(LuaEval("return type(bind) .. ' ' .. type(swig_type) .. ' ' .. type(swig_equals)"),
              "table function function");
}

}  // namespace
