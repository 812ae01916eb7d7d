// Stamping patterns onto objects: one group per section stamp (what it
// attaches, what it fills, what a re-stamp keeps), then StampObject's order,
// placement and refusals. Patterns are built in code; the resources they name
// are put into the store by the tests.
#include <gtest/gtest.h>

#include <string>

#include "game_logic.h"
#include "object_factory.h"
#include "objects/components.h"
#include "objects/game_object.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;
using ObjectFactory::SetParameter;

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

// A unit-ish box mesh spanning x -1..3, y 0..2, z -2..2.
Mesh BoxMesh() {
    Mesh mesh;
    mesh.verts = {Vertex(-1, 0, -2), Vertex(3, 0, -2), Vertex(3, 2, 2), Vertex(-1, 2, 2)};
    mesh.triangles = {Triangle(0, 1, 2), Triangle(2, 3, 0)};
    mesh.useTexture = false;
    mesh.texID = 77;
    return mesh;
}

Texture TextureNamed(unsigned texID) {
    Texture texture(2, 2, 4);
    texture.texID = texID;
    return texture;
}

template <class T>
void Put(const std::string& name, const T& value) {
    if (Store().IsStored(name)) Store().DeleteResource(name);
    ASSERT_EQ(Store().add(name, value), 0);
}

ObjectPattern Placed(float x, float y, float z) {
    ObjectPattern pattern;
    SetParameter(pattern, "isLevelObject", false);
    SetParameter(pattern, "x", x);
    SetParameter(pattern, "y", y);
    SetParameter(pattern, "z", z);
    return pattern;
}

ObjectPattern Graphics(const std::string& mesh, const std::string& texture, float scale) {
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "graphics", true);
    SetParameter(pattern, "mesh", mesh);
    SetParameter(pattern, "texture", texture);
    SetParameter(pattern, "scale", scale);
    return pattern;
}

ObjectPattern Stats(int health, int magic, float boost) {
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "stats", true);
    SetParameter(pattern, "healthMax", health);
    SetParameter(pattern, "magic", magic);
    SetParameter(pattern, "boost", boost);
    SetParameter(pattern, "armor", 4.0f);
    SetParameter(pattern, "speed", 3.5f);
    return pattern;
}

ObjectPattern GivenCollision(int group, std::vector<int> collidesWith) {
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "collision", true);
    SetParameter(pattern, "autoGenerate", false);
    SetParameter(pattern, "group", group);
    SetParameter(pattern, "hasOBB", true);
    SetParameter(pattern, "obb", OBB(Vector(1, 2, 3), Vector(4, 5, 6), Quaternion(1.0f)));
    SetParameter(pattern, "hasAABB", false);
    SetParameter(pattern, "hasSphere", true);
    BoundingSphere sphere;
    sphere.center = Vector(0, 1, 0);
    sphere.radius = 7.0f;
    SetParameter(pattern, "sphere", sphere);
    pattern.collidesWithList = collidesWith;
    return pattern;
}

SpawnComp* Spawn(const GameObject& object) {
    return static_cast<SpawnComp*>(object.GetComponent(CompIndex::Spawn));
}

// ---- Graphics ----------------------------------------------------------------

class GraphicsStamp : public ::testing::Test {
protected:
    void SetUp() override {
        Put("mesh_stamp_box", BoxMesh());
        Put("tex_stamp_red", TextureNamed(11));
        Put("tex_stamp_blue", TextureNamed(22));
    }
};

TEST_F(GraphicsStamp, SetsMeshScaleAndWritesTheTextureIntoTheSharedMesh) {
    GameObject object("crate1");
    ObjectFactory::StampGraphics(object, Graphics("mesh_stamp_box", "tex_stamp_red", 2.5f));
    GraphicsComp* graphics = object.GetGraphicsComp();
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->modelMesh.GetID(), "mesh_stamp_box");
    EXPECT_FLOAT_EQ(graphics->modelScale, 2.5f);
    Mesh* mesh = Store().get<Mesh>(Handle("mesh_stamp_box"));
    EXPECT_EQ(mesh->texID, 11u);
    EXPECT_TRUE(mesh->useTexture);
}

