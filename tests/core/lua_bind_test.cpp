// The LuaManager and the script module bind: DoString events, error reports
// and stack dumps, the math types, SWIG errors, ownership of what scripts
// make, and the live world as scripts see it.
#include <gtest/gtest.h>

#include <string>

#include "core/lua_probe.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "weapons.h"

using namespace lua_test;

namespace {

const std::string kEmptyDump = "Lua stack trace\n\n-1:\tnone\n-2:\tnone\n-3:\tnone\n-4:\tnone\n-5:\tnone\n\n";

void SendDoString(const std::string& expr) {
    Event e("Test", "LuaManager", "DoString");
    e.SetParam<std::string>("expr", expr);
    Events().PublishEvent(e);
}

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// The game's patterns and an empty object table for every test.
class LuaBindTest : public LuaTest {
protected:
    static void SetUpTestSuite() {
        LuaTest::SetUpTestSuite();
        Objects().Init();
        Module<ResourceManager>::Instance()->Init();
    }
    void SetUp() override {
        LuaTest::SetUp();
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    void TearDown() override {
        EXPECT_FALSE(Objects().IsLockedByThisThread());
        LuaTest::TearDown();
    }
};

TEST_F(LuaBindTest, DoStringEventsShareOneInterpreterAndBadOnesAreDropped) {
    SendDoString("shared = 40");
    Lua().Update();
    Events().PublishEvent(Event("Test", "LuaManager", "DoString"));  // no "expr"
    SendDoString("shared = shared + 2");
    Lua().Update();
    EXPECT_EQ(LuaEval("return shared"), "42");
    EXPECT_TRUE(InOrder(newLog.Text(), {"WARNING: ", "DoString", "expr"})) << newLog.Text();
    EXPECT_EQ(newLog.Text().find("Error executing string"), std::string::npos);
}

TEST_F(LuaBindTest, FailingStringAndMissingFileGiveTheirReportsInOrder) {
    Lua().DoString("x = = 1");
    EXPECT_TRUE(InOrder(newLog.Text(), {"WARNING: lua_manager.cpp:", "Error executing string: \n",
                                        "lua_tostring(Lstate, -1) = attempt to call a string value\n",
                                        "Lua stack trace\n", "-1:\tattempt to call a string value\n-2:\tnone\n",
                                        "ERROR: lua_manager.cpp:", "fatal error, terminating\n"}))
        << newLog.Text();
    newLog.Restart();
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

// Results and error values are not left behind on the stack.
TEST_F(LuaBindTest, DumpStackOfAnEmptyStackAfterManyCalls) {
    Lua().DumpStack();
    EXPECT_EQ(newLog.Text(), kEmptyDump);
    test_support::TempFolder folder;
    folder.WriteFile("results.lua", "return 1, 2, 3\n");
    for (int i = 0; i < 300; ++i) {
        Lua().DoString("return 1, 'two', {}, bind.Vector()");
        Lua().DoFile(folder.Path() + "/results.lua");
        if (i % 50 == 0) Lua().DoString("error('first')");
    }
    newLog.Restart();
    Lua().DumpStack();
    EXPECT_EQ(newLog.Text(), kEmptyDump);
}

TEST_F(LuaBindTest, MissingStateIsReportedNeverUsed) {
    Lua().DoString("kept = 1");
    Lua().Kill();
    newLog.Restart();
    Lua().DoString("kept = 2");
    Lua().DoFile("./scripts/anything.lua");
    Lua().DumpStack();
    EXPECT_TRUE(InOrder(newLog.Text(), {"ERROR: ", "no Lua state", "DoString", "ERROR: ", "DoFile",
                                        "ERROR: ", "DumpStack"}))
        << newLog.Text();
    Lua().Kill();
    Lua().Init();
    EXPECT_EQ(LuaEval("return kept"), "nil");
}

TEST_F(LuaBindTest, MathTypesScalarFunctionsAndOwnership) {
    const char* const cases[][2] = {
        {"return bind.Vector(1, 2, 3) * bind.Vector(4, 5, 6)", "32"},
        {"local v = (bind.Vector(1, 2, 3) + bind.Vector(1, 1, 1)) * 2 - bind.Vector(0, 0, 1)\n"
         "return (v * bind.Vector(1, 0, 0)) .. ' ' .. (v * bind.Vector(0, 1, 0)) .. ' ' .. (v * bind.Vector(0, 0, 1))",
         "4 6 7"},
        // w takes part in sums and scaling but not in the dot product.
        {"return ((bind.Vector(0, 0, 0, 1) + bind.Vector(0, 0, 0, 2)) * 2):Mag()", "6"},
        {"return bind.Matrix_DATA_SIZE", "64"},
        {"local m = bind.Matrix() return m:Trace() .. ' ' .. m:Trace(3)", "4 3"},
        {"return table.concat({bind.SetBit(0, 3)}, ',')", "8,8"},
        // Writing an attribute copies; reading a class-typed one borrows.
        {"local qv = bind.QuatVec() local rot = qv.rot rot.s = 5\n"
         "local t = bind.Vector(9, 9, 9) qv.trans = t t:Normalize()\n"
         "return qv.rot.s .. ' ' .. qv.trans * bind.Vector(1, 0, 0)",
         "5 9"},
        // A part of a temporary only Lua holds keeps its source alive.
        {"local v = bind.Quaternion(1, bind.Vector(1, 2, 3)).v\n"
         "collectgarbage('collect') collectgarbage('collect') return v * bind.Vector(1, 1, 1)",
         "6"},
        // A weapon slot stores a clone and frees the weapon it held.
        {"local wc = bind.WeaponComp()\n"
         "local w = bind.SimpleSpread() w.speed = 7 wc.primary = w w.speed = 9\n"
         "local stored = wc.primary.speed\n"
         "wc.primary = bind.SimpleSpread() wc.secondary = w wc.secondary = w\n"
         "w = nil collectgarbage('collect') collectgarbage('collect')\n"
         "return stored .. ' ' .. wc.primary.speed .. ' ' .. wc.secondary.speed",
         "7 0 9"},
    };
    for (const auto& c : cases) EXPECT_EQ(LuaEval(c[0]), c[1]) << c[0];
}

TEST_F(LuaBindTest, WrongCallsNilsAndExceptionsAreLuaErrors) {
    const char* const cases[][2] = {
        {"return bind.Vector(1, 2, 3):Mag(5)", "Error in Vector::Mag expected 1..1 args, got 2"},
        {"return bind.QuaternionToMatrix(5)",
         "Error in QuaternionToMatrix (arg 1), expected 'Quaternion const &' got 'number'"},
        {"return bind.Vector('x')", "Wrong arguments for overloaded function 'new_Vector'"},
        {"return bind.SetBit(-1, 3)", "must not be negative"},
        {"return bind.Vector(1, 2, 3):ToFloatArray(nil)", "Error in"},
        {"local e = bind.Event() return e:SetVector('v', nil)", "Error in"},
        {"return bind.Event():GetFloat('missing')", "Error in Event_GetFloat: Unable to find key in unordered_map."},
        {"local e = bind.Event() e:SetString('k', 'text') return e:GetFloat('k')", "error: "},
        {"return bind.Weapon()", "error: "},
        {"local wc = bind.WeaponComp() wc.primary = bind.Vector()", "error: "},
        // Rewriting the sizes would let pixel access run past the buffer.
        {"local t = bind.Texture(2, 2, 4) t.width = 1000 return t.width", "error: "},
        {"return bind.ObjectFactory_LoadObjectPattern(nil)", "expected 'char const *' got 'nil'"},
        {"return bind.ObjectManager()", "error: "},
    };
    for (const auto& c : cases) {
        const std::string got = LuaEval(c[0]);
        EXPECT_NE(got.find(c[1]), std::string::npos) << c[0] << " gave " << got;
    }
    Lua().DoString("local v = bind.Event():GetVector('nothing')");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing string", "Unable to find key", "fatal error"}))
        << newLog.Text();
    EXPECT_EQ(LuaEval("return 'alive'"), "alive");
}

// Off the context thread (as on the level loader's) uploads are refused.
TEST_F(LuaBindTest, OpenGLOperationsNeedAContext) {
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local t = bind.Texture(2, 2, 4) local before = t.texID\n"
                      "rm:InitGLTexture(t) rm:LoadContextCategory('all') rm:ReloadContextData()\n"
                      "return tostring(t.texID == before)"),
              "true");
    EXPECT_TRUE(InOrder(newLog.Text(), {"ResourceManager::InitGLTexture needs the OpenGL context",
                                        "ResourceManager::LoadContextCategory needs the OpenGL context",
                                        "ResourceManager::ReloadContextData needs the OpenGL context"}))
        << newLog.Text();
}

TEST_F(LuaBindTest, TheTableNeedsTheLockAndMissingObjectsAreLuaErrors) {
    ASSERT_TRUE(Objects().AddGameObject(GameObject("tank")));
    const std::string om = "local om = bind.Module_ObjectManager_Instance()\n"
                           "local mech = bind.Module_ResourceManager_Instance():GetPattern('MediumMech')\n";
    const char* const cases[][2] = {
        {"return om:HasGameObject('tank')", "the object lock is not held (call Lock first)"},
        {"return om:GetGameObject(999999)", "the object lock is not held"},
        {"om:Lock() local found = om:HasGameObject('tank') om:Unlock() return found", "true"},
        {"om:Lock() local n = om:GetObjectNumber('tank') om:Unlock() return n", "101"},
        {"om:Lock() return om:GetGameObject(999999)", ObjectManager::kMissingObject},
        // What the table lends is written in place.
        {"om:Lock() om:GetGameObject('tank').trans = bind.Vector(4, 5, 6) local t = om:GetGameObject('tank').trans "
         "om:Unlock() return t * bind.Vector(0, 1, 0)",
         "5"},
        // A behaviour's states look their owner up in the table.
        {"return bind.ObjectFactory_StampObject(bind.GameObject('m'), mech)", "the object lock is not held"},
        {"om:Lock() local ok = bind.ObjectFactory_StampObject(bind.GameObject('m'), mech) om:Unlock() return ok",
         "true"},
        // The script stops while holding the lock; the run's end releases it.
        {"om:Lock() return om:GetGameObject('ghost')", ObjectManager::kMissingObject},
    };
    for (const auto& c : cases) EXPECT_NE(LuaEval(om + c[0]).find(c[1]), std::string::npos) << c[0];
    EXPECT_FALSE(Objects().IsLockedByThisThread());
    EXPECT_NE(newLog.Text().find("the script left the object lock held: released"), std::string::npos);

    // Unprotected: reported like any script error, and play goes on.
    Lua().DoString(om + "om:Lock() om:GetGameObject('ghost')");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing string", ObjectManager::kMissingObject, "fatal error",
                                        "object lock held: released"}))
        << newLog.Text();
    EXPECT_FALSE(Objects().IsLockedByThisThread());
}

