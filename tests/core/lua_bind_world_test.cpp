// The live world through bind: objects fetched from the object manager are
// borrowed (a script's writes land in the table), look-ups of missing objects
// are Lua errors, the object lock works from Lua and is never left held by a
// script, a level-style script builds and registers the player, and the
// scene members (lights, ground, copies of the tables) behave as documented.
// Also the collision manager's picking ray, hits and volume builders.
#include <gtest/gtest.h>

#include <string>

#include "collision_manager.h"
#include "core/lua_probe.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "weapons.h"

using namespace lua_test;

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

class LuaBindWorldTest : public LuaTest {
protected:
    static void SetUpTestSuite() {
        LuaTest::SetUpTestSuite();
        Objects().Init();
        // The game's registry and patterns, read from the run folder.
        Module<ResourceManager>::Instance()->Init();
    }

    void SetUp() override {
        LuaTest::SetUp();
        ObjectLock lock;
        Objects().ClearGameObjects();
        Objects().lightObjectList.clear();
    }

    void TearDown() override {
        EXPECT_FALSE(Objects().IsLockedByThisThread());
        LuaTest::TearDown();
    }

    static void AddObject(const std::string& name) { ASSERT_TRUE(Objects().AddGameObject(GameObject(name))); }
};

// Changing obj.trans of a borrowed object changes the object in the manager;
// a matrix read from it is a copy.
TEST_F(LuaBindWorldTest, BorrowedObjectsAreWrittenInPlace) {
    AddObject("tank");
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "om:Lock()\n"
                      "local tank = om:GetGameObject('tank')\n"
                      "tank.trans = bind.Vector(4, 5, 6)\n"
                      "om:GetGameObject(om:GetObjectNumber('tank')).rot = bind.Quaternion(0, bind.Vector(0, 1, 0))\n"
                      "local m = tank:GetMatrix() m:TranslateMat(9, 9, 9)\n"
                      "local name = om:GetObjectName(om:GetObjectNumber('tank'))\n"
                      "om:Unlock()\n"
                      "return name"),
              "tank");
    ObjectLock lock;
    const GameObject& tank = *Objects().GetGameObject("tank");
    EXPECT_FLOAT_EQ(tank.trans.x, 4.0f);
    EXPECT_FLOAT_EQ(tank.trans.y, 5.0f);
    EXPECT_FLOAT_EQ(tank.trans.z, 6.0f);
    EXPECT_FLOAT_EQ(tank.rot.s, 0.0f);
    EXPECT_FLOAT_EQ(tank.rot.v.y, 1.0f);
}

TEST_F(LuaBindWorldTest, MissingObjectsAreLuaErrorsAndTheLockIsGivenBack) {
    AddObject("tank");
    const std::string byName = LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                                       "om:Lock()\n"
                                       "return om:GetGameObject('ghost')");
    EXPECT_NE(byName.find("error: "), std::string::npos) << byName;
    EXPECT_NE(byName.find(ObjectManager::kMissingObject), std::string::npos) << byName;
    // The script stopped while holding the lock; the run's end released it.
    EXPECT_FALSE(Objects().IsLockedByThisThread());
    EXPECT_NE(newLog.Text().find("the script left the object lock held: released"), std::string::npos);

    EXPECT_NE(LuaEval("return bind.Module_ObjectManager_Instance():GetGameObject(999999)")
                  .find(ObjectManager::kMissingObject),
              std::string::npos);

    // Unprotected: reported like any script error, and play goes on.
    Lua().DoString("local om = bind.Module_ObjectManager_Instance() om:Lock() om:GetGameObject('ghost')");
    EXPECT_TRUE(InOrder(newLog.Text(), {"Error executing string", ObjectManager::kMissingObject, "fatal error",
                                   "object lock held: released"}))
        << newLog.Text();
    EXPECT_FALSE(Objects().IsLockedByThisThread());
    EXPECT_EQ(LuaEval("return tostring(bind.Module_ObjectManager_Instance():HasGameObject('tank'))"), "true");
}

