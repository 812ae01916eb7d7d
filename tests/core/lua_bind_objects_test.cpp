// Game objects, components, weapons and the CPU-side resource types as
// scripts see them through bind: borrowed components written in place,
// weapon slots that take clones, and resource fields that scripts may read
// but not rewrite.
#include <gtest/gtest.h>

#include <string>

#include "core/lua_probe.h"

using namespace lua_test;

namespace {

class LuaBindObjectsTest : public LuaTest {};

TEST_F(LuaBindObjectsTest, GameObjectWithComponents) {
    EXPECT_EQ(LuaEval("local o = bind.GameObject('tank')\n"
                      "o:AttachComponent(bind.PhysicsComp())\n"
                      "o:AttachComponent(bind.StatsComp(100, 2, 3, 4, 5))\n"
                      "o:GetPhysicsComp().mass = 5\n"
                      "o:GetStatsComp().hp = 80\n"
                      "return table.concat({o.name, tostring(o:HasComp(bind.CompIndex_Physics)),\n"
                      "  tostring(o:HasComp(bind.CompIndex_Weapon)), o:GetPhysicsComp().mass,\n"
                      "  o:GetStatsComp().healthMax, o:GetStatsComp().hp,\n"
                      "  tostring(o:GetWeaponComp()),\n"
                      "  o:GetComponent(bind.CompIndex_Stats).componentIndex == bind.CompIndex_Stats and 'stats' or '?'}, ',')"),
              "tank,true,false,5,100,80,nil,stats");

    // The matrix is a copy; trans is the object's own.
    EXPECT_EQ(LuaEval("local o = bind.GameObject()\n"
                      "o.trans = bind.Vector(1, 2, 3)\n"
                      "local m = o:GetMatrix() m:TranslateMat(9, 9, 9)\n"
                      "local inv = o:GetInvMatrix() * o:GetMatrix()\n"
                      "return o:GetMatrix():VecFromCol(3) * bind.Vector(1, 1, 1) .. ' ' .. inv:Trace()"),
              "6 4");

    // A copied object carries copies of the components.
    EXPECT_EQ(LuaEval("local o = bind.GameObject('a') o:AttachComponent(bind.PhysicsComp())\n"
                      "local c = bind.GameObject(o) c:GetPhysicsComp().mass = 9\n"
                      "o = nil collectgarbage('collect')\n"
                      "return c:GetPhysicsComp().mass .. ' ' .. c.name"),
              "9 a");
}

// A borrowed component keeps the Lua-owned object it came from alive.
TEST_F(LuaBindObjectsTest, BorrowedComponentOutlivesItsTemporaryObject) {
    EXPECT_EQ(LuaEval("local function make()\n"
                      "  local o = bind.GameObject() o:AttachComponent(bind.PhysicsComp())\n"
                      "  return o:GetPhysicsComp()\n"
                      "end\n"
                      "local p = make() collectgarbage('collect') collectgarbage('collect')\n"
                      "p.mass = 3 return p.mass"),
              "3");
}

TEST_F(LuaBindObjectsTest, ComponentsCloneAndReadCopies) {
    EXPECT_EQ(LuaEval("local s = bind.StatsComp(10, 1, 1, 1, 1)\n"
                      "local c = s:Clone() s.healthMax = 1\n"
                      "return swig_type(c) .. ' ' .. c.componentIndex"),
              "Component * 8");
    EXPECT_EQ(LuaEval("local b = bind.BehaviorComp() local sm = b.sm b = nil\n"
                      "local col = bind.CollisionComp() local edges = col.edgeVectors col = nil\n"
                      "local g = bind.GraphicsComp() local sk = g.skeleton g.modelScale = 2\n"
                      "local bullet = bind.BulletComp() local fx = bullet.groundEffect bullet.damage = 4\n"
                      "collectgarbage('collect') collectgarbage('collect')\n"
                      "return swig_type(sm) .. '|' .. swig_type(edges) .. '|' .. swig_type(sk) .. '|' .. g.modelScale .. '|' .. bullet.damage"),
              "FSMStateMachine *|VectorSet *|Skeleton *|2|4");
    EXPECT_EQ(LuaEval("local g = bind.GraphicsComp() g.modelMesh = bind.Handle('mesh_tank')\n"
                      "return g.modelMesh:GetID()"),
              "mesh_tank");
}

// A weapon slot stores a clone and frees the weapon it held; the script's
// own weapon stays the script's.
TEST_F(LuaBindObjectsTest, WeaponSlotsStoreClones) {
    EXPECT_EQ(LuaEval("local wc = bind.WeaponComp()\n"
                      "local w = bind.SimpleSpread() w.speed = 7 w:AddHotSpot(1, 2, 3, 'gun')\n"
                      "wc.primary = w\n"
                      "w.speed = 9\n"
                      "local stored = wc.primary.speed\n"
                      "wc.primary = bind.SimpleSpread()\n"
                      "wc.secondary = w wc.secondary = w\n"
                      "w = nil collectgarbage('collect') collectgarbage('collect')\n"
                      "local result = stored .. ' ' .. wc.primary.speed .. ' ' .. wc.secondary.speed\n"
                      "wc = nil collectgarbage('collect')\n"
                      "return result"),
              "7 0 9");
    EXPECT_NE(LuaEval("return bind.Weapon()").find("error: "), std::string::npos);
    EXPECT_EQ(LuaEval("local w = bind.SimpleSpread() w.owner = 'player'\n"
                      "local c = w:Clone() w = nil collectgarbage('collect')\n"
                      "return swig_type(c) .. ' ' .. c.owner"),
              "Weapon * player");
    EXPECT_NE(LuaEval("local wc = bind.WeaponComp() wc.primary = bind.Vector()").find("error: "),
              std::string::npos);
}

TEST_F(LuaBindObjectsTest, TexturePixelsAndReadOnlySizes) {
    EXPECT_EQ(LuaEval("local t = bind.Texture(2, 2, 4)\n"
                      "t:SetPixel(1, 1, 0x11223344)\n"
                      "local copy = bind.Texture(t) t:SetPixel(1, 1, 0)\n"
                      "return copy:GetPixel(1, 1) == 0x11223344 and t.width .. 'x' .. t.height .. 'x' .. t.bytesPerPixel"),
              "2x2x4");
    // Rewriting the sizes would let pixel access run past the buffer.
    EXPECT_NE(LuaEval("local t = bind.Texture(2, 2, 4) t.width = 1000 return t.width").find("error: "),
              std::string::npos);
    EXPECT_NE(LuaEval("local t = bind.Texture(2, 2, 4) t.data = bind.Texture(1, 1, 4).data").find("error: "),
              std::string::npos);
    EXPECT_EQ(LuaEval("local t = bind.Texture(2, 2, 4) t.texID = 5 return t.texID .. ' ' .. t:GetPixel(1000, 0)"),
              "5 0");
}

TEST_F(LuaBindObjectsTest, MeshVertexAndTriangle) {
    EXPECT_EQ(LuaEval("local m = bind.Mesh() m.name = 'quad'\n"
                      "m:AddVert(bind.Vertex(0, 0, 0)) m:AddVert(bind.Vertex(1, 0, 0)) m:AddVert(bind.Vertex(0, 1, 0))\n"
                      "m:AddTriangle(0, 1, 2)\n"
                      "local raw = bind.Vector(m:GetRawVert(0, 1))\n"
                      "local n = m:QuickNorm(0)\n"
                      "local weights = m.skinWeightArr m = nil collectgarbage('collect')\n"
                      "return table.concat({raw * bind.Vector(1, 1, 1), math.abs(n * bind.Vector(0, 0, 1)),\n"
                      "  swig_type(weights)}, ',')"),
              "1,1,ArrayBuffer< float > *");
    EXPECT_EQ(LuaEval("local m = bind.Mesh()\n"
                      "m:AddTriangle(bind.Vertex(0, 0, 0), bind.Vertex(1, 0, 0), bind.Vertex(0, 1, 0))\n"
                      "return m:GetAdjacentTris(0):size()"),
              "1");
    EXPECT_EQ(LuaEval("local d = bind.Vertex(1, 2, 3) - bind.Vertex(0, 0, 1)\n"
                      "return d * bind.Vector(1, 1, 1) .. ' ' .. bind.Vertex(3, 4, 0):Distance(bind.Vertex())\n"
                      "  .. ' ' .. tostring(bind.Vertex(1, 2, 3) == bind.Vertex(1, 2, 3))\n"
                      "  .. ' ' .. tostring(bind.Triangle(1, 2, 3) == bind.Triangle(1, 2, 4))"),
              "5 5 true false");
    // A corner out of range is refused by the mesh, not read past its lists.
    EXPECT_EQ(LuaEval("local m = bind.Mesh() return tostring(m:GetRawVert(5, 7))"), "nil");
}

}  // namespace