// The interface's members are opaque to scripts, and only the interface
// module may replace them.
TEST_F(LuaBindTest, TheWidgetMembersCanBeHeldButNotReplaced) {
    const std::string om = "local om = bind.Module_ObjectManager_Instance()\n";
    EXPECT_EQ(LuaEval(om + "return tostring(om.interObjList ~= nil and om.hackPanelList ~= nil)"), "true");
    EXPECT_NE(LuaEval(om + "om.hackPanelList = om.hackPanelList").find("error"), std::string::npos);
    EXPECT_NE(LuaEval(om + "om.interObjList = om.interObjList").find("error"), std::string::npos);
}

// The camera is the frame's to steer: a script may hold it, never turn it.
TEST_F(LuaBindTest, TheCameraCanBeHeldButNotTurned) {
    {
        ObjectLock lock;
        Objects().cameraObject.yaw = 0.25f;
        Objects().cameraObject.pitch = 0.125f;
    }
    const std::string camera = "local om = bind.Module_ObjectManager_Instance()\n"
                               "om:Lock() local camera = om.cameraObject om:Unlock()\n";
    EXPECT_EQ(LuaEval(camera + "return tostring(camera ~= nil)"), "true");
    for (const char* member : {"yaw", "pitch"}) {
        const std::string turn = std::string("camera.") + member + " = 1";
        EXPECT_EQ(LuaEval(camera + "om:Lock() local turned = pcall(function() " + turn + " end) om:Unlock()\n"
                                   "return tostring(turned)"),
                  "false")
            << turn;
        EXPECT_EQ(LuaEval(camera + "return tostring(camera." + member + ")"), "nil") << member;
    }
    ObjectLock lock;
    EXPECT_FLOAT_EQ(Objects().cameraObject.yaw, 0.25f);
    EXPECT_FLOAT_EQ(Objects().cameraObject.pitch, 0.125f);
}