TEST_F(LuaBindWorldTest, LockAndUnlockFromLua) {
    // Under a script's Lock, AddGameObject finds the lock held by this thread
    // and reports it instead of waiting for itself.
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "om:Lock()\n"
                      "local added = om:AddGameObject(bind.GameObject('crate'))\n"
                      "om:Unlock()\n"
                      "return tostring(added)"),
              "true");
    EXPECT_NE(newLog.Text().find("the object lock is already held by this thread"), std::string::npos);
    EXPECT_EQ(newLog.Text().find("released"), std::string::npos) << newLog.Text();

    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance() om:Unlock() return 'ok'"), "ok");
    EXPECT_NE(newLog.Text().find("Unlock without holding the object lock"), std::string::npos);

    // A caller that holds the lock keeps it even when the script unlocks it.
    {
        ObjectLock lock;
        Lua().DoString("bind.Module_ObjectManager_Instance():Unlock()");
        EXPECT_TRUE(Objects().IsLockedByThisThread());
        EXPECT_NE(newLog.Text().find("taken again"), std::string::npos);
    }
    EXPECT_FALSE(Objects().IsLockedByThisThread());
}

// Numbers and names are told apart by the Lua type: an object's number in a
// string is a name that nothing carries.
TEST_F(LuaBindWorldTest, LookUpsByNumberAndByName) {
    AddObject("tank");
    unsigned number = 0;
    {
        ObjectLock lock;
        number = Objects().GetObjectNumber("tank");
    }
    const std::string n = std::to_string(number);
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "return table.concat({tostring(om:HasGameObject(" + n + ")),\n"
                      "  tostring(om:HasGameObject('" + n + "')), tostring(om:HasGameObject('tank')),\n"
                      "  om:GetObjectName(" + n + "), '[' .. om:GetObjectName(1) .. ']', om:GetObjectNumber('ghost')}, ',')"),
              "true,false,true,tank,[],0");
    EXPECT_NE(LuaEval("return bind.Module_ObjectManager_Instance():HasGameObject(nil)").find("Wrong arguments"),
              std::string::npos);
}

// A level script's way of making the player: the pattern look-up, stamping,
// components and weapons attached from Lua, then registration. The manager
// holds its own copy, independent of the script's object.
TEST_F(LuaBindWorldTest, LevelStyleScriptBuildsAndRegistersThePlayer) {
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "local rm = bind.Module_ResourceManager_Instance()\n"
                      "local player = bind.GameObject('player')\n"
                      "local stamped = bind.ObjectFactory_StampObject(player, rm:GetPattern('player'))\n"
                      "local weapons = bind.WeaponComp()\n"
                      "local gun = bind.SimpleSpread()\n"
                      "gun.bulletName = 'playerBullet' gun.owner = 'player' gun.rate = 0.05\n"
                      "gun:AddHotSpot(-6, 0, 0, 'player') gun:AddHotSpot(6, 0, 0, 'player')\n"
                      "weapons.primary = gun\n"
                      "player:AttachComponent(weapons)\n"
                      "player:GetStatsComp().shield = 50\n"
                      "player.trans = bind.Vector(10, 25, 20)\n"
                      "local added = om:AddGameObject(player)\n"
                      "local again = om:AddGameObject(bind.GameObject('player'))\n"
                      "player = nil gun = nil weapons = nil collectgarbage('collect') collectgarbage('collect')\n"
                      "return tostring(stamped) .. ' ' .. tostring(added) .. ' ' .. tostring(again)"),
              "true true false");
    EXPECT_NE(newLog.Text().find("game object with duplicate name!"), std::string::npos);

    ObjectLock lock;
    ASSERT_TRUE(Objects().HasGameObject("player"));
    const GameObject& player = *Objects().GetGameObject("player");
    EXPECT_FLOAT_EQ(player.trans.x, 10.0f);
    EXPECT_FLOAT_EQ(player.trans.z, 20.0f);
    ASSERT_NE(player.GetStatsComp(), nullptr);
    EXPECT_EQ(player.GetStatsComp()->healthMax, 100);
    EXPECT_FLOAT_EQ(player.GetStatsComp()->shield, 50.0f);
    ASSERT_NE(player.GetCollisionComp(), nullptr);
    EXPECT_TRUE(player.GetCollisionComp()->hasOBB);
    EXPECT_FLOAT_EQ(player.GetCollisionComp()->obb.extents.y, 12.0f);
    EXPECT_NE(player.GetPhysicsComp(), nullptr);
    ASSERT_NE(player.GetWeaponComp(), nullptr);
    const Weapon* primary = player.GetWeaponComp()->primary;
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary->bulletName, "playerBullet");
    EXPECT_EQ(primary->owner, "player");
    EXPECT_EQ(primary->hotspots.size(), 2u);
    EXPECT_NE(dynamic_cast<const SimpleSpread*>(primary), nullptr);
}

