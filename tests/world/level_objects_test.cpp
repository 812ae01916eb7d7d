// Turning a level's records into registered objects: stamping at the
// record's position, the collision set-up (with and without a mesh), the
// ground hand-over, and the refusals: unknown patterns, taken names, broken
// patterns, and name numbers that are short, missing or huge.
#include <cstdlib>

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
unsigned NextNameNumber() { return unsigned(std::atoi(Store().MakeObjectName("").c_str())); }

TEST_F(LevelFiles, LoadLevelCreatesStampedObjectsAtTheirRecordedPlaces) {
    const std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    const size_t spawnPoints = points.size();
    LogCapture log;
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("LvCrate1", "LvCrate", "f", "7,8,9,0", "0,0,1,0") +
                                               Obj("LvGate2", "LvGate") + Obj("LvSentry3", "LvSentry") +
                                               Obj("ufo1", "NoSuchPattern")))));
    EXPECT_TRUE(log.Count("ERROR") == 1 && log.Has("level object ufo1 names the unknown pattern NoSuchPattern; skipped"));
    ObjectLock lock;
    ASSERT_EQ(Objects().gameObjectList.size(), 3u);
    const GameObject& crate = *Objects().GetGameObject("LvCrate1");
    // The record's place, not the pattern's 50, 60, 70; the flag from the pattern, not the record's, nor its rotation.
    EXPECT_TRUE(crate.trans.x == 7.0f && crate.isLevelObject && crate.rot.s == 1.0f && crate.GetPhysicsComp()->infMass);
    const CollisionComp& box = *crate.GetCollisionComp();  // mesh half width 1 at scale 2
    EXPECT_TRUE(box.hasOBB && box.hasBoundSphere && box.canBePicked && box.obb.extents.x == 2.0f);

    const GameObject& gate = *Objects().GetGameObject("LvGate2");
    ASSERT_NE(gate.GetCollisionComp(), nullptr);
    EXPECT_FALSE(gate.GetCollisionComp()->hasOBB);  // no mesh, no box
    EXPECT_TRUE(points.size() == spawnPoints + 1 && points.back() == "LvGate2");

    const GameObject& sentry = *Objects().GetGameObject("LvSentry3");
    const CollisionComp& comp = *sentry.GetCollisionComp();
    EXPECT_TRUE(comp.hasAABB && comp.hasOBB && comp.hasSATInfo && comp.obb.extents.x == 3.0f);  // the pattern's scale
    EXPECT_TRUE(comp.category == 2u && sentry.GetBehaviorComp()->sm.name == "LvSentry3");
    EXPECT_TRUE(sentry.GetBehaviorComp()->sm.Top()->stateName == "inactive" && sentry.GetStatsComp()->hp == 50);

    EXPECT_EQ(Objects().groundObject.heightMapHandle.GetID(), "tex_level_height");
    const Mesh* ground = Store().get<Mesh>(Handle("mesh_level_ground"));
    EXPECT_TRUE(ground->useTexture && !ground->useColor);
}

TEST_F(LevelFiles, TakenNamesAndBrokenPatternsAreRefusedAndTheLockIsReleased) {
    LogCapture log;
    EXPECT_TRUE(level.CreateObject(Record("twin", "LvCrate", 1)) && !level.CreateObject(Record("twin", "LvGate", 9)));
    EXPECT_TRUE(log.Has("game object with duplicate name!"));
    {
        ObjectLock lock;
        const GameObject& twin = *Objects().GetGameObject("twin");
        EXPECT_TRUE(twin.trans.x == 1.0f && !twin.HasComp(CompIndex::Spawn)) << "the holder is not stamped again";
    }
    EXPECT_TRUE(level.CreateObject(Record("hollow1", "LvBroken")) &&
                log.Has("pattern LvBroken lacks the parameter \"healthMax\""));
    // The stamp failed inside the locked section; the lock must be free again.
    EXPECT_TRUE(Objects().AddGameObject(GameObject("after")) && !log.Has("already held"));
}

TEST_F(LevelFiles, TheNumberAfterThePatternNameRaisesTheNameCounter) {
    const unsigned start = NextNameNumber();
    level.CreateObject(Record("LvCrate" + std::to_string(start + 40), "LvCrate"));
    EXPECT_EQ(NextNameNumber(), start + 41);
    // A lower number, no number, or a name shorter than its pattern's: one step.
    for (const char* name : {"LvCrate5", "LvCrate", "Lv"}) level.CreateObject(Record(name, "LvCrate"));
    EXPECT_EQ(NextNameNumber(), start + 45);
    // A huge number is not reserved.
    LogCapture log;
    EXPECT_TRUE(level.CreateObject(Record("LvCrate99999999999999999999", "LvCrate")));
    EXPECT_TRUE(level.CreateObject(Record("LvCrate4000000000", "LvCrate")));
    EXPECT_TRUE(log.Count("its number is too large to reserve") == 2 && NextNameNumber() == (start + 48));
    EXPECT_TRUE(Has("LvCrate99999999999999999999"));
}

TEST_F(LevelFiles, ReleasingTheLevelClearsEveryObjectButOnlyWithLevelData) {
    ASSERT_TRUE(level.LoadLevel(File(LevelText(Obj("LvCrate8", "LvCrate")))));
    EXPECT_TRUE(Objects().AddGameObject(GameObject("player")));
    level.ReleaseLevelData();
    EXPECT_TRUE(level.GetLevelData() == nullptr && Count() == 0u && Objects().AddGameObject(GameObject("player")));
    level.ReleaseLevelData();
    EXPECT_TRUE(Has("player"));
}

}  // namespace
}  // namespace level_test
