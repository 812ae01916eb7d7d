// The script module bind as scripts see it: the math types and their
// operators, the flattened names, two results from SetBit, attributes as
// borrowed references or copies, events through the event manager, and the
// errors a wrong call or a C++ exception gives.
#include <gtest/gtest.h>

#include <string>

#include "core/lua_probe.h"

using namespace lua_test;

namespace {

class LuaBindTest : public LuaTest {};

TEST_F(LuaBindTest, VectorArithmetic) {
    EXPECT_EQ(LuaEval("return bind.Vector(1, 2, 3) * bind.Vector(4, 5, 6)"), "32");
    EXPECT_EQ(LuaEval("return swig_type(bind.Vector(1, 2, 3) * 2)"), "Vector *");
    EXPECT_EQ(LuaEval("local v = (bind.Vector(1, 2, 3) + bind.Vector(1, 1, 1)) * 2 "
                      "- bind.Vector(0, 0, 1)\n"
                      "return (v * bind.Vector(1, 0, 0)) .. ' ' .. (v * bind.Vector(0, 1, 0)) "
                      ".. ' ' .. (v * bind.Vector(0, 0, 1))"),
              "4 6 7");
    EXPECT_EQ(LuaEval("return math.abs(bind.Vector(1, 2, 3, 4):Mag() - math.sqrt(30)) < 1e-5"), "true");
    EXPECT_EQ(LuaEval("local v = bind.Vector(0, 3, 4) v:Normalize()\n"
                      "return v * bind.Vector(0, 1, 0) .. ' ' .. bind.Vector(0, 0, 2):Norm():Mag()"),
              "0.60000002384186 1");
    // w takes part in sums and scaling but not in the dot product.
    EXPECT_EQ(LuaEval("return ((bind.Vector(0, 0, 0, 1) + bind.Vector(0, 0, 0, 2)) * 2):Mag()"), "6");
}

TEST_F(LuaBindTest, MatrixAndQuaternionOperations) {
    EXPECT_EQ(LuaEval("return bind.Matrix_DATA_SIZE"), "64");
    EXPECT_EQ(LuaEval("local m = bind.Matrix() m:TranslateMat(1, 2, 3)\n"
                      "local p = m * bind.Vector(0, 0, 0, 1)\n"
                      "return p * bind.Vector(1, 1, 1) .. ' ' .. (m * m):VecFromCol(3) * bind.Vector(1, 0, 0)"),
              "6 2");
    EXPECT_EQ(LuaEval("local m = bind.Matrix() return m:Trace() .. ' ' .. m:Trace(3)"), "4 3");
    EXPECT_EQ(LuaEval("local m = bind.Matrix() m:Zero() return bind.Matrix(m):Trace()"), "0");
    EXPECT_EQ(LuaEval("return bind.Quaternion():Mag() .. ' ' .. bind.QuatVec().rot.s"), "0 1");
    // A quarter turn about z takes x to y, through a matrix as well.
    EXPECT_EQ(LuaEval("local h = math.sqrt(0.5)\n"
                      "local q = bind.Quaternion(h, bind.Vector(0, 0, h))\n"
                      "local a = q:Rotate(bind.Vector(1, 0, 0))\n"
                      "local b = bind.QuatVecToMatrix(q, bind.Vector()) * bind.Vector(1, 0, 0)\n"
                      "return string.format('%.3f %.3f', a * bind.Vector(0, 1, 0), b * bind.Vector(0, 1, 0))"),
              "1.000 1.000");
    EXPECT_EQ(LuaEval("local qv = bind.MatrixToQuatVec(bind.Matrix())\n"
                      "return qv.rot.s .. ' ' .. bind.Slerp(bind.Quaternion(1), qv.rot, 0.5):Mag()"),
              "1 1");
}

TEST_F(LuaBindTest, ScalarFunctionsAndTwoResultsFromSetBit) {
    EXPECT_EQ(LuaEval("return table.concat({bind.SetBit(0, 3)}, ',')"), "8,8");
    EXPECT_EQ(LuaEval("return table.concat({bind.UnsetBit(10, 1)}, ',')"), "8,8");
    EXPECT_EQ(LuaEval("return bind.CheckBit(4, 2) .. bind.CheckBit(4, 1)"), "10");
    EXPECT_EQ(LuaEval("return bind.ClampFloat(5, 0, 1) .. ' ' .. bind.SignFloat(0)"), "1 1");
    EXPECT_EQ(LuaEval("local r = bind.RandFloat() return r >= 0 and r <= 1"), "true");
    EXPECT_EQ(LuaEval("return tostring(bind.RangeIntersect(0, 1, 1, 2))"), "false");
    EXPECT_NE(LuaEval("return bind.SetBit(-1, 3)").find("must not be negative"), std::string::npos);
}

// Reading an attribute of class type gives a reference into the object;
// writing an attribute copies the value in.
TEST_F(LuaBindTest, AttributesAreBorrowedReferencesAndWritesCopy) {
    EXPECT_EQ(LuaEval("local qv = bind.QuatVec()\n"
                      "local rot = qv.rot\n"
                      "rot.s = 5\n"
                      "qv.trans = bind.Vector(1, 2, 3)\n"
                      "local t = bind.Vector(9, 9, 9) qv.trans = t t:Normalize()\n"
                      "return qv.rot.s .. ' ' .. qv.trans * bind.Vector(1, 0, 0)"),
              "5 9");
    EXPECT_EQ(LuaEval("local m = bind.Matrix() local c = bind.Matrix(m) m:Zero()\n"
                      "return c:Trace()"),
              "4");
}

// A part read from a temporary that only Lua holds stays usable after the
// collector runs (the part keeps its source alive).
TEST_F(LuaBindTest, BorrowedPartsOutliveTheirTemporarySource) {
    EXPECT_EQ(LuaEval("local v = bind.Quaternion(1, bind.Vector(1, 2, 3)).v\n"
                      "local qv = bind.QuatVec(bind.Quaternion(2)).rot\n"
                      "local ptr = bind.Matrix():DataPtr()\n"
                      "collectgarbage('collect') collectgarbage('collect')\n"
                      "return v * bind.Vector(1, 1, 1) .. ' ' .. qv.s .. ' ' .. bind.Vector(ptr) * bind.Vector(1, 1, 1)"),
              "6 2 1");
}

TEST_F(LuaBindTest, EventsFromLua) {
    EXPECT_EQ(LuaEval("local e = bind.Event('a', 'b', 'c')\n"
                      "e:SetFloat('f', 1.5) e:SetString('s', 'text')\n"
                      "e:SetVector('v', bind.Vector(1, 2, 3))\n"
                      "e:SetQuaternion('q', bind.Quaternion(3))\n"
                      "e.triggers = true e.triggerTime = 4\n"
                      "return table.concat({e.from, e.to, e.eventType, e:GetFloat('f'), e:GetString('s'),\n"
                      "  e:GetVector('v') * bind.Vector(1, 1, 1), e:GetQuaternion('q').s,\n"
                      "  tostring(e:Has('f')), tostring(e:Has('x')), tostring(e.triggers), e.triggerTime}, ',')"),
              "a,b,c,1.5,text,6,3,true,false,true,4");

    LuaEval("local e = bind.Event('Lua', 'Listener', 'Hello')\n"
            "e:SetString('name', 'from lua')\n"
            "bind.Module_EventManager_Instance():PublishEvent(e)\n"
            "e:SetString('late', 'not published')");
    std::deque<Event> got = Events().PollEvents("Listener");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got.front().eventType, "Hello");
    EXPECT_EQ(got.front().GetParam<std::string>("name"), "from lua");
    EXPECT_FALSE(got.front().Has("late"));