TEST_F(LuaBindWorldTest, LightsAreAppendedToTheManagersList) {
    EXPECT_EQ(LuaEval("local lights = bind.Module_ObjectManager_Instance().lightObjectList\n"
                      "local sun = bind.LightObject()\n"
                      "sun.position = bind.Vector(0, 1, 0, 0)\n"
                      "sun.diffuse = bind.Vector(1, 0.5, 0.25, 1)\n"
                      "lights:push_back(sun)\n"
                      "local copy = lights[0] copy.linearAtten = 5\n"
                      "local lamp = bind.LightObject() lamp.quadraticAtten = 2\n"
                      "lights:push_back(lamp)\n"
                      "local changed = lights[1] changed.constantAtten = 3 lights[1] = changed\n"
                      "return lights:size() .. ' ' .. lights:front().ambient * bind.Vector(1, 0, 0)"),
              "2 0.20000000298023");
    ASSERT_EQ(Objects().lightObjectList.size(), 2u);
    const LightObject& sun = Objects().lightObjectList[0];
    EXPECT_FLOAT_EQ(sun.position.w, 0.0f);
    EXPECT_FLOAT_EQ(sun.diffuse.y, 0.5f);
    EXPECT_FLOAT_EQ(sun.linearAtten, 0.0f);
    EXPECT_FLOAT_EQ(Objects().lightObjectList[1].constantAtten, 3.0f);
    EXPECT_FLOAT_EQ(Objects().lightObjectList[1].quadraticAtten, 2.0f);

    const std::string outside = LuaEval("return bind.Module_ObjectManager_Instance().lightObjectList[7]");
    EXPECT_NE(outside.find("__getitem__"), std::string::npos) << outside;
    EXPECT_EQ(LuaEval("local lights = bind.Module_ObjectManager_Instance().lightObjectList\n"
                      "lights:pop_back() lights:clear() return tostring(lights:empty())"),
              "true");
    EXPECT_TRUE(Objects().lightObjectList.empty());
}

TEST_F(LuaBindWorldTest, GroundAndSceneMembers) {
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "local ground = bind.GroundPlaneObject()\n"
                      "ground.pos = bind.Vector(0, 7, 0) ground.scale = bind.Vector(100, 10, 100)\n"
                      "om.groundObject = ground\n"
                      "ground.pos = bind.Vector(0, 1, 0)\n"
                      "om.groundObject.meshHandle = bind.Handle('mesh_ground_level1')\n"
                      "om.perspectMat:Zero()\n"
                      "om.selectedObject = 'crate'\n"
                      "return om.groundObject:GetHeight(bind.Vector(3, 0, 3)) .. ' ' ..\n"
                      "  om.groundObject:GetMatrix():Trace() .. ' ' .. swig_type(om.cameraObject)"),
              "7 211 CameraObject *");
    EXPECT_FLOAT_EQ(Objects().groundObject.pos.y, 7.0f);
    EXPECT_EQ(Objects().groundObject.meshHandle.id, "mesh_ground_level1");
    EXPECT_FLOAT_EQ(Objects().perspectMat.Trace(), 0.0f);
    EXPECT_EQ(Objects().selectedObject, "crate");
    Objects().perspectMat.Identity();
    Objects().groundObject = GroundPlaneObject();
    Objects().selectedObject.clear();
}

// The tables read as copies outlive what they were read from; the object
// table and the particle controller cannot be replaced from Lua.
TEST_F(LuaBindWorldTest, TablesAreReadAsCopies) {
    AddObject("tank");
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "om:Lock()\n"
                      "local objects = om.gameObjectList\n"
                      "local sky = om.skyBox local slides = om.credits local buffers = om.instanceBufferList\n"
                      "local particles = om.particleSystemController\n"
                      "om:ClearGameObjects()\n"
                      "om:Unlock()\n"
                      "om.skyBox = sky om.splashScreen = slides om.instanceBufferList = buffers\n"
                      "collectgarbage('collect')\n"
                      "return swig_type(objects) .. '|' .. swig_type(particles) .. '|' ..\n"
                      "  tostring(om:HasGameObject('tank'))"),
              "std::unordered_map< unsigned int,GameObject > *|ParticleSystemController *|false");
    EXPECT_NE(LuaEval("local om = bind.Module_ObjectManager_Instance() om.gameObjectList = om.gameObjectList")
                  .find("error: "),
              std::string::npos);
    EXPECT_NE(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "om.particleSystemController = om.particleSystemController")
                  .find("error: "),
              std::string::npos);
    EXPECT_EQ(Objects().skyBox.meshHandle.id, "mesh_skybox");
}

