// Hits on level 1 through the in-game state's frame, with the real physics
// and collision threads, the behaviour and the animation: a player missile
// destroys a mech by its hit and its explosion, a mech's shots drain the
// player's shield, and a player without hull dies with every hit. Bounded by
// frame counts. No OpenGL context. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "animation_manager.h"
#include "collision_manager.h"
#include "game_flow/level_one_play.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "interface_manager.h"
#include "main/frame_loop.h"
#include "physics.h"
#include "support/hunting_world.h"
#include "support/temp_folder.h"
#include "weapons.h"

namespace {

using game_flow_test::Logic;
using game_flow_test::Objects;
using game_flow_test::PlayerView;
using game_flow_test::Sys;

class HitsOnLevelOne : public game_flow_test::LevelOnePlay {
protected:
    void SetUp() override {
        LevelOnePlay::SetUp();
        if (HasFatalFailure()) return;
        Module<BehaviorManager>::Instance()->Init();
        Module<AnimationManager>::Instance()->Init();
        Module<CollisionManager>::Instance()->Init();
        Module<Physics>::Instance()->Init();
        // Picking on, as the in-game state's Init sets it: enemies see by it.
        Event pick("test", addressee::kCollisionManager, CollisionManager::kSetEvent);
        pick.SetParam<bool>(CollisionManager::kPickOn, true);
        Module<EventManager>::Instance()->PublishEvent(pick);
        Logic().ResetStatistics();
        Logic().levelComplete = false;
        Logic().playerDied = false;
    }
    void TearDown() override {
        JoinWorkerThreads();
        ingame.reset();
        Module<Physics>::Instance()->Kill();
        Module<CollisionManager>::Instance()->Kill();
        Module<AnimationManager>::Instance()->Kill();
        Module<BehaviorManager>::Instance()->Kill();
        LevelOnePlay::TearDown();
    }
    // The in-game state as play finds it (its load already done), and the
    // worker threads running.
    void StartPlay() {
        ingame = std::make_unique<IngameState>();
        ingame->enemiesLeft = CountLiveEnemies();
        ingame->hoverHeight = Logic().hoverHeight;  // the wreck's, as Init sets it
        Sys().running.store(true);
        StartWorkerThreads();
    }
    // One frame: the in-game state in GameLogic's place, then the rest of the
    // game's loop (behaviour, animation, the barrier). What reached the
    // interface and the game flow is collected.
    void Frame() {
        clock += kStep;
        platform::SetClockTime(clock);
        ingame->Update();
        RunFrame(false);
        EventManager& events = *Module<EventManager>::Instance();
        for (Event& event : events.PollEvents(addressee::kInterfaceManager)) toInterface.push_back(event);
        for (Event& event : events.PollEvents(addressee::kGameLogic)) toLogic.push_back(event);
    }
    bool RunUntil(const std::function<bool()>& done, int limit) {
        for (int frame = 0; frame < limit; ++frame) {
            if (done()) return true;
            Frame();
        }
        return done();
    }
    int Count(const std::deque<Event>& events, const std::string& type) const {
        int count = 0;
        for (const Event& event : events) count += event.eventType == type;
        return count;
    }
    static bool IsDead(const std::string& name) {
        ObjectLock lock;
        return !Objects().HasGameObject(name) || Objects().GetGameObject(name)->isDead;
    }
    // A mech of the pattern standing at (x, z) on the ground.
    static void AddMech(const std::string& name, float x, float z) {
        ASSERT_NE(test_support::AddStanding("MediumMech", name, x, z), 0u);
    }

    test_support::TempProfile profile;  // error-log files stay the test's
    std::unique_ptr<IngameState> ingame;
    std::deque<Event> toInterface, toLogic;
    double clock = 1000.0;
};

TEST_F(HitsOnLevelOne, OneMissileDestroysAMechByItsHitAndItsExplosion) {
    Vector start;
    {
        PlayerView player;
        start = player.object.trans;
    }
    AddMech("MediumMech1", start.x, start.z - 150.0f);
    StartPlay();
    ASSERT_EQ(1, ingame->enemiesLeft);
    {
        PlayerView player;
        const GameObject& mech = *Objects().GetGameObject("MediumMech1");
        const Vector centre = mech.trans + mech.GetCollisionComp()->boundSphere.center;
        player.object.GetWeaponComp()->secondary->Fire((centre - Objects().cameraObject.target).Norm());
    }
    ASSERT_TRUE(RunUntil([] { return IsDead("MediumMech1"); }, 240)) << log.Text();
    EXPECT_EQ(1u, Logic().enemiesKilled);
    EXPECT_EQ(2u, Logic().shotsHit) << "the missile and its explosion";
    EXPECT_EQ(1u, Logic().shotsFired);
    EXPECT_EQ(0, ingame->enemiesLeft);
    EXPECT_EQ(1, Count(toInterface, kEnemyDeathEvent));
    EXPECT_EQ(1, Count(toLogic, kEnemyDeathEvent));
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

TEST_F(HitsOnLevelOne, AMechsShotsDrainTheShieldThenAPlayerWithoutHullDiesAtEveryHit) {
    Vector start;
    {
        PlayerView player;
        start = player.object.trans;
        ASSERT_EQ(100.0f, player.stats.sp);
    }
    AddMech("MediumMech1", start.x, start.z - 200.0f);
    StartPlay();
    const int32_t hull = PlayerView().stats.hp;
    ASSERT_TRUE(RunUntil([] { return PlayerView().stats.sp < 100.0f; }, 60 * 20)) << "the mech never hit";
    {
        PlayerView player;
        EXPECT_EQ(97.0f, player.stats.sp);
        EXPECT_EQ(hull, player.stats.hp);
        player.stats.sp = 0.0f;
        player.stats.hp = 1;
    }
    EXPECT_EQ(0, Count(toInterface, InterfaceManager::kStateChange));
    for (int hit = 1; hit <= 2; ++hit) {
        const int32_t before = PlayerView().stats.hp;
        ASSERT_TRUE(RunUntil([before] { return PlayerView().stats.hp < before; }, 60 * 10)) << hit;
        EXPECT_EQ(before - 3, PlayerView().stats.hp);
        EXPECT_EQ(hit, Count(toInterface, InterfaceManager::kStateChange)) << hit;
        EXPECT_EQ(hit, Count(toLogic, GameLogic::kPlayerDeath)) << hit;
        EXPECT_TRUE(ingame->restartPending && Logic().playerDied) << "the death road follows";
    }
    EXPECT_EQ(0u, Logic().shotsHit) << "hits on the player are not the player's hits";
    EXPECT_EQ(3u, Logic().damageShield);
    EXPECT_EQ(6u, Logic().damageArmor);
}

}  // namespace