TEST_F(GraphicsStamp, TheLastTextureStampedOnASharedMeshWinsForEveryObject) {
    GameObject first("crate1"), second("crate2");
    ObjectFactory::StampGraphics(first, Graphics("mesh_stamp_box", "tex_stamp_red", 1.0f));
    ObjectFactory::StampGraphics(second, Graphics("mesh_stamp_box", "tex_stamp_blue", 1.0f));
    EXPECT_EQ(first.GetGraphicsComp()->GetMesh()->texID, 22u);
    EXPECT_EQ(second.GetGraphicsComp()->GetMesh(), first.GetGraphicsComp()->GetMesh());
}

TEST_F(GraphicsStamp, MissingMeshOrTextureIsReportedAndLeavesTheRestAlone) {
    LogCapture log;
    GameObject object("ghost");
    ObjectFactory::StampGraphics(object, Graphics("mesh_stamp_nowhere", "tex_stamp_red", 1.0f));
    EXPECT_TRUE(object.GetGraphicsComp()->modelMesh.GetID().empty());
    EXPECT_TRUE(log.Has("mesh_stamp_nowhere not loaded"));

    ObjectFactory::StampGraphics(object, Graphics("mesh_stamp_box", "tex_stamp_nowhere", 1.0f));
    EXPECT_EQ(object.GetGraphicsComp()->modelMesh.GetID(), "mesh_stamp_box");
    EXPECT_EQ(Store().get<Mesh>(Handle("mesh_stamp_box"))->texID, 77u);
    EXPECT_TRUE(log.Has("tex_stamp_nowhere has not been loaded"));
}

TEST_F(GraphicsStamp, SkeletonIsCopiedWithItsAnimationSetsInOrder) {
    Skeleton skeleton;
    skeleton.name = "walker";
    skeleton.boneList.resize(2);
    Put("skel_stamp_walker", skeleton);
    AnimSet idle, walk;
    idle.name = "idle";
    walk.name = "walk";
    Put("anim_stamp_idle", idle);
    Put("anim_stamp_walk", walk);

    ObjectPattern pattern = Graphics("mesh_stamp_box", "tex_stamp_red", 1.0f);
    SetParameter(pattern, "hasSkeleton", true);
    SetParameter(pattern, "skeleton", std::string("skel_stamp_walker"));
    pattern.animNames = {"anim_stamp_walk", "anim_stamp_idle"};
    GameObject object("walker1");
    ObjectFactory::StampGraphics(object, pattern);

    const Skeleton& own = object.GetGraphicsComp()->skeleton;
    EXPECT_EQ(own.name, "walker");
    EXPECT_EQ(own.boneList.size(), 2u);
    EXPECT_EQ(own.curAnimation, 0);
    ASSERT_EQ(own.boneAnimations.size(), 2u);
    EXPECT_EQ(own.boneAnimations[0].name, "walk");
    EXPECT_EQ(own.boneAnimations[1].name, "idle");
    // The object has its own copy, not the stored skeleton.
    EXPECT_EQ(Store().get<Skeleton>(Handle("skel_stamp_walker"))->curAnimation, -1);
}

TEST_F(GraphicsStamp, SkeletonFlagWithoutItsNameIsABadCast) {
    ObjectPattern pattern = Graphics("mesh_stamp_box", "tex_stamp_red", 1.0f);
    SetParameter(pattern, "hasSkeleton", true);
    GameObject object("walker2");
    EXPECT_THROW(ObjectFactory::StampGraphics(object, pattern), ParamTypeError);
    EXPECT_NE(object.GetGraphicsComp(), nullptr);  // attached before the failure, and kept
}

// ---- Physics and stats -------------------------------------------------------

