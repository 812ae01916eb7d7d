// Determinism with the player at the controls: the hunting world of the
// physics tests (four enemies closing in and firing on the first level),
// with the player fitted out as a level load leaves it and driven by a fixed
// script of keys and cursor moves (walk, dash, thrust, turn, laser and
// missiles) through the in-game state's frame (hits, damage and the upkeep of
// shots and explosions included) for 300 frames, twice. Both runs end in the
// same world, meter, bob, hull and shield of every machine and run
// statistics, bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "game_logic.h"
#include "game_logic/player_controller.h"
#include "game_logic/player_fit_out.h"
#include "game_states/ingame_state.h"
#include "input_manager.h"
#include "support/hunting_scene.h"
#include "support/recording_sound_layer.h"
#include "system.h"

namespace {

constexpr int kFrames = 300;

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }

// The keys held (and newly pressed) in one frame of the script, and the cursor.
struct ScriptFrame {
    bool walk = false, strafe = false, dashPress = false, jump = false, jumpPress = false;
    bool laser = false, missile = false;
    float cursorX = 0.0f;
};

ScriptFrame ScriptAt(int frame) {
    ScriptFrame f;
    f.walk = frame < 120 || frame >= 200;
    f.strafe = frame >= 60 && frame < 90;
    f.dashPress = frame == 40 || frame == 70 || frame == 220;
    f.jump = frame >= 120 && frame < 170;
    f.jumpPress = frame == 120;
    f.laser = frame >= 150;
    f.missile = frame >= 240 && frame < 260;
    f.cursorX = (frame / 25) % 2 == 0 ? 0.05f : -0.03f;
    return f;
}

class PlayerDeterminism : public test_support::HuntingScene {
protected:
    void SetUp() override {
        HuntingScene::SetUp();
        if (HasFatalFailure()) return;
        System& system = *Module<System>::Instance();
        system.mouseGrabbed = true;
        system.mouseSensitivity = 1.0f;
        {
            // What the level script adds to the pattern's player.
            ObjectLock lock;
            GameObject& player = *test_support::SceneObjects().GetGameObject(GameObject::kPlayerName);
            player.AttachComponent(WeaponComp());
            player.GetStatsComp()->shield = player.GetStatsComp()->sp = 100.0f;
        }
        std::string missing;
        ASSERT_TRUE(FitOutPlayer(Logic(), missing)) << missing;
        Logic().hoverHeight = 25.0f;
        Logic().onGround = false;
        hardFall = false;
        ObjectManager& objects = test_support::SceneObjects();
        objects.cockpit.bobPhase = 0.0f;
        objects.cockpit.moveOffset = Vector();
        objects.cameraObject = CameraObject();
        objects.cameraObject.mode = 0;
        Input().Init();
        ClearKeys();
        StartHunting();
        Logic().ResetStatistics();
        Logic().levelComplete = false;
        // Played without the stack around it: no Init, so no level load.
        ingame = std::make_unique<IngameState>();
        ingame->enemiesLeft = CountLiveEnemies();
        ingame->hoverHeight = Logic().hoverHeight;
    }
    void TearDown() override {
        ingame.reset();
        ClearKeys();
        Module<System>::Instance()->mouseGrabbed = false;
        HuntingScene::TearDown();
    }
    static void ClearKeys() {
        std::memset(Input().keyDown, 0, sizeof Input().keyDown);
        std::memset(Input().keyPressed, 0, sizeof Input().keyPressed);
    }
    static void ApplyScript(const ScriptFrame& f) {
        InputManager& in = Input();
        ClearKeys();
        in.keyDown[in.forward] = f.walk;
        in.keyDown[in.right] = f.strafe;
        in.keyDown[in.dash] = f.dashPress;
        // A held letter is a new press at every poll.
        in.keyPressed[in.forward] = f.walk;
        in.keyPressed[in.right] = f.strafe;
        in.keyDown[in.jump] = f.jump;
        in.keyPressed[in.jump] = f.jumpPress;
        in.keyDown[in.laser] = f.laser;
        in.keyDown[in.missile] = f.missile;
        in.SetMousePosition(Vector(f.cursorX, 0.0f, 0.0f, 0.0f));
    }

