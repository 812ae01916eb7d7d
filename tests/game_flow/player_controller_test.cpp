// The player controller on level 1 with set key tables and a step of 1/60 s:
// walking and dashing, the boost meter with the up-boost, the shield's
// recharge, the sounds and the cockpit, the mouse look, and a level whose
// player is missing pieces.
#include <gtest/gtest.h>

#include <cmath>

#include "game_flow/level_one_play.h"
#include "game_logic/player_fit_out.h"
#include "game_logic/player_parts.h"
#include "weapons.h"

namespace game_flow_test {
namespace {

constexpr float kTolerance = 1e-3f;

class PlayerControl : public LevelOnePlay {
protected:
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i) ControlPlayer(Logic());
    }
    static Vector Velocity() { return PlayerView().body.linearVel; }
    static float Boost() { return PlayerView().stats.bp; }
    static void SetBoost(float bp) { PlayerView().stats.bp = bp; }
    static void Lift(float height) {
        PlayerView player;
        player.object.trans.y = Objects().groundObject.GetHeight(player.object.trans) + Logic().hoverHeight + height;
    }
    static float HorizontalSpeed() {
        const Vector v = Velocity();
        return std::hypot(v.x, v.z);
    }
};

TEST_F(PlayerControl, WalksAtItsSpeedAndDashesForOneFrameAlongTheNormalisedKeys) {
    const InputManager& in = Input();
    Hold(in.forward);
    Step();
    EXPECT_NEAR(0.0f, Velocity().x, kTolerance);
    EXPECT_NEAR(-125.0f, Velocity().z, kTolerance) << "the camera looks along -z";
    EXPECT_NEAR(0.0f, Velocity().y, kTolerance);

    Hold(in.dash);
    Press(in.forward);
    Press(in.right);
    Step();
    const float diagonal = 19000.0f * kStep / std::sqrt(2.0f);
    EXPECT_NEAR(diagonal, Velocity().x, 0.01f);
    EXPECT_NEAR(-diagonal, Velocity().z, 0.01f);
    EXPECT_NEAR(0.0f, Velocity().y, kTolerance) << "a dash on the ground keeps to the ground";
    EXPECT_NEAR(100.0f - 0.45f, Boost(), kTolerance);
    EXPECT_TRUE(Logic().dashing);

    Step();  // the keys are still held, no new press
    EXPECT_FALSE(Logic().dashing);
    EXPECT_NEAR(125.0f, HorizontalSpeed(), kTolerance);
}

TEST_F(PlayerControl, AnEmptyMeterLeavesTheDashKeyAloneAndThePressesUnread) {
    SetBoost(0.0f);
    Hold(Input().dash);
    Press(Input().forward);
    Step();
    EXPECT_NEAR(125.0f, HorizontalSpeed(), kTolerance);
    EXPECT_TRUE(Input().keyPressed[Input().forward]) << "the press was not consumed";
    EXPECT_FALSE(Logic().dashing);
}

TEST_F(PlayerControl, OpposedKeysStopThePlayerAndTheBobSettlesToItsTop) {
    Hold(Input().forward);
    Hold(Input().back);
    Objects().cockpit.bobPhase = 0.0f;
    Step();
    EXPECT_NEAR(0.0f, HorizontalSpeed(), kTolerance);
    EXPECT_NEAR(0.03f, Objects().cockpit.bobPhase, 1e-5f);
    Objects().cockpit.bobPhase = 3.0f;
    Step();
    EXPECT_NEAR(2.97f, Objects().cockpit.bobPhase, 1e-5f);
    Objects().cockpit.bobPhase = 1.5707963f + 0.03f;
    Step();
    EXPECT_NEAR(1.5707963f + 0.03f, Objects().cockpit.bobPhase, 1e-6f) << "within the rest band";
}

TEST_F(PlayerControl, ThrustDrainsTheMeterUntilEmptyThenItRestsAndRecharges) {
    Press(Input().jump);
    Step(30);
    EXPECT_NEAR(46.0f, Boost(), 0.01f);
    EXPECT_NEAR(125.0f, Velocity().y, 0.01f);
    EXPECT_EQ(1, log.Count("upBoosting = 1"));

    int frame = 30;
    while (Logic().upBoosting && frame < 100) {
        Step();
        ++frame;
    }
    EXPECT_EQ(56, frame) << "the meter empties in frame 56";
    EXPECT_EQ(0.0f, Boost());

    Release(Input().jump);
    Lift(100.0f);  // in the air: half the ground's recharge
    Step(42);
    EXPECT_EQ(0.0f, Boost()) << "0.7 s of rest";
    Step();
    EXPECT_NEAR(0.5f, Boost(), 1e-4f);
    Lift(0.0f);
    Step();
    EXPECT_NEAR(1.5f, Boost(), 1e-4f);
    Step(200);
    EXPECT_EQ(100.0f, Boost()) << "never above the maximum";
}