TEST(PhysicsStamp, FillsMassAndReStampingReusesTheComponent) {
    ObjectPattern heavy = Placed(0, 0, 0);
    SetParameter(heavy, "mass", 200.0f);
    SetParameter(heavy, "infMass", false);
    ObjectPattern anchored = heavy;
    SetParameter(anchored, "mass", 5.0f);
    SetParameter(anchored, "infMass", true);

    GameObject object("body");
    ObjectFactory::StampPhysics(object, heavy);
    PhysicsComp* body = object.GetPhysicsComp();
    body->linearVel = Vector(1, 2, 3, 0);
    ObjectFactory::StampPhysics(object, anchored);
    EXPECT_EQ(object.GetPhysicsComp(), body);
    EXPECT_FLOAT_EQ(body->mass, 5.0f);
    EXPECT_TRUE(body->infMass);
    EXPECT_FLOAT_EQ(body->linearVel.y, 2.0f);

    ObjectPattern massless = Placed(0, 0, 0);
    SetParameter(massless, "infMass", true);
    EXPECT_THROW(ObjectFactory::StampPhysics(object, massless), ParamTypeError);
}

TEST(StatsStamp, CurrentValuesStartFullAndTheShieldKeepsItsValue) {
    GameObject object("mech");
    ObjectFactory::StampStats(object, Stats(100, 5, 2.5f));
    StatsComp* stats = object.GetStatsComp();
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->hp, 100);
    EXPECT_EQ(stats->mp, 5);
    EXPECT_FLOAT_EQ(stats->bp, 2.5f);
    EXPECT_FLOAT_EQ(stats->armor, 4.0f);
    EXPECT_FLOAT_EQ(stats->speed, 3.5f);
    EXPECT_EQ(stats->deathEffect.effectType, 0);
    EXPECT_FLOAT_EQ(stats->deathEffect.effectSize, 6.05f);

    stats->hp = 3;
    stats->sp = 40.0f;
    ObjectFactory::StampStats(object, Stats(300, 1, 0.0f));
    EXPECT_EQ(stats->hp, 300);  // a re-stamp refills
    EXPECT_EQ(stats->mp, 1);
    EXPECT_FLOAT_EQ(stats->sp, 40.0f);
}

TEST(StatsStamp, HealthStoredAsAFloatIsABadCast) {
    ObjectPattern pattern = Stats(100, 5, 1.0f);
    SetParameter(pattern, "healthMax", 100.0f);
    GameObject object("mech");
    EXPECT_THROW(ObjectFactory::StampStats(object, pattern), ParamTypeError);
}

// ---- Collision ---------------------------------------------------------------

TEST(CollisionStamp, GivenVolumesAndGroupBitsAddToWhatTheComponentHad) {
    GameObject object("wall");
    CollisionComp held;
    held.category = 1;
    held.collidesWith = 16;
    object.AttachComponent(held);

    LogCapture log;
    ObjectFactory::StampCollision(object, GivenCollision(2, {0, 3}));
    CollisionComp* comp = object.GetCollisionComp();
    EXPECT_TRUE(log.Has("duplicate"));  // attached without looking; the held one is filled
    EXPECT_EQ(comp->category, 1u | 4u);
    EXPECT_EQ(comp->collidesWith, 16u | 1u | 8u);
    EXPECT_TRUE(comp->hasOBB);
    EXPECT_FLOAT_EQ(comp->obb.extents.y, 5.0f);
    EXPECT_FALSE(comp->hasAABB);
    EXPECT_TRUE(comp->hasBoundSphere);
    EXPECT_FLOAT_EQ(comp->boundSphere.radius, 7.0f);
}

TEST(CollisionStamp, GroupsOutsideTheMasksAreSkippedWithAWarning) {
    LogCapture log;
    GameObject object("odd");
    ObjectFactory::StampCollision(object, GivenCollision(32, {-1, 31, 40}));
    CollisionComp* comp = object.GetCollisionComp();
    EXPECT_EQ(comp->category, 0u);
    EXPECT_EQ(comp->collidesWith, 0x80000000u);
    EXPECT_EQ(log.Count("is not in 0..31"), 3);

    ObjectPattern noGroup = GivenCollision(0, {});
    noGroup.paramList.erase("group");
    GameObject other("nogroup");
    ObjectFactory::StampCollision(other, noGroup);
    EXPECT_EQ(other.GetCollisionComp()->category, 0u);
    EXPECT_TRUE(log.Has("has no group"));
}