    // Every machine's hull and shield, by name, and the run's statistics.
    static std::string Damage() {
        std::map<std::string, std::pair<int32_t, float>> machines;
        ObjectLock lock;
        for (const auto& entry : test_support::SceneObjects().gameObjectList)
            if (const StatsComp* stats = entry.second.GetStatsComp())
                machines[entry.second.name] = {stats->hp, stats->sp};
        std::string all;
        for (const auto& machine : machines)
            all += machine.first + " " + std::to_string(machine.second.first) + " " +
                   std::to_string(machine.second.second) + "\n";
        const GameLogic& logic = Logic();
        for (uint32_t count : {logic.enemiesKilled, logic.shotsFired, logic.shotsHit, logic.damageShield,
                               logic.damageArmor})
            all += std::to_string(count) + " ";
        return all;
    }

    // 300 frames in the main loop's order on one thread: the in-game state's
    // frame (particles, dead objects, hits, upkeep, the controller, the
    // player's death), behaviour and animation, the camera as the frame
    // rebuilds it, then collision and physics. The hash of the end state.
    std::string Play() {
        const uint32_t shotsBefore = Logic().shotsFired;
        for (int frame = 0; frame < kFrames; ++frame) {
            const double now = 100.0 + (frame + 1) / 60.0;
            Module<System>::Instance()->pausedTime.store(now);
            Module<System>::Instance()->frameStartTime.store(now);
            ApplyScript(ScriptAt(frame));
            ingame->Update();
            behavior.Update();
            animation.Update();
            {
                ObjectLock lock;
                test_support::SceneObjects().cameraObject.Update();
            }
            const FrameClock clock{now, 1.0 / 60.0};
            collision.SetFrameClock(clock);
            physics.SetFrameClock(clock);
            collision.Update();
            physics.Update();
        }
        const std::string damage = Damage();
        ObjectLock lock;
        const ObjectManager& objects = test_support::SceneObjects();
        const StatsComp& stats = *objects.GetGameObject(GameObject::kPlayerName)->GetStatsComp();
        shots = Logic().shotsFired - shotsBefore;
        bp = stats.bp;
        const float state[] = {stats.bp, objects.cockpit.bobPhase, objects.cockpit.moveOffset.y,
                               objects.cameraObject.yaw, float(shots)};
        return std::string(reinterpret_cast<const char*>(state), sizeof state) + damage;
    }

    sound_test::RecordingSoundLayer layer;
    std::unique_ptr<IngameState> ingame;
    uint32_t shots = 0;
    float bp = 0.0f;
};

TEST_F(PlayerDeterminism, TwoRunsOfTheSameKeysEndInTheSameState) {
    const float startZ = [] {
        ObjectLock lock;
        return test_support::SceneObjects().GetGameObject(GameObject::kPlayerName)->trans.z;
    }();
    const std::string firstPlayer = Play();
    const size_t firstWorld = test_support::WorldHash(firstRunNumber);
    EXPECT_GE(shots, 9u) << "the laser and the missiles fired";
    EXPECT_LT(bp, 100.0f) << "the boosts drew on the meter";
    EXPECT_GT(Logic().shotsHit + Logic().damageShield + Logic().damageArmor, 0u) << "shots hit";
    {
        ObjectLock lock;
        EXPECT_GT(std::abs(test_support::SceneObjects().GetGameObject(GameObject::kPlayerName)->trans.z - startZ),
                  50.0f)
            << "the player walked";
    }
    TearDown();
    SetUp();
    EXPECT_EQ(firstPlayer, Play());
    EXPECT_EQ(firstWorld, test_support::WorldHash(firstRunNumber));
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

}  // namespace
