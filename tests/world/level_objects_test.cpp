// Turning a level's records into registered objects: stamping at the
// record's position, the collision set-up (with and without a mesh), the
// ground hand-over, and the refusals: unknown patterns, taken names, broken
// patterns, and name numbers that are short, missing or huge.
#include <cstdlib>

#include "object_factory.h"
#include "objects/components.h"
#include "spawn_manager.h"
#include "world/level_fixture.h"

namespace level_test {
namespace {

using test_support::LogCapture;

LevelObjectRecord Record(const std::string& name, const std::string& pattern, float x = 0) {
    LevelObjectRecord record;
    record.name = name;
    record.patternName = pattern;
    record.trans = Vector(x, 2, 3, 0);
    return record;
}

// The number MakeObjectName hands out next, without keeping the name.
unsigned NextNameNumber() {
    return unsigned(std::atoi(Store().MakeObjectName("").c_str()));
}

TEST_F(LevelFiles, LoadLevelCreatesStampedObjectsAtTheirRecordedPlaces) {
    const std::string body = Obj("LvCrate1", "LvCrate", "f", "7,8,9,0", "0,0,1,0") + Obj("LvGate2", "LvGate");
    const size_t spawnPoints = Module<SpawnManager>::Instance()->spawnPoints.size();
    LogCapture log;
    ASSERT_TRUE(level.LoadLevel(File(LevelText(body))));
    EXPECT_FALSE(log.Has("ERROR"));

    ObjectLock lock;
    ASSERT_EQ(Objects().gameObjectList.size(), 2u);
    const GameObject& crate = *Objects().GetGameObject("LvCrate1");
    EXPECT_EQ(crate.patternName, "LvCrate");
    EXPECT_FLOAT_EQ(crate.trans.x, 7.0f);  // the record's place, not the pattern's 50, 60, 70
    EXPECT_FLOAT_EQ(crate.trans.z, 9.0f);
    EXPECT_TRUE(crate.isLevelObject);      // from the pattern; the record's flag is not applied
    EXPECT_FLOAT_EQ(crate.rot.s, 1.0f);    // nor is its rotation
    EXPECT_TRUE(crate.GetPhysicsComp()->infMass);
    const CollisionComp& box = *crate.GetCollisionComp();
    EXPECT_TRUE(box.hasOBB && box.hasBoundSphere && box.canBePicked);
    EXPECT_FLOAT_EQ(box.obb.extents.x, 2.0f);  // mesh half width 1 at scale 2

    const GameObject& gate = *Objects().GetGameObject("LvGate2");
    ASSERT_NE(gate.GetCollisionComp(), nullptr);
    EXPECT_FALSE(gate.GetCollisionComp()->hasOBB);  // no mesh, no box
    EXPECT_TRUE(gate.GetCollisionComp()->canBePicked);
    const std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    ASSERT_EQ(points.size(), spawnPoints + 1);
    EXPECT_EQ(points.back(), "LvGate2");
}

TEST_F(LevelFiles, GeneratedVolumesAndBehaviourComeWithTheirPatterns) {
    LogCapture log;
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("LvSentry1", "LvSentry") + Obj("LvSentry2", "LvSentry")))));
    EXPECT_FALSE(log.Has("ERROR"));
    ObjectLock lock;
    for (const char* name : {"LvSentry1", "LvSentry2"}) {
        const GameObject& sentry = *Objects().GetGameObject(name);
        const CollisionComp& comp = *sentry.GetCollisionComp();
        EXPECT_TRUE(comp.hasAABB && comp.hasOBB && comp.hasSATInfo) << name;
        EXPECT_FLOAT_EQ(comp.obb.extents.x, 3.0f) << name;  // built at the pattern's scale
        EXPECT_EQ(comp.category, 2u);
        EXPECT_EQ(sentry.GetBehaviorComp()->sm.name, name);
        EXPECT_EQ(sentry.GetBehaviorComp()->sm.Top()->stateName, "inactive");
        EXPECT_EQ(sentry.GetGraphicsComp()->skeleton.curAnimation, 0);
        EXPECT_EQ(sentry.GetStatsComp()->hp, 50);
    }
}