TEST(CollisionStamp, AutoGenerationBuildsOncePerMeshWhateverTheScale) {
    Put("mesh_stamp_autogen", BoxMesh());
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "autoGenerate", true);
    SetParameter(pattern, "group", 1);

    GameObject small("small"), large("large");
    small.AttachComponent(GraphicsComp());
    small.GetGraphicsComp()->modelMesh = Handle("mesh_stamp_autogen");
    large.AttachComponent(*small.GetGraphicsComp());
    large.GetGraphicsComp()->modelScale = 10.0f;

    ObjectFactory::StampCollision(small, pattern);
    ObjectFactory::StampCollision(large, pattern);
    const CollisionComp& a = *small.GetCollisionComp();
    const CollisionComp& b = *large.GetCollisionComp();
    EXPECT_TRUE(a.hasOBB && a.hasAABB && a.hasBoundSphere && a.hasSATInfo && a.canBePicked);
    EXPECT_FLOAT_EQ(a.boundSphere.radius, 3.0f);  // half diagonal of extents (2, 1, 2)
    EXPECT_FLOAT_EQ(a.aabb.center.x, 1.0f);
    EXPECT_FLOAT_EQ(b.boundSphere.radius, 3.0f);  // the cached volumes, not rebuilt at scale 10
    EXPECT_FLOAT_EQ(b.obb.extents.x, a.obb.extents.x);
    EXPECT_EQ(a.category, 2u);
    EXPECT_EQ(Module<GameLogic>::Instance()->collisionCache.count("mesh_stamp_autogen"), 1u);
}

TEST(CollisionStamp, AutoGenerationWithoutAMeshGivesDefaultVolumesAndCachesNothing) {
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "autoGenerate", true);
    SetParameter(pattern, "group", 0);
    LogCapture log;
    GameObject bare("bare");
    ObjectFactory::StampCollision(bare, pattern);
    ASSERT_NE(bare.GetCollisionComp(), nullptr);
    EXPECT_FALSE(bare.GetCollisionComp()->hasOBB);
    EXPECT_TRUE(log.Has("No mesh to generate collision volumes from for bare"));
    EXPECT_EQ(Module<GameLogic>::Instance()->collisionCache.count(""), 0u);
}

// ---- Spawn -------------------------------------------------------------------

TEST(SpawnStamp, WaitsAWholeDelayAndRegistersEachStamp) {
    ObjectPattern pattern = Placed(0, 0, 0);
    SetParameter(pattern, "delay", 2.5f);
    SetParameter(pattern, "spawnDir", Vector(1, 0, 0, 0));
    std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    const size_t before = points.size();

    GameObject gate("gate7");
    ObjectFactory::StampSpawn(gate, pattern);
    SpawnComp* spawn = Spawn(gate);
    ASSERT_NE(spawn, nullptr);
    EXPECT_DOUBLE_EQ(spawn->delay, 2.5);
    EXPECT_DOUBLE_EQ(spawn->countdown, 2.5);
    EXPECT_FLOAT_EQ(spawn->spawnDir.x, 1.0f);

    spawn->patternQueue.push_back("Mech");
    pattern.paramList.erase("spawnDir");
    ObjectFactory::StampSpawn(gate, pattern);
    EXPECT_EQ(Spawn(gate), spawn);
    EXPECT_FLOAT_EQ(spawn->spawnDir.x, 1.0f);  // kept when the pattern has none
    EXPECT_EQ(spawn->patternQueue.size(), 1u);
    ASSERT_EQ(points.size(), before + 2);  // a name may stand twice
    EXPECT_EQ(points[before], "gate7");
    EXPECT_EQ(points[before + 1], "gate7");
}

