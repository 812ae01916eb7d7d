// The shipped first level, read with the game's own registry, patterns and
// categories as the first load does: it fills the world (placed objects
// standing on the ground, spawn points, a navigation graph joined over the
// whole basin) without an error, and its script then leaves the "player"
// fitted out and the scene lit, again on a restart.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "behavior_manager.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/game_world.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using test_support::LogCapture;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
Level& TheLevel() { return *Singleton<Level>::Instance(); }

// The rim's cliffs run along the map's border from height 0, under the rim's
// ground, far from the basin's graph; every other object stands in the basin.
bool OnTheRim(const LevelObjectRecord& record) { return record.patternName.rfind("RimWall", 0) == 0; }

class FirstLevel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        log = new LogCapture;
        loaded = test_support::LoadLevelOne();
    }
    static void TearDownTestSuite() {
        Module<LuaManager>::Instance()->Kill();
        TheLevel().ReleaseLevelData();
        delete log;
        delete profile;
    }
    // The script step of a level load, after the file step, as the loader runs them.
    static void RunScript() { Module<LuaManager>::Instance()->DoFile("./scripts/load_level_1.lua"); }

    static void ExpectPlayerReady() {
        ObjectLock lock;
        ASSERT_TRUE(Objects().HasGameObject("player"));
        const GameObject& player = *Objects().GetGameObject("player");
        const StatsComp* stats = player.GetStatsComp();
        ASSERT_TRUE(player.GetCollisionComp() && player.GetWeaponComp() && player.GetPhysicsComp() && stats);
        EXPECT_TRUE(stats->healthMax > 0 && stats->hp == stats->healthMax && stats->shield > 0.0f && stats->sp == stats->shield);
        // Inside the basin, hovering at the pattern's height over the ground.
        EXPECT_TRUE(player.trans.x > 200 && player.trans.x < 1800 && player.trans.z > 200 && player.trans.z < 1800);
        EXPECT_NEAR(player.trans.y - Objects().groundObject.GetHeight(player.trans), 25.0f, 0.01f);
        const std::size_t lights = Objects().lightObjectList.size();  // within OpenGL's fixed lights
        ASSERT_TRUE(lights > 0 && lights <= 8u) << lights;
        const LightObject& sun = Objects().lightObjectList.front();
        EXPECT_TRUE(sun.position.w == 0.0f && sun.position.y > 0.0f);  // shines from above
        EXPECT_GT(sun.diffuse.x + sun.diffuse.y + sun.diffuse.z, 1.0f);
    }

    static inline test_support::TempProfile* profile = nullptr;
    static inline LogCapture* log = nullptr;
    static inline bool loaded = false;
};

TEST_F(FirstLevel, FillsTheWorldWithoutAnError) {
    EXPECT_TRUE(loaded && log->Count("ERROR") == 0) << log->Text();
    const LevelData* data = TheLevel().GetLevelData();
    ASSERT_TRUE(data && data->objects.size() >= 6u);
    ObjectLock lock;
    EXPECT_EQ(Objects().gameObjectList.size(), data->objects.size());
    const GroundPlaneObject& ground = Objects().groundObject;  // its height map loaded
    const Vector middle(ground.pos.x + ground.scale.x * 0.5f, 0, ground.pos.z + ground.scale.z * 0.5f);
    EXPECT_TRUE(ground.meshHandle.GetID() == "mesh_ground_level1" && ground.GetHeight(middle) > ground.pos.y);
    int scenery = 0;
    for (const LevelObjectRecord& record : data->objects) {
        ASSERT_TRUE(Objects().HasGameObject(record.name)) << record.name;
        const GameObject& object = *Objects().GetGameObject(record.name);
        ASSERT_TRUE(object.GetGraphicsComp() && object.GetCollisionComp() && object.GetGraphicsComp()->GetMesh()) << record.name;
        scenery += object.isLevelObject;
        if (OnTheRim(record)) {
            EXPECT_EQ(object.trans.y, 0.0f) << record.name;
            continue;
        }
        // Neither buried nor floating: within a crate's height of the ground.
        const float height = ground.GetHeight(object.trans);
        EXPECT_TRUE(object.trans.y >= height - 0.01f && object.trans.y <= height + 10.01f) << record.name;
    }
    int spawns = 0;
    for (const std::string& name : Module<SpawnManager>::Instance()->spawnPoints)
        spawns += Objects().HasGameObject(name) && Objects().GetGameObject(name)->HasComp(CompIndex::Spawn);
    EXPECT_TRUE(scenery >= 3 && spawns >= 2) << scenery << " " << spawns;

    // Opposite corners of the grid are joined, and each placed object has a node near it.
    NavGraph& graph = Module<BehaviorManager>::Instance()->navGraph;
    ASSERT_GE(graph.nodes.size(), 50u);
    int lowest = graph.nodes.begin()->first, highest = lowest;
    for (const auto& entry : graph.nodes) {
        lowest = std::min(lowest, entry.first), highest = std::max(highest, entry.first);
        EXPECT_GE(entry.second.trans.y, ground.GetHeight(entry.second.trans));
    }
    std::vector<GraphNode> path;
    EXPECT_TRUE(graph.FindPath(graph.nodes.at(lowest), graph.nodes.at(highest), path));
    for (const LevelObjectRecord& record : data->objects) {
        if (OnTheRim(record)) continue;
        const Vector d = graph.nodes.at(graph.GetNearestNode(record.trans)).trans - record.trans;
        EXPECT_LT(d.x * d.x + d.z * d.z, 150.0f * 150.0f) << record.name;
    }
}

TEST_F(FirstLevel, TheScriptBuildsThePlayerAndLightsWithoutAnError) {
    LogCapture scriptLog;
    RunScript();
    EXPECT_FALSE(scriptLog.Has("ERROR") || scriptLog.Has("WARNING") || Objects().IsLockedByThisThread()) << scriptLog.Text();
    ExpectPlayerReady();
}

// A restart loads the same level again: one player, the same lights, no complaint.
TEST_F(FirstLevel, TheScriptRunsAgainOnARestart) {
    RunScript();
    size_t lights = 0;
    {
        ObjectLock lock;
        lights = Objects().lightObjectList.size();
    }
    LogCapture again;
    ASSERT_TRUE(TheLevel().LoadLevel("./resource/levels/level1.xml"));
    RunScript();
    EXPECT_FALSE(again.Has("ERROR")) << again.Text();
    ExpectPlayerReady();
    ObjectLock lock;
    EXPECT_TRUE(Objects().lightObjectList.size() == lights &&
                std::count_if(Objects().gameObjectList.begin(), Objects().gameObjectList.end(),
                              [](const auto& entry) { return entry.second.name == "player"; }) == 1);
}

}  // namespace