    Events().PublishEvent(Event("Test", "LuaPoller", "Ping"));
    EXPECT_EQ(LuaEval("local q = bind.Module_EventManager_Instance():PollEvents('LuaPoller')\n"
                      "local name = swig_type(q) q = nil collectgarbage('collect') return name"),
              "std::deque< Event > *");
    EXPECT_TRUE(Events().PollEvents("LuaPoller").empty());
}

// paramList is read as a copy: it survives its event and carries the
// parameters into another event.
TEST_F(LuaBindTest, ParamListIsReadAsACopy) {
    EXPECT_EQ(LuaEval("local e = bind.Event() e:SetFloat('a', 7)\n"
                      "local params = e.paramList\n"
                      "e = nil collectgarbage('collect') collectgarbage('collect')\n"
                      "local other = bind.Event() other.paramList = params\n"
                      "params = nil collectgarbage('collect')\n"
                      "return other:GetFloat('a')"),
              "7");
}

TEST_F(LuaBindTest, WrongCallsGiveSwigErrors) {
    EXPECT_NE(LuaEval("return bind.Vector(1, 2, 3):Mag(5)")
                  .find("Error in Vector::Mag expected 1..1 args, got 2"),
              std::string::npos);
    EXPECT_NE(LuaEval("return bind.QuaternionToMatrix(5)")
                  .find("Error in QuaternionToMatrix (arg 1), expected 'Quaternion const &' got 'number'"),
              std::string::npos);
    const std::string overload = LuaEval("return bind.Vector('x')");
    EXPECT_NE(overload.find("Wrong arguments for overloaded function 'new_Vector'"), std::string::npos)
        << overload;
    EXPECT_NE(LuaEval("return bind.Vector(1, 2, 3) * bind.Quaternion()").find("Vector___mul"),
              std::string::npos);
    EXPECT_NE(LuaEval("return bind.Matrix() * 'text'")
                  .find("Wrong arguments for overloaded function 'Matrix___mul'"),
              std::string::npos);
}