// A level script's way of making the player; the manager holds its own copy,
// weapons and all, once Lua lets go of what it made.
TEST_F(LuaBindTest, LevelStyleScriptBuildsAndRegistersThePlayer) {
    EXPECT_EQ(LuaEval("local player = bind.GameObject('player')\n"
                      "local pattern = bind.Module_ResourceManager_Instance():GetPattern('player')\n"
                      "local stamped = bind.ObjectFactory_StampObject(player, pattern)\n"
                      "local weapons, gun = bind.WeaponComp(), bind.SimpleSpread()\n"
                      "gun:AddHotSpot(-6, 0, 0, 'player') gun:AddHotSpot(6, 0, 0, 'player') weapons.primary = gun\n"
                      "player:AttachComponent(weapons) player:GetStatsComp().shield = 50\n"
                      "local added = bind.Module_ObjectManager_Instance():AddGameObject(player)\n"
                      "player = nil gun = nil weapons = nil collectgarbage('collect') collectgarbage('collect')\n"
                      "return tostring(stamped) .. ' ' .. tostring(added)"),
              "true true");
    ObjectLock lock;
    ASSERT_TRUE(Objects().HasGameObject("player"));
    const GameObject& player = *Objects().GetGameObject("player");
    ASSERT_TRUE(player.GetStatsComp() && player.GetWeaponComp() && player.GetWeaponComp()->primary);
    EXPECT_TRUE(player.GetStatsComp()->shield == 50.0f && player.GetWeaponComp()->primary->hotspots.size() == 2u &&
                dynamic_cast<const SimpleSpread*>(player.GetWeaponComp()->primary));
}

}  // namespace
