// The three shipped levels, each loaded by the game's own loader (the level
// file, its script, the player's fit-out) with the game's own registry,
// patterns and categories: they load twice without an error or a warning,
// the loader judges them playable and the player is fitted out; their navigation graphs hold together (path search from the start),
// keep clear of the scenery and reach the places that matter; level two
// walls the player in on a flat floor; level three starts in the city with
// machines idling in its streets and spawn points releasing into the plaza.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using test_support::LogCapture;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
NavGraph& Graph() { return Module<BehaviorManager>::Instance()->navGraph; }

constexpr float kHover = 25.0f;

struct Place {
    float x, z;
};

struct LevelCase {
    int number;
    Place start;      // where the player begins
    Place entryNode;  // a node must stand within 150 of it: where machines can first reach the player
    bool (*inGoal)(float x, float z);  // the area a node must reach: the goal or the plaza
};

bool InBasin(float x, float z) { return std::hypot(x - 1000.0f, z - 1000.0f) < 300.0f; }
bool InCityEdge(float x, float z) { return z > 1420.0f && x < 800.0f; }
bool InPlaza(float x, float z) { return z < 1300.0f && x > 500.0f && x < 1500.0f; }

// Level two's graph begins just past the shaft's north rim.
const LevelCase kLevels[] = {
    {1, {1000, 1500}, {1000, 1500}, InBasin},
    {2, {1000, 400}, {1000, 700}, InCityEdge},
    {3, {1000, 1750}, {1000, 1750}, InPlaza},
};

std::string LevelName(int number) { return "level" + std::to_string(number); }

// How a case is named in the test's listing.
void PrintTo(const LevelCase& level, std::ostream* out) { *out << LevelName(level.number); }

// An axis-aligned box around a piece of scenery, in world space.
struct Box {
    Vector low, high;
};

// Every object in collision group 3 (scenery), as the world box around its
// oriented box. Needs the object lock.
std::vector<Box> SceneryBoxes() {
    std::vector<Box> boxes;
    for (const auto& entry : Objects().gameObjectList) {
        const GameObject& object = entry.second;
        const CollisionComp* collision = object.GetCollisionComp();
        if (!collision || !(collision->category & 8u) || !collision->hasOBB) continue;
        const Matrix axes = collision->obb.GetExtentsMatrix();
        Vector half;
        for (int k = 0; k < 3; ++k) {
            const Vector axis = object.rot.Rotate(Vector(axes.m[0][k], axes.m[1][k], axes.m[2][k], 0));
            half = half + Vector(std::fabs(axis.x), std::fabs(axis.y), std::fabs(axis.z), 0);
        }
        const Vector centre = object.trans + object.rot.Rotate(collision->obb.center);
        boxes.push_back({centre - half, centre + half});
    }
    return boxes;
}

bool InsideFootprint(const Box& box, float x, float z, float margin) {
    return x > box.low.x - margin && x < box.high.x + margin && z > box.low.z - margin && z < box.high.z + margin;
}

