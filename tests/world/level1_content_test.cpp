// The shipped first level: read with the game's own registry, patterns and
// resource categories, as the first load does, it fills the world (placed
// objects standing on the ground, the ground, spawn points and a navigation
// graph joined over the whole basin) without an error in the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "behavior_manager.h"
#include "level.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

const char* const LEVEL_PATH = "./resource/levels/level1.xml";

class FirstLevel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        log = new LogCapture;
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all");
        store.LoadCategory("level1");
        Module<ObjectManager>::Instance()->Init();
        loaded = Singleton<Level>::Instance()->LoadLevel(LEVEL_PATH);
    }
    static void TearDownTestSuite() {
        Singleton<Level>::Instance()->ReleaseLevelData();
        delete log;
    }

    static ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

    static LogCapture* log;
    static bool loaded;
};

LogCapture* FirstLevel::log = nullptr;
bool FirstLevel::loaded = false;

TEST_F(FirstLevel, LoadsWithoutAnErrorInTheLog) {
    EXPECT_TRUE(loaded);
    EXPECT_EQ(log->Count("ERROR"), 0) << log->Text();
}

TEST_F(FirstLevel, EveryPlacedObjectIsRegisteredStampedAndStandsOnTheGround) {
    const LevelData* data = Singleton<Level>::Instance()->GetLevelData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->name, "level1");
    ASSERT_GE(data->objects.size(), 6u);
    ObjectLock lock;
    EXPECT_EQ(Objects().gameObjectList.size(), data->objects.size());
    int scenery = 0;
    for (const LevelObjectRecord& record : data->objects) {
        ASSERT_TRUE(Objects().HasGameObject(record.name)) << record.name;
        const GameObject& object = *Objects().GetGameObject(record.name);
        EXPECT_EQ(object.patternName, record.patternName);
        ASSERT_NE(object.GetGraphicsComp(), nullptr) << record.name;
        EXPECT_NE(object.GetGraphicsComp()->GetMesh(), nullptr) << record.name;
        ASSERT_NE(object.GetCollisionComp(), nullptr) << record.name;
        EXPECT_TRUE(object.GetCollisionComp()->canBePicked);
        // No object is buried or floating: it stands within a crate's height of the ground.
        const float ground = Objects().groundObject.GetHeight(object.trans);
        EXPECT_GE(object.trans.y, ground - 0.01f) << record.name;
        EXPECT_LE(object.trans.y, ground + 10.01f) << record.name;
        if (object.isLevelObject) ++scenery;
    }
    EXPECT_GE(scenery, 3);
}

TEST_F(FirstLevel, TheGroundIsHandedOverWithItsMapsLoaded) {
    ObjectLock lock;
    const GroundPlaneObject& ground = Objects().groundObject;
    EXPECT_EQ(ground.meshHandle.GetID(), "mesh_ground_level1");
    EXPECT_GT(ground.scale.x, 0.0f);
    // Somewhere in the basin the height map gives a height above the map's base.
    const Vector middle(ground.pos.x + ground.scale.x * 0.5f, 0, ground.pos.z + ground.scale.z * 0.5f);
    EXPECT_GT(ground.GetHeight(middle), ground.pos.y);
    const Vector colour = ground.GetColor(middle);
    EXPECT_FALSE(colour.x == 0.3f && colour.y == 0.3f && colour.z == 0.3f);  // not the off-map grey
    Mesh* mesh = Module<ResourceManager>::Instance()->get<Mesh>(ground.meshHandle);
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->useTexture);
    EXPECT_FALSE(mesh->useColor);
}

TEST_F(FirstLevel, SpawnPointsAreRegisteredForTheWaves) {
    const std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    ObjectLock lock;
    int live = 0;
    for (const std::string& name : points)
        if (Objects().HasGameObject(name) && Objects().GetGameObject(name)->HasComp(CompIndex::Spawn)) ++live;
    EXPECT_GE(live, 2);
}

TEST_F(FirstLevel, TheNavigationGraphJoinsTheWholeBasin) {
    NavGraph& graph = Module<BehaviorManager>::Instance()->navGraph;
    ASSERT_GE(graph.nodes.size(), 50u);
    ObjectLock lock;
    const GroundPlaneObject& ground = Objects().groundObject;
    int lowest = graph.nodes.begin()->first, highest = lowest;
    for (const auto& entry : graph.nodes) {
        lowest = std::min(lowest, entry.first);
        highest = std::max(highest, entry.first);
        // Every node lies on the map and above the ground under it.
        const Vector& p = entry.second.trans;
        EXPECT_GT(p.x, ground.pos.x);
        EXPECT_LT(p.x, ground.pos.x + ground.scale.x);
        EXPECT_GE(p.y, ground.GetHeight(p));
    }
    // Opposite corners of the grid are joined, so every enemy can reach the player.
    std::vector<GraphNode> path;
    EXPECT_TRUE(graph.FindPath(graph.nodes.at(lowest), graph.nodes.at(highest), path));
    // Each placed object has a node near it to start its route from.
    for (const LevelObjectRecord& record : Singleton<Level>::Instance()->GetLevelData()->objects) {
        const GraphNode& near = graph.nodes.at(graph.GetNearestNode(record.trans));
        const Vector d = near.trans - record.trans;
        EXPECT_LT(d.x * d.x + d.z * d.z, 150.0f * 150.0f) << record.name;
    }
}

}  // namespace