// ---- StampObject ---------------------------------------------------------------

TEST_F(GraphicsStamp, StampObjectRunsOnlyTheSectionsThePatternHasAndPlacesTheObject) {
    ObjectPattern pattern = Graphics("mesh_stamp_box", "tex_stamp_red", 1.0f);
    SetParameter(pattern, "physics", false);  // only the presence of a flag counts
    SetParameter(pattern, "mass", 3.0f);
    SetParameter(pattern, "infMass", false);
    SetParameter(pattern, "x", 4.0f);
    SetParameter(pattern, "y", 5.0f);
    SetParameter(pattern, "z", 6.0f);
    SetParameter(pattern, "isLevelObject", true);
    SetParameter(pattern, "offset", 1.25f);

    GameObject object("placed");
    object.trans.w = 9.0f;
    object.rot = Quaternion(0.5f);
    object.patternName = "Crate";
    EXPECT_TRUE(ObjectFactory::StampObject(object, pattern));
    for (int kind = CompIndex::kFirst; kind <= CompIndex::kLast; ++kind)
        EXPECT_EQ(object.HasComp(CompIndex::Entry(kind)), kind == CompIndex::Graphics || kind == CompIndex::Physics)
            << "component kind " << kind;
    EXPECT_FLOAT_EQ(object.trans.x, 4.0f);
    EXPECT_FLOAT_EQ(object.trans.z, 6.0f);
    EXPECT_FLOAT_EQ(object.trans.w, 9.0f);
    EXPECT_FLOAT_EQ(object.offset, 1.25f);
    EXPECT_TRUE(object.isLevelObject);
    EXPECT_EQ(object.name, "placed");
    EXPECT_EQ(object.patternName, "Crate");
    EXPECT_FLOAT_EQ(object.rot.s, 0.5f);
}

TEST(StampObject, MissingPlacementIsABadCastAfterTheSectionsAreStamped) {
    ObjectPattern noPosition = Stats(10, 0, 0.0f);
    noPosition.paramList.erase("x");
    GameObject object("unplaced");
    EXPECT_THROW(ObjectFactory::StampObject(object, noPosition), ParamTypeError);
    EXPECT_NE(object.GetStatsComp(), nullptr);

    ObjectPattern noLevelFlag = Placed(1, 2, 3);
    noLevelFlag.paramList.erase("isLevelObject");
    GameObject other("unflagged");
    EXPECT_THROW(ObjectFactory::StampObject(other, noLevelFlag), ParamTypeError);
    EXPECT_FLOAT_EQ(other.trans.x, 0.0f);  // the flag is read before the position
}

TEST(StampObject, AnUnknownPatternIsRefusedWithAnErrorAndNoChange) {
    ObjectPattern unknown = Store().GetPattern("NoSuchPatternAnywhere");
    LogCapture log;
    GameObject object("stray");
    EXPECT_FALSE(ObjectFactory::StampObject(object, unknown));
    EXPECT_TRUE(log.Has("ERROR: "));
    EXPECT_TRUE(log.Has("unknown object pattern; stray not stamped"));
    EXPECT_FLOAT_EQ(object.trans.x, 0.0f);
    EXPECT_FALSE(object.isLevelObject);
}

TEST(StampObject, TwoPatternsCombineTheLaterWinningFieldByField) {
    ObjectPattern first = Stats(100, 5, 1.0f);
    SetParameter(first, "physics", true);
    SetParameter(first, "mass", 50.0f);
    SetParameter(first, "infMass", false);
    ObjectPattern second = Stats(20, 0, 0.0f);

    GameObject object("hybrid");
    ObjectFactory::StampObject(object, first);
    ObjectFactory::StampObject(object, second);
    EXPECT_EQ(object.GetStatsComp()->healthMax, 20);
    EXPECT_FLOAT_EQ(object.GetPhysicsComp()->mass, 50.0f);
}

}  // namespace