TEST_F(PlayerControl, DashAndThrustDrainTheirRatesAlone) {
    struct Case {
        bool dash, thrust;
        float cost;
    };
    for (const Case& c : {Case{true, false, 0.45f}, Case{false, true, 1.8f}, Case{true, true, 1.53f}}) {
        for (int code : {Input().jump, Input().dash, Input().left}) Release(code);
        Logic().dashing = Logic().upBoosting = false;
        Lift(100.0f);
        SetBoost(80.0f);
        if (c.thrust) {
            Logic().upBoosting = true;
            Hold(Input().jump);
        }
        if (c.dash) {
            Hold(Input().dash);
            Press(Input().left);
        }
        Step();
        EXPECT_NEAR(80.0f - c.cost, Boost(), 1e-4f) << c.dash << c.thrust;
    }
}

TEST_F(PlayerControl, AJumpOnAnEmptyMeterIsLoggedAndEndsAtOnce) {
    SetBoost(0.0f);
    Press(Input().jump);
    Step();
    EXPECT_TRUE(log.Has("upBoosting = 1"));
    EXPECT_FALSE(Logic().upBoosting);
    EXPECT_NEAR(0.0f, Velocity().y, kTolerance);
}

TEST_F(PlayerControl, TheCeilingHoldsThePlayerSilently) {
    {
        PlayerView player;
        player.object.trans.y = 700.0f;
        player.body.linearVel.y = 40.0f;
    }
    Logic().upBoosting = true;
    Hold(Input().jump);
    Step(3);
    PlayerView player;
    EXPECT_EQ(650.0f, player.object.trans.y);
    EXPECT_EQ(0.0f, player.body.linearVel.y);
    EXPECT_EQ(0, Plays(SoundManager::kBoostSample));
}

TEST_F(PlayerControl, TheShieldRestsFiveSecondsWithItsSoundAtTheEndThenRecharges) {
    {
        PlayerView player;
        player.stats.sp = 40.0f;
        player.stats.shieldRechargeDelay = 5.0;
    }
    int firstSound = -1;
    for (int frame = 1; frame <= 300; ++frame) {
        const int before = Plays("sample_recharge_shield");
        Step();
        if (firstSound < 0 && Plays("sample_recharge_shield") > before) firstSound = frame;
        ASSERT_EQ(40.0f, PlayerView().stats.sp) << "frame " << frame;
    }
    EXPECT_NEAR(45, Plays("sample_recharge_shield"), 1);
    EXPECT_NEAR(256, firstSound, 1);
    Step();
    EXPECT_NEAR(40.5f, PlayerView().stats.sp, 1e-4f);
    Step(200);
    EXPECT_EQ(100.0f, PlayerView().stats.sp);
}

TEST_F(PlayerControl, AHardFallLandsWithOneSound) {
    Lift(60.0f);
    PlayerView().body.linearVel.y = -79.0f;
    Step();
    EXPECT_TRUE(hardFall);
    EXPECT_EQ(0, Plays("sample_landing"));
    Lift(0.0f);
    Step(3);
    EXPECT_EQ(1, Plays("sample_landing"));
    EXPECT_FALSE(hardFall);
}

TEST_F(PlayerControl, WalkingStepsOncePerBobCycle) {
    Hold(Input().forward);
    for (int frame = 0; frame < 180; ++frame) {
        Step();
        Lift(0.0f);  // no physics here: the walk would otherwise go on over the hills
    }
    EXPECT_EQ(3, Plays("sample_step"));
}

TEST_F(PlayerControl, EachDashPressStartsTheBoostSoundWhileTheMeterIsOverHalf) {
    Hold(Input().dash);
    for (float bp : {90.0f, 51.0f, 50.0f}) {
        SetBoost(bp);
        const int before = Plays(SoundManager::kBoostSample);
        Press(Input().back);
        Step();
        Step();  // no press: the boost channel is freed
        EXPECT_EQ(bp > 50.0f ? 1 : 0, Plays(SoundManager::kBoostSample) - before) << bp;
    }
}