TEST_F(LevelFiles, TheGroundIsHandedOverAndItsMeshDrawsTextured) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(""))));
    {
        ObjectLock lock;
        EXPECT_EQ(Objects().groundObject.heightMapHandle.GetID(), "tex_level_height");
        EXPECT_FLOAT_EQ(Objects().groundObject.scale.x, 20.0f);
    }
    Mesh* ground = Store().get<Mesh>(Handle("mesh_level_ground"));
    EXPECT_TRUE(ground->useTexture);
    EXPECT_FALSE(ground->useColor);
}

TEST_F(LevelFiles, AnUnknownPatternIsSkippedWithAnErrorAndTheRestLoads) {
    LogCapture log;
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("ufo1", "NoSuchPattern") + Obj("LvCrate3", "LvCrate")))));
    EXPECT_TRUE(log.Has("level object ufo1 names the unknown pattern NoSuchPattern; skipped"));
    ObjectLock lock;
    EXPECT_FALSE(Objects().HasGameObject("ufo1"));
    EXPECT_TRUE(Objects().HasGameObject("LvCrate3"));
}

TEST_F(LevelFiles, ATakenNameIsRefusedAndItsHolderIsNotStampedAgain) {
    LogCapture log;
    EXPECT_TRUE(level.CreateObject(Record("twin", "LvCrate", 1)));
    EXPECT_FALSE(level.CreateObject(Record("twin", "LvGate", 9)));
    EXPECT_TRUE(log.Has("game object with duplicate name!"));
    ObjectLock lock;
    const GameObject& twin = *Objects().GetGameObject("twin");
    EXPECT_FLOAT_EQ(twin.trans.x, 1.0f);
    EXPECT_FALSE(twin.HasComp(CompIndex::Spawn));
    EXPECT_EQ(twin.patternName, "LvCrate");
}

TEST_F(LevelFiles, ABrokenPatternIsReportedAndTheLockIsReleased) {
    LogCapture log;
    EXPECT_TRUE(level.CreateObject(Record("hollow1", "LvBroken")));
    EXPECT_TRUE(log.Has("pattern LvBroken lacks the parameter \"healthMax\""));
    // The stamp failed inside the locked section; the lock must be free again.
    EXPECT_TRUE(Objects().AddGameObject(GameObject("after")));
    EXPECT_FALSE(log.Has("already held"));
    ObjectLock lock;
    EXPECT_NE(Objects().GetGameObject("hollow1")->GetStatsComp(), nullptr);
}

TEST_F(LevelFiles, TheNumberAfterThePatternNameRaisesTheNameCounter) {
    const unsigned start = NextNameNumber();
    const std::string name = "LvCrate" + std::to_string(start + 40);
    level.CreateObject(Record(name, "LvCrate"));
    EXPECT_EQ(NextNameNumber(), start + 41);
    EXPECT_EQ(Store().MakeObjectName("LvCrate"), "LvCrate" + std::to_string(start + 42));

    // A lower number, no number, or a name shorter than its pattern's: one step.
    const unsigned now = NextNameNumber();
    level.CreateObject(Record("LvCrate5", "LvCrate"));
    level.CreateObject(Record("LvCrate", "LvCrate"));
    level.CreateObject(Record("Lv", "LvCrate"));
    EXPECT_EQ(NextNameNumber(), now + 4);
}

TEST_F(LevelFiles, AHugeNameNumberIsNotReserved) {
    const unsigned now = NextNameNumber();
    LogCapture log;
    EXPECT_TRUE(level.CreateObject(Record("LvCrate99999999999999999999", "LvCrate")));
    EXPECT_TRUE(level.CreateObject(Record("LvCrate4000000000", "LvCrate")));
    EXPECT_EQ(log.Count("its number is too large to reserve"), 2);
    EXPECT_EQ(NextNameNumber(), now + 3);
    ObjectLock lock;
    EXPECT_TRUE(Objects().HasGameObject("LvCrate99999999999999999999"));
}

TEST_F(LevelFiles, ReleasingTheLevelClearsEveryObject) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("LvCrate8", "LvCrate")))));
    EXPECT_TRUE(Objects().AddGameObject(GameObject("player")));
    level.ReleaseLevelData();
    EXPECT_EQ(level.GetLevelData(), nullptr);
    {
        ObjectLock lock;
        EXPECT_TRUE(Objects().gameObjectList.empty());
    }
    // Without level data nothing happens, not even to objects made since.
    EXPECT_TRUE(Objects().AddGameObject(GameObject("player")));
    level.ReleaseLevelData();
    ObjectLock lock;
    EXPECT_TRUE(Objects().HasGameObject("player"));
}

}  // namespace
}  // namespace level_test