// Whether the ground path from a to b passes over the box's footprint.
bool CrossesFootprint(const Box& box, const Vector& a, const Vector& b) {
    float enter = 0.0f, leave = 1.0f;
    const float from[2] = {a.x, a.z}, delta[2] = {b.x - a.x, b.z - a.z};
    const float low[2] = {box.low.x, box.low.z}, high[2] = {box.high.x, box.high.z};
    for (int axis = 0; axis < 2; ++axis) {
        if (std::fabs(delta[axis]) < 1e-6f) {
            if (from[axis] <= low[axis] || from[axis] >= high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - from[axis]) / delta[axis], t1 = (high[axis] - from[axis]) / delta[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0), leave = std::min(leave, t1);
        if (enter >= leave) return false;
    }
    return true;
}

float GroundDistance(const Vector& a, float x, float z) { return std::hypot(a.x - x, a.z - z); }

const GraphNode& NearestNode(float x, float z) {
    return Graph().nodes.at(Graph().GetNearestNode(Vector(x, Objects().groundObject.GetHeight(Vector(x, 0, z)) + kHover, z)));
}

class ShippedLevels : public ::testing::TestWithParam<LevelCase> {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        Module<EventManager>::Instance()->Init();
        Module<EventManager>::Instance()->RegisterClient(addressee::kGameLogic);
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        for (int level = 1; level <= 3; ++level) store.LoadCategory(LevelName(level));
        store.LoadCategory("all");
        Objects().Init();
        Module<LuaManager>::Instance()->Init();
    }
    static void TearDownTestSuite() {
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        Objects().Kill();
        Module<EventManager>::Instance()->Kill();
        delete profile;
    }
    void SetUp() override { ASSERT_TRUE(Load()); }

    // A level load (the categories are read already): what its start
    // empties, then the loader's work on this thread. True when the loader
    // found the level playable.
    bool Load() const {
        Module<SpawnManager>::Instance()->ClearSpawnPoints();
        Module<BehaviorManager>::Instance()->ClearPendingObjects();
        GameLogic& logic = Logic();
        const int number = GetParam().number;
        logic.levelName = logic.previousLevelName = LevelName(number);
        logic.levelPath = "./resource/levels/" + LevelName(number) + ".xml";
        logic.scriptPath = "./scripts/load_level_" + std::to_string(number) + ".lua";
        logic.firstLoad = false;
        logic.LoadLevel();
        EventManager& events = *Module<EventManager>::Instance();
        events.Update();
        bool valid = false;
        for (const Event& event : events.PollEvents(addressee::kGameLogic))
            if (event.eventType == GameLogic::kLevelLoaded) valid = event.GetParam<bool>(GameLogic::kValidParam);
        return valid;
    }

    static void ExpectPlayerReady(const Place& start) {
        ObjectLock lock;
        ASSERT_TRUE(Objects().HasGameObject("player"));
        const GameObject& player = *Objects().GetGameObject("player");
        const StatsComp* stats = player.GetStatsComp();
        ASSERT_TRUE(player.GetCollisionComp() && player.GetWeaponComp() && player.GetPhysicsComp() && stats);
        EXPECT_TRUE(stats->healthMax > 0 && stats->hp == stats->healthMax && stats->shield > 0.0f &&
                    stats->sp == stats->shield && stats->boost > 0.0f && stats->bp == stats->boost);
        EXPECT_TRUE(player.trans.x == start.x && player.trans.z == start.z);
        EXPECT_NEAR(player.trans.y - Objects().groundObject.GetHeight(player.trans), kHover, 0.01f);
        const std::size_t lights = Objects().lightObjectList.size();  // within OpenGL's fixed lights
        EXPECT_TRUE(lights > 0 && lights <= 8u) << lights;
    }

    static inline test_support::TempProfile* profile = nullptr;
};

TEST_P(ShippedLevels, LoadsTwiceWithoutAnErrorOrWarningAndFitsOutThePlayer) {
    LogCapture log;
    ASSERT_TRUE(Load());
    EXPECT_FALSE(log.Has("ERROR") || log.Has("WARNING") || Objects().IsLockedByThisThread()) << log.Text();
    ExpectPlayerReady(GetParam().start);
    const LevelData* data = Singleton<Level>::Instance()->GetLevelData();
    ASSERT_TRUE(data && data->name == LevelName(GetParam().number));
    ObjectLock lock;
    EXPECT_EQ(Objects().gameObjectList.size(), data->objects.size() + 2) << "the placed objects, the player and its foot";
    EXPECT_EQ(Objects().groundObject.meshHandle.GetID(), "mesh_ground_" + data->name);
    for (const LevelObjectRecord& record : data->objects) {
        ASSERT_TRUE(Objects().HasGameObject(record.name)) << record.name;
        const GameObject& object = *Objects().GetGameObject(record.name);
        EXPECT_TRUE(object.GetGraphicsComp() && object.GetGraphicsComp()->GetMesh()) << record.name;
        // Scenery stands on the ground (crates are centred on their position;
        // the shaft's walls stand on its floor, in the bank that rises under them).
        const float lift = object.trans.y - Objects().groundObject.GetHeight(object.trans);
        EXPECT_TRUE(lift > -15.0f && lift < 10.5f) << record.name << " " << lift;
    }
}