TEST_F(PlayerControl, TheCockpitLagsWhileFallingOrThrustingAndReturnsOnTheGround) {
    float& d = Objects().cockpit.moveOffset.y;
    Lift(100.0f);
    Step();
    EXPECT_NEAR(0.0735f, d, 1e-4f) << "falling";
    d = 0.0f;
    Logic().upBoosting = true;
    Hold(Input().jump);
    Step();
    EXPECT_NEAR(-0.135f, d, 1e-4f) << "thrusting";
    Release(Input().jump);
    Logic().upBoosting = false;
    Lift(0.0f);
    d = 2.0f;
    Step();
    EXPECT_NEAR(1.830f, d, 1e-3f);
    d = 0.5f;
    Step();
    EXPECT_NEAR(0.4f, d, 1e-5f);
}

TEST_F(PlayerControl, TheMouseTurnsTheCameraWithinItsLimitsOnlyWhileGrabbed) {
    CameraObject& camera = Objects().cameraObject;
    struct Case {
        float sensitivity;
        bool dashing;
        float turn;
    };
    Sys().mouseGrabbed = true;
    for (const Case& c : {Case{1.0f, false, -0.27f}, Case{2.0f, false, -0.5f}, Case{1.0f, true, -0.1f}}) {
        Sys().mouseSensitivity = c.sensitivity;
        camera.yaw = 0.0f;
        if (c.dashing) {
            Hold(Input().dash);
            Press(Input().forward);
        }
        Input().SetMousePosition(Vector(0.5f, 0.0f, 0.0f, 0.0f));
        Step();
        EXPECT_NEAR(c.turn, camera.yaw, 1e-6f) << c.sensitivity << c.dashing;
        EXPECT_EQ(0.0f, Input().GetMousePosition().x) << "the pointer went back to the centre";
        Release(Input().dash);
        Release(Input().forward);
    }
    Sys().mouseSensitivity = 1.0f;
    for (float y : {1.0f, -1.0f}) {
        for (int frame = 0; frame < 20; ++frame) {
            Input().SetMousePosition(Vector(0.0f, y, 0.0f, 0.0f));
            Step();
            EXPECT_GE(camera.pitch, -1.2566371f);
            EXPECT_LE(camera.pitch, 1.0995574f);
        }
        EXPECT_FLOAT_EQ(y > 0 ? -1.2566371f : 1.0995574f, camera.pitch);
    }

    Sys().mouseGrabbed = false;
    camera.yaw = 0.0f;
    Input().SetMousePosition(Vector(0.5f, 0.3f, 0.0f, 0.0f));
    Step();
    EXPECT_EQ(0.0f, camera.yaw);
    EXPECT_EQ(0.5f, Input().GetMousePosition().x) << "no warp";
}

TEST_F(PlayerControl, FiringHoldsThePlayersWeaponsToTheirRates) {
    Hold(Input().laser);
    Hold(Input().missile);
    const uint32_t before = Logic().shotsFired;
    Step();
    EXPECT_EQ(before + 2, Logic().shotsFired) << "one laser pull and one missile";
    PlayerView player;
    EXPECT_EQ(19, player.object.GetWeaponComp()->secondary->ammo);
}

TEST_F(PlayerControl, APlayerWithoutItsPiecesIsLeftAloneWithOneWarningEach) {
    ForgetMissingParts();
    {
        ObjectLock lock;
        Objects().KillGameObject(*Objects().GetGameObject("playerFoot"));
        Objects().RemoveDeadGameObjects();
    }
    Hold(Input().forward);
    Step(3);
    EXPECT_EQ(1, log.Count("playerFoot is missing")) << log.Text();
    EXPECT_NEAR(0.0f, HorizontalSpeed(), kTolerance) << "nothing moved";

    std::string missing;
    ASSERT_TRUE(FitOutPlayer(Logic(), missing)) << missing;
    {
        PlayerView player;
        WeaponComp& weapons = *player.object.GetWeaponComp();
        delete weapons.primary;
        weapons.primary = nullptr;
    }
    Hold(Input().laser);
    Hold(Input().missile);
    Step(3);
    EXPECT_EQ(1, log.Count("primary weapon is missing"));
    EXPECT_EQ(19, PlayerView().object.GetWeaponComp()->secondary->ammo) << "the other weapon fires";
    EXPECT_NEAR(125.0f, HorizontalSpeed(), kTolerance);
}

TEST_F(PlayerControl, AMissingStepSoundIsReportedOnceAndTheWalkGoesOn) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    ASSERT_EQ(0, store.DeleteResource("sample_step"));
    Hold(Input().forward);
    for (int frame = 0; frame < 180; ++frame) {
        Step();
        Lift(0.0f);
    }
    EXPECT_EQ(1, log.Count("sample_step is not loaded"));
    EXPECT_EQ(0, log.Count("ERROR")) << "no store error every frame";
    EXPECT_NEAR(125.0f, HorizontalSpeed(), kTolerance);
    store.LoadResource("sample_step");
}

}  // namespace
}  // namespace game_flow_test
