// Stamping patterns onto objects: each section stamp (what it attaches, fills
// and keeps on a re-stamp), then StampObject's order, placement and refusals.
#include <gtest/gtest.h>

#include <algorithm>

#include "aistuff/state_heavy.h"
#include "aistuff/state_inactive.h"
#include "aistuff/state_rotate.h"
#include "game_logic.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/log_capture.h"
#include "weapons.h"

namespace {

using ObjectFactory::SetParameter;

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

template <class T>
void Put(const std::string& name, const T& value) {
    if (Store().IsStored(name)) Store().DeleteResource(name);
    ASSERT_EQ(Store().add(name, value), 0);
}

void Fill(ObjectPattern&) {}
template <class T, class... Rest>
void Fill(ObjectPattern& pattern, const char* name, T value, Rest... rest) {
    SetParameter(pattern, name, value);
    Fill(pattern, rest...);
}
// A pattern from name/value pairs, placed at the origin.
template <class... Params>
ObjectPattern Pattern(Params... params) {
    ObjectPattern pattern;
    Fill(pattern, "isLevelObject", false, "x", 0.0f, "y", 0.0f, "z", 0.0f, params...);
    return pattern;
}
ObjectPattern Graphics(const std::string& texture) {
    return Pattern("graphics", true, "mesh", std::string("mesh_stamp_box"), "texture", texture, "scale", 2.5f);
}
ObjectPattern Stats(int health) {
    return Pattern("stats", true, "healthMax", health, "magic", 5, "boost", 2.5f, "armor", 4.0f, "speed", 3.5f);
}
PickupComp* Pickup(const GameObject& o) { return static_cast<PickupComp*>(o.GetComponent(CompIndex::Pickup)); }

class Stamping : public ::testing::Test {
protected:
    void SetUp() override {
        Mesh box;  // spans x -1..3, y 0..2, z -2..2
        box.verts = {Vertex(-1, 0, -2), Vertex(3, 0, -2), Vertex(3, 2, 2), Vertex(-1, 2, 2)};
        box.triangles = {Triangle(0, 1, 2), Triangle(2, 3, 0)};
        Put("mesh_stamp_box", box);
        for (unsigned id : {11u, 22u}) {
            Texture texture(2, 2, 4);
            texture.texID = id;
            Put("tex_stamp_" + std::to_string(id), texture);
        }
        TearDown();
    }
    void TearDown() override {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    // Registered, then stamped under the lock as the level loader does.
    template <class Stamp>
    GameObject& Registered(const std::string& name, Stamp stamp) {
        GameObject object(name);
        object.AttachComponent(GraphicsComp());
        EXPECT_TRUE(Objects().AddGameObject(object));
        ObjectLock lock;
        stamp(*Objects().GetGameObject(name));
        return *Objects().GetGameObject(name);
    }
    test_support::LogCapture log;
};

TEST_F(Stamping, GraphicsSetsMeshScaleSkeletonAndTheLastTextureOnASharedMeshWins) {
    GameObject first("crate1"), second("crate2"), ghost("ghost"), walker("walker");
    ObjectFactory::StampGraphics(first, Graphics("tex_stamp_11"));
    EXPECT_FLOAT_EQ(first.GetGraphicsComp()->modelScale, 2.5f);
    ObjectFactory::StampGraphics(second, Graphics("tex_stamp_22"));
    ObjectFactory::StampGraphics(ghost, Graphics("tex_stamp_nowhere"));  // a missing texture changes nothing
    EXPECT_TRUE(first.GetGraphicsComp()->GetMesh()->texID == 22u && log.Has("tex_stamp_nowhere has not been loaded"));
    Put("skel_stamp_walker", Skeleton());
    Put("anim_stamp_walk", AnimSet());
    ObjectPattern pattern = Graphics("tex_stamp_11");
    Fill(pattern, "mesh", std::string("mesh_stamp_nowhere"), "hasSkeleton", true, "skeleton", std::string("skel_stamp_walker"));
    pattern.animNames = {"anim_stamp_walk", "anim_stamp_walk"};
    ObjectFactory::StampGraphics(walker, pattern);
    EXPECT_TRUE(log.Has("mesh_stamp_nowhere not loaded")) << "and the rest is still stamped";
    EXPECT_TRUE(walker.GetGraphicsComp()->skeleton.boneAnimations.size() == 2u &&
                Store().get<Skeleton>(Handle("skel_stamp_walker"))->curAnimation == -1) << "the object owns a copy";
}

TEST_F(Stamping, PhysicsAndStatsReuseTheirComponentAndStatsStartFull) {
    GameObject object("mech");
    ObjectFactory::StampPhysics(object, Pattern("mass", 200.0f, "infMass", false));
    PhysicsComp* body = object.GetPhysicsComp();
    body->linearVel = Vector(1, 2, 3, 0);
    ObjectFactory::StampPhysics(object, Pattern("mass", 5.0f, "infMass", true));
    EXPECT_TRUE(object.GetPhysicsComp() == body && body->mass == 5.0f && body->infMass && body->linearVel.y == 2.0f);
    ObjectFactory::StampStats(object, Stats(100));
    StatsComp* stats = object.GetStatsComp();
    EXPECT_EQ(stats->hp, 100);
    stats->hp = 3, stats->sp = 40.0f;
    ObjectFactory::StampStats(object, Stats(300));
    EXPECT_TRUE(stats->hp == 300 && stats->sp == 40.0f) << "a re-stamp refills; the shield keeps its value";
}

TEST_F(Stamping, CollisionGroupBitsAddToTheHeldComponentAndBadGroupsAreSkipped) {
    ObjectPattern given = Pattern("autoGenerate", false, "group", 2, "hasOBB", true, "obb",
                                  OBB(Vector(1, 2, 3), Vector(4, 5, 6), Quaternion(1.0f)), "hasAABB", false,
                                  "hasSphere", true, "sphere", BoundingSphere());
    given.collidesWithList = {0, 3};
    GameObject wall("wall");
    CollisionComp held;
    held.category = 1, held.collidesWith = 16;
    wall.AttachComponent(held);
    ObjectFactory::StampCollision(wall, given);
    const CollisionComp* comp = wall.GetCollisionComp();
    EXPECT_TRUE(comp->category == (1u | 4u) && comp->collidesWith == (16u | 1u | 8u) && comp->hasOBB &&
                comp->hasBoundSphere && !comp->hasAABB);
    SetParameter(given, "group", 32);
    given.collidesWithList = {-1, 31, 40};
    GameObject odd("odd");
    ObjectFactory::StampCollision(odd, given);
    EXPECT_TRUE(odd.GetCollisionComp()->category == 0u && odd.GetCollisionComp()->collidesWith == 0x80000000u &&
                log.Count("is not in 0..31") == 3);
}

TEST_F(Stamping, GeneratedCollisionVolumesAreBuiltOncePerMeshWhateverTheScale) {
    ObjectPattern pattern = Pattern("autoGenerate", true, "group", 1);
    GameObject small("small"), large("large"), bare("bare");
    small.AttachComponent(GraphicsComp());
    small.GetGraphicsComp()->modelMesh = Handle("mesh_stamp_box");
    large.AttachComponent(*small.GetGraphicsComp());
    large.GetGraphicsComp()->modelScale = 10.0f;
    Module<GameLogic>::Instance()->collisionCache.erase("mesh_stamp_box");
    ObjectFactory::StampCollision(small, pattern);
    ObjectFactory::StampCollision(large, pattern);
    const CollisionComp& a = *small.GetCollisionComp();  // radius: the half diagonal of extents (2, 1, 2)
    EXPECT_TRUE(a.hasOBB && a.hasAABB && a.hasSATInfo && a.boundSphere.radius == 3.0f);
    EXPECT_FLOAT_EQ(large.GetCollisionComp()->boundSphere.radius, 3.0f) << "cached, not rebuilt at scale 10";
    ObjectFactory::StampCollision(bare, pattern);
    EXPECT_TRUE(!bare.GetCollisionComp()->hasOBB && log.Has("No mesh to generate collision volumes from for bare"));
}

TEST_F(Stamping, SpawnWaitsAWholeDelayAndRegistersEachStamp) {
    ObjectPattern pattern = Pattern("delay", 2.5f, "spawnDir", Vector(1, 0, 0, 0));
    const std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    GameObject gate("gate7");
    ObjectFactory::StampSpawn(gate, pattern);
    auto* spawn = static_cast<SpawnComp*>(gate.GetComponent(CompIndex::Spawn));
    EXPECT_DOUBLE_EQ(spawn->countdown, 2.5);
    pattern.paramList.erase("spawnDir");
    ObjectFactory::StampSpawn(gate, pattern);
    EXPECT_FLOAT_EQ(spawn->spawnDir.x, 1.0f) << "kept when the pattern has none";
    EXPECT_EQ(std::count(points.begin(), points.end(), "gate7"), 2) << "a name may stand twice";
}

TEST_F(Stamping, BehaviourPushesHeavyThenInactiveAndOwnsCopiedWeapons) {
    WeaponComp armed;
    armed.primary = new SimpleSpread();
    armed.secondary = new Missile();
    armed.primary->owner = "nobody";
    ObjectPattern pattern =
        Pattern("behavior", true, "state", std::string("x"), "weapon", true, "weaponComp", armed);
    GameObject& mech = Registered("mech4", [&](GameObject& o) { ObjectFactory::StampBehavior(o, pattern); });
    const FSMStateMachine& sm = mech.GetBehaviorComp()->sm;
    auto* heavy = sm.Size() == 2u ? dynamic_cast<StateHeavy*>(sm.At(0)) : nullptr;
    ASSERT_TRUE(heavy && dynamic_cast<StateInactive*>(sm.At(1)));
    EXPECT_EQ(heavy->subMachine.Size(), 1u) << "Heavy's Enter pushed the follow state";
    EXPECT_EQ(mech.GetGraphicsComp()->skeleton.curAnimation, 0) << "the idle state's Enter ran last";
    Weapon* held = mech.GetWeaponComp()->primary;
    EXPECT_TRUE(held->owner == "mech4" &&
                ObjectFactory::GetParameter<WeaponComp>(pattern, "weaponComp").primary->owner == "nobody");
    ObjectLock lock;
    ObjectFactory::StampBehavior(mech, pattern);
    EXPECT_TRUE(mech.GetWeaponComp()->primary == held && mech.GetBehaviorComp()->sm.Size() == 4u)
        << "a re-stamp keeps the weapons";
}

TEST_F(Stamping, AHealthPickupSpinsAndIsNotPushedApartAndOtherKindsKeepTheDefault) {
    GameObject& pack = Registered("health9", [](GameObject& o) {
        o.AttachComponent(CollisionComp());
        ObjectFactory::StampPickup(o, Pattern("type", std::string("health"), "value", 25));
    });
    EXPECT_TRUE(Pickup(pack)->kind == PickupComp::kHealth && !pack.GetCollisionComp()->resolveContact);
    EXPECT_NE(dynamic_cast<StateRotate*>(pack.GetBehaviorComp()->sm.Top()), nullptr) << "a health pickup spins";
    for (const char* type : {"ammo", "Health"}) {
        GameObject& other = Registered(type, [&](GameObject& o) {
            ObjectFactory::StampPickup(o, Pattern("type", std::string(type)));
        });
        EXPECT_EQ(Pickup(other)->kind, type[0] == 'a' ? PickupComp::kAmmo : PickupComp::kUnknown);
    }
}

TEST_F(Stamping, StampObjectRunsOnlyTheSectionsPresentThenPlacesOrRefuses) {
    ObjectPattern pattern = Graphics("tex_stamp_11");
    Fill(pattern, "physics", false, "mass", 3.0f, "infMass", false, "x", 4.0f, "isLevelObject", true);
    GameObject object("placed");
    EXPECT_TRUE(ObjectFactory::StampObject(object, pattern));
    for (int kind = CompIndex::kFirst; kind <= CompIndex::kLast; ++kind)
        EXPECT_EQ(object.HasComp(CompIndex::Entry(kind)), kind == CompIndex::Graphics || kind == CompIndex::Physics)
            << "only the presence of a flag counts: kind " << kind;
    ASSERT_FLOAT_EQ(object.trans.x, 4.0f);
    ObjectFactory::StampObject(object, Stats(20));
    EXPECT_TRUE(object.GetStatsComp()->healthMax == 20 && object.GetPhysicsComp()->mass == 3.0f)
        << "a second pattern adds, field by field";
    GameObject other("other");
    EXPECT_TRUE(!ObjectFactory::StampObject(other, Store().GetPattern("NoSuchPatternAnywhere")) &&
                log.Has("unknown object pattern; other not stamped"));
}

}  // namespace
