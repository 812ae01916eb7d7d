// The shipped script of the first level, run as the level loader runs it:
// after the level file has been loaded with the game's own registry,
// patterns and categories. It must leave the object "player" with the
// components the loader fits out next, standing on the ground, and the
// scene lit, without an error, and do the same again on a restart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "level.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using test_support::LogCapture;

const char* const LEVEL_PATH = "./resource/levels/level1.xml";
const char* const SCRIPT_PATH = "./scripts/load_level_1.lua";

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

class FirstLevelScript : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all");
        store.LoadCategory("level1");
        Objects().Init();
        Module<LuaManager>::Instance()->Init();
    }
    static void TearDownTestSuite() {
        Module<LuaManager>::Instance()->Kill();
        Singleton<Level>::Instance()->ReleaseLevelData();
        delete profile;
        profile = nullptr;
    }

    // One level load's file and script steps, as the loader thread runs them.
    static bool LoadLevelAndRunScript() {
        if (!Singleton<Level>::Instance()->LoadLevel(LEVEL_PATH)) return false;
        Module<LuaManager>::Instance()->DoFile(SCRIPT_PATH);
        return true;
    }

    static void ExpectPlayerReady() {
        ObjectLock lock;
        ASSERT_TRUE(Objects().HasGameObject("player"));
        const GameObject& player = *Objects().GetGameObject("player");
        // What the loader uses right after the script.
        ASSERT_NE(player.GetCollisionComp(), nullptr);
        ASSERT_NE(player.GetWeaponComp(), nullptr);
        ASSERT_NE(player.GetStatsComp(), nullptr);
        ASSERT_NE(player.GetPhysicsComp(), nullptr);
        EXPECT_EQ(player.GetStatsComp()->hp, player.GetStatsComp()->healthMax);
        EXPECT_GT(player.GetStatsComp()->healthMax, 0);
        EXPECT_GT(player.GetStatsComp()->shield, 0.0f);
        EXPECT_FLOAT_EQ(player.GetStatsComp()->sp, player.GetStatsComp()->shield);
        // Inside the basin, hovering at the pattern's height over the ground.
        EXPECT_GT(player.trans.x, 200.0f);
        EXPECT_LT(player.trans.x, 1800.0f);
        EXPECT_GT(player.trans.z, 200.0f);
        EXPECT_LT(player.trans.z, 1800.0f);
        EXPECT_NEAR(player.trans.y - Objects().groundObject.GetHeight(player.trans), 25.0f, 0.01f);
    }

    static void ExpectSceneLit() {
        ObjectLock lock;
        ASSERT_FALSE(Objects().lightObjectList.empty());
        EXPECT_LE(Objects().lightObjectList.size(), 8u);  // OpenGL's fixed lights
        const LightObject& sun = Objects().lightObjectList.front();
        EXPECT_FLOAT_EQ(sun.position.w, 0.0f);
        EXPECT_GT(sun.position.y, 0.0f);  // shines from above
        EXPECT_GT(sun.diffuse.x + sun.diffuse.y + sun.diffuse.z, 1.0f);
    }

    static inline test_support::TempProfile* profile = nullptr;
};

TEST_F(FirstLevelScript, BuildsThePlayerAndLightsWithoutAnError) {
    LogCapture log;
    ASSERT_TRUE(LoadLevelAndRunScript());
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
    EXPECT_EQ(log.Count("WARNING"), 0) << log.Text();
    EXPECT_FALSE(Objects().IsLockedByThisThread());
    ExpectPlayerReady();
    ExpectSceneLit();
}

// A restart loads the same level again: one player, the same lights, no
// complaint about a duplicate name.
TEST_F(FirstLevelScript, RunsAgainOnARestart) {
    ASSERT_TRUE(LoadLevelAndRunScript());
    std::size_t lights = 0;
    {
        ObjectLock lock;
        lights = Objects().lightObjectList.size();
    }
    LogCapture log;
    ASSERT_TRUE(LoadLevelAndRunScript());
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
    ExpectPlayerReady();
    ObjectLock lock;
    EXPECT_EQ(Objects().lightObjectList.size(), lights);
    int players = 0;
    for (const auto& entry : Objects().gameObjectList)
        if (entry.second.name == "player") ++players;
    EXPECT_EQ(players, 1);
}

}  // namespace