// A nil where an object is expected is refused instead of reaching the
// engine as a null pointer.
TEST_F(LuaBindTest, NilIsNeverPassedAsAnObject) {
    EXPECT_NE(LuaEval("return bind.Vector(1, 2, 3):ToFloatArray(nil)").find("Error in"),
              std::string::npos);
    EXPECT_NE(LuaEval("return bind.Vector.Mag(nil)").find("error: "), std::string::npos);
    EXPECT_NE(LuaEval("return bind.Vector(nil)").find("Wrong arguments"), std::string::npos);
    EXPECT_NE(LuaEval("local e = bind.Event() return e:SetVector('v', nil)").find("Error in"),
              std::string::npos);
}

// C++ exceptions thrown in a bound call become Lua errors with their text.
TEST_F(LuaBindTest, ExceptionsBecomeLuaErrors) {
    EXPECT_NE(LuaEval("return bind.Event():GetFloat('missing')")
                  .find("Error in Event_GetFloat: Unable to find key in unordered_map."),
              std::string::npos);
    EXPECT_NE(LuaEval("local e = bind.Event() e:SetString('k', 'text') return e:GetFloat('k')")
                  .find("error: "),
              std::string::npos);

    // Unprotected in a DoString: reported like any script error.
    Lua().DoString("local v = bind.Event():GetVector('nothing')");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing string", "Unable to find key", "fatal error"}))
        << newLog.Text();
    EXPECT_EQ(LuaEval("return 'alive'"), "alive");
}

TEST_F(LuaBindTest, FlattenedStaticsStringsAndHandles) {
    EXPECT_EQ(LuaEval("return rawequal(bind.Module_EventManager_Instance(), nil) == false and "
                      "swig_equals(bind.Module_EventManager_Instance(), "
                      "bind.Module_EventManager.Instance())"),
              "true");
    EXPECT_EQ(LuaEval("local s = bind.string('abc') return s:size() .. s:c_str()"), "3abc");
    EXPECT_EQ(LuaEval("local h = bind.Handle('tex_noise') return h:GetType() .. ' ' .. h:GetID()"),
              "tex tex_noise");
    EXPECT_EQ(LuaEval("local b = bind.OBB(bind.Vector(1, 1, 1), bind.Vector(1, 2, 3))\n"
                      "local verts = b:GetVerts()\n"
                      "return verts:size() .. ' ' .. verts[5] * bind.Vector(1, 0, 0)"),
              "8 2");
    EXPECT_EQ(LuaEval("local r = bind.Ray(bind.Vector(0, 0, 1), bind.Vector(1, 0, 0))\n"
                      "local p = bind.Plane(bind.Vector(0, 0, 1), bind.Vector(0, 0, 5))\n"
                      "return r:Evaluate(2) * bind.Vector(1, 1, 1) .. ' ' .. p:EvalImplicit(bind.Vector())\n"
                      "  .. ' ' .. bind.BoundingSphere().radius .. ' ' .. bind.AABB().extents:Mag()"),
              "3 -5 1 0");
}

}  // namespace