TEST_P(ShippedLevels, TheGraphHoldsTogetherClearOfTheSceneryAndReachesThePlacesThatMatter) {
    ObjectLock lock;
    const std::vector<Box> scenery = SceneryBoxes();
    const GroundPlaneObject& ground = Objects().groundObject;
    ASSERT_GE(Graph().nodes.size(), 50u);
    const GraphNode entry = NearestNode(GetParam().entryNode.x, GetParam().entryNode.z);
    EXPECT_LT(GroundDistance(entry.trans, GetParam().entryNode.x, GetParam().entryNode.z), 150.0f);
    int inGoal = 0;
    std::vector<GraphNode> path;
    for (const auto& [id, node] : Graph().nodes) {
        EXPECT_NEAR(node.trans.y, ground.GetHeight(node.trans) + kHover, 0.5f) << id;
        for (const Box& box : scenery) EXPECT_FALSE(InsideFootprint(box, node.trans.x, node.trans.z, 5.0f)) << id;
        EXPECT_TRUE(Graph().FindPath(entry, node, path)) << "node " << id << " cannot be reached";
        inGoal += GetParam().inGoal(node.trans.x, node.trans.z);
    }
    EXPECT_GE(inGoal, 4);
    for (const GraphEdge& edge : Graph().edges) {
        const Vector a = Graph().nodes.at(edge.from).trans, b = Graph().nodes.at(edge.to).trans;
        for (const Box& box : scenery) EXPECT_FALSE(CrossesFootprint(box, a, b)) << edge.from << "-" << edge.to;
    }
    for (const std::string& name : Module<SpawnManager>::Instance()->spawnPoints) {
        const Vector at = Objects().GetGameObject(name)->trans;
        EXPECT_LT(GroundDistance(NearestNode(at.x, at.z).trans, at.x, at.z), 150.0f) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevels, ::testing::ValuesIn(kLevels),
                         [](const ::testing::TestParamInfo<LevelCase>& info) { return LevelName(info.param.number); });

// --- Level two: the shaft

class LevelTwo : public ShippedLevels {};

// A floor flat to the walls (the controller would lift the player onto any
// rise at once), walls all round it that no walk or dash gets over but one
// full thrust does, and nothing to fight.
TEST_P(LevelTwo, TheShaftWallsThePlayerInOnAFlatFloor) {
    ObjectLock lock;
    const std::vector<Box> scenery = SceneryBoxes();
    const GroundPlaneObject& ground = Objects().groundObject;
    const Place start = GetParam().start;
    const float floor = ground.GetHeight(Vector(start.x, 0, start.z));
    // Walk out from the start in 16 directions until a wall stands in the way.
    for (int i = 0; i < 16; ++i) {
        const float turn = 6.2831853f * float(i) / 16.0f;
        const float dx = std::cos(turn), dz = std::sin(turn);
        const Box* wall = nullptr;
        float reach = 0.0f;
        for (; reach < 400.0f && !wall; reach += 2.0f)
            for (const Box& box : scenery)
                if (InsideFootprint(box, start.x + dx * reach, start.z + dz * reach, 14.0f)) wall = &box;
        ASSERT_NE(wall, nullptr) << "an open way out at " << i;
        for (float r = 0.0f; r < reach; r += 2.0f)
            ASSERT_LT(ground.GetHeight(Vector(start.x + dx * r, 0, start.z + dz * r)), floor + 0.5f) << i << " " << r;
        const float height = wall->high.y - floor;
        EXPECT_TRUE(height >= 100.0f && height <= 180.0f) << i << ": " << height;
        EXPECT_LT(wall->high.y, 650.0f - 24.0f);
    }
    EXPECT_TRUE(Module<SpawnManager>::Instance()->spawnPoints.empty());
    for (const auto& entry : Objects().gameObjectList)
        EXPECT_TRUE(entry.second.name == "player" || !entry.second.GetStatsComp()) << entry.second.name;
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelTwo, ::testing::Values(kLevels[1]),
                         [](const ::testing::TestParamInfo<LevelCase>&) { return std::string("level2"); });

// --- Level three: the city and the plaza

class LevelThree : public ShippedLevels {};

// The pattern a placed machine's name begins with, the rest its number.
bool NamedPatternAndNumber(const GameObject& object) {
    const std::string& name = object.name;
    const std::size_t length = object.patternName.size();
    return name.compare(0, length, object.patternName) == 0 && name.size() > length &&
           std::all_of(name.begin() + long(length), name.end(), [](char c) { return std::isdigit((unsigned char)c); });
}

TEST_P(LevelThree, MachinesIdleInTheStreetsAndTheSpawnPointsReleaseIntoThePlaza) {
    ObjectLock lock;
    const std::vector<Box> scenery = SceneryBoxes();
    EXPECT_GE(GetParam().start.z, 1300.0f) << "the waves would begin at once";
    float largestMachine = 0.0f;
    int machines = 0, heavy = 0;
    for (const auto& entry : Objects().gameObjectList) {
        const GameObject& object = entry.second;
        if (object.name == "player" || !object.GetStatsComp()) continue;
        ++machines;
        heavy += object.patternName == "HeavyMech";
        EXPECT_TRUE(object.patternName == "MediumMech" || object.patternName == "HeavyMech") << object.name;
        EXPECT_TRUE(NamedPatternAndNumber(object)) << object.name;
        EXPECT_GE(object.trans.z, 1300.0f) << object.name << " stands where the waves clear it away at once";
        const float radius = object.GetCollisionComp()->boundSphere.radius;
        largestMachine = std::max(largestMachine, radius);
        for (const Box& box : scenery) EXPECT_FALSE(InsideFootprint(box, object.trans.x, object.trans.z, radius)) << object.name;
        const BehaviorComp* behavior = object.GetBehaviorComp();
        ASSERT_TRUE(behavior && behavior->sm.Top()) << object.name;
        EXPECT_EQ(behavior->sm.Top()->stateName, "inactive") << object.name;
        EXPECT_LT(GroundDistance(NearestNode(object.trans.x, object.trans.z).trans, object.trans.x, object.trans.z), 100.0f);
    }
    EXPECT_TRUE(machines >= 4 && heavy >= 1) << machines << " " << heavy;
    // Where each pad sets a machine down: in the plaza, clear of the scenery.
    const std::vector<std::string>& pads = Module<SpawnManager>::Instance()->spawnPoints;
    EXPECT_GE(pads.size(), 4u);
    for (const std::string& name : pads) {
        const GameObject& pad = *Objects().GetGameObject(name);
        const SpawnComp* spawn = static_cast<const SpawnComp*>(pad.GetComponent(CompIndex::Spawn));
        ASSERT_NE(spawn, nullptr) << name;
        for (float radius : {12.0f, largestMachine}) {
            const Vector release = pad.trans + spawn->spawnDir * radius;
            EXPECT_TRUE(InPlaza(release.x, release.z)) << name << " releases outside the plaza";
            for (const Box& box : scenery) EXPECT_FALSE(InsideFootprint(box, release.x, release.z, radius)) << name;
        }
    }
    // Room for the largest wave (32 machines): as many free places in the plaza.
    const int places = int(std::count_if(Graph().nodes.begin(), Graph().nodes.end(),
                                         [](const auto& node) { return InPlaza(node.second.trans.x, node.second.trans.z); }));
    EXPECT_GE(places, 32);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelThree, ::testing::Values(kLevels[2]),
                         [](const ::testing::TestParamInfo<LevelCase>&) { return std::string("level3"); });

}  // namespace