TEST_F(LuaBindWorldTest, KillAndRemoveFromLua) {
    AddObject("tank");
    AddObject("crate");
    EXPECT_EQ(LuaEval("local om = bind.Module_ObjectManager_Instance()\n"
                      "om:Lock()\n"
                      "om:KillGameObject(om:GetGameObject('tank'))\n"
                      "local dead = om:GetGameObject('tank').isDead\n"
                      "om:RemoveDeadGameObjects()\n"
                      "om:ClearLevelObjects()\n"
                      "om:Unlock()\n"
                      "return tostring(dead) .. ' ' .. tostring(om:HasGameObject('tank')) .. ' ' ..\n"
                      "  tostring(om:HasGameObject('crate'))"),
              "true false true");
}

// Scripts reach each manager as its one instance; they can neither make a
// second one nor have the collector free the real one.
TEST_F(LuaBindWorldTest, ManagersAreReachedOnlyAsTheirInstance) {
    for (const char* manager : {"ObjectManager", "ResourceManager", "CollisionManager", "EventManager"}) {
        const std::string name(manager);
        EXPECT_NE(LuaEval("return bind." + name + "()").find("error: "), std::string::npos) << name;
        EXPECT_EQ(LuaEval("local m = bind.Module_" + name + "_Instance() m = nil collectgarbage('collect')\n"
                          "return swig_equals(bind.Module_" + name + "_Instance(), bind.Module_" + name + ".Instance())"),
                  "true")
            << name;
    }
}

TEST_F(LuaBindWorldTest, CollisionManagerRayAndVolumes) {
    CollisionManager& collisions = *Module<CollisionManager>::Instance();
    EXPECT_EQ(LuaEval("local cm = bind.Module_CollisionManager_Instance()\n"
                      "cm:SetCurrentPickRay(bind.Ray(bind.Vector(0, 0, 1), bind.Vector(1, 2, 3)))\n"
                      "return cm:GetCurrentPickRay().origin * bind.Vector(1, 1, 1) .. ' ' ..\n"
                      "  cm:GetRayIntersectRecords():size()"),
              "6 0");
    EXPECT_FLOAT_EQ(collisions.GetCurrentPickRay().direction.z, 1.0f);

    RayIntersectRecord hit;
    hit.objNum = 42;
    hit.rayParam = 2.5f;
    hit.intersectPoint = Vector(1, 2, 3);
    collisions.rayIntersectRecords = {hit};
    collisions.PublishRayIntersectRecords();
    collisions.rayIntersectRecords.clear();
    EXPECT_EQ(LuaEval("local hits = bind.Module_CollisionManager_Instance():GetRayIntersectRecords()\n"
                      "local first = hits[0] hits = nil collectgarbage('collect')\n"
                      "return first.objNum .. ' ' .. first.rayParam .. ' ' .. first.intersectPoint * bind.Vector(1, 1, 1)\n"
                      "  .. ' ' .. first.objPos.rot.s"),
              "42 2.5 6 1");
    collisions.PublishRayIntersectRecords();

    EXPECT_EQ(LuaEval("local cm = bind.Module_CollisionManager_Instance()\n"
                      "local m = bind.Mesh()\n"
                      "m:AddTriangle(bind.Vertex(0, 0, 0), bind.Vertex(2, 0, 0), bind.Vertex(0, 4, 0))\n"
                      "local box = cm:BuildAABB(m, 2)\n"
                      "local obb = cm:BuildOBB(m, 1)\n"
                      "local moved = cm:TransformVerts(obb:GetVerts(), bind.QuatVec(bind.Quaternion(1), bind.Vector(10, 0, 0)))\n"
                      "return box.extents * bind.Vector(1, 1, 1) .. ' ' .. cm:BuildCollisionMesh(m, 1):size() .. ' ' ..\n"
                      "  moved:size() .. ' ' .. moved[0] * bind.Vector(1, 0, 0)"),
              "6 1 8 10");
    // An object without a mesh is warned about and left alone.
    EXPECT_EQ(LuaEval("local o = bind.GameObject('probe') o:AttachComponent(bind.CollisionComp())\n"
                      "bind.Module_CollisionManager_Instance():GenerateBoundingSphere(o)\n"
                      "bind.Module_CollisionManager_Instance():GenerateAxesFromMesh(o)\n"
                      "return tostring(o:GetCollisionComp().hasSATInfo)"),
              "false");
}

}  // namespace
