// ControlPlayer: one frame of the player's machine, as a short driver over
// one function per step of the frame (foot, dash, walk, motion, bob, cockpit
// lag, mouse look, weapons, up-boost, boost meter, shield).
#include "game_logic/player_controller.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "game_logic.h"
#include "game_logic/player_parts.h"
#include "game_logic/player_step.h"
#include "input_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "sound_manager.h"
#include "system.h"
#include "weapons.h"

bool hardFall = false;

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kHalfPi = 0.5f * kPi;
constexpr float kTiny = 1e-8f;

// Units per second at every frame time: the physics step moves the body by
// velocity times the step, so the speeds must not be scaled by it again (as
// 7500 and 19000 times the step, they are these at 1/60 s only).
constexpr float kWalkSpeed = 7500.0f / 60.0f;
constexpr float kDashSpeed = 19000.0f / 60.0f;
constexpr float kGravity = 200.0f;
constexpr float kHardFallSpeed = -80.0f;
constexpr float kThrust = 250.0f;
constexpr float kCeiling = 650.0f;
constexpr double kBoostRechargeDelay = 0.7;
constexpr float kDrainScale = 0.3f;
constexpr float kDashDrain = 90.0f, kThrustDrain = 360.0f, kBothDrain = 306.0f;
constexpr float kAirRecharge = 30.0f, kGroundRecharge = 60.0f;
constexpr float kShieldRecharge = 30.0f;
constexpr double kShieldSoundTime = 0.75;
constexpr float kStepPhase = 1.2f * kPi;  // the step sounds past this phase
constexpr float kBobRate = 0.05f;
constexpr float kBobSettle = 0.03f, kBobRestBand = 0.036f;
constexpr float kLookLimit = 0.27f, kDashLookLimit = 0.1f;
constexpr float kPitchDown = -0.4f * kPi, kPitchUp = 0.35f * kPi;

const char* const kStepSample = "sample_step";
const char* const kLandingSample = "sample_landing";
const char* const kShieldSample = "sample_recharge_shield";

// Camera-space directions of the four movement keys.
const Vector kForward(0.0f, 0.0f, -1.0f, 0.0f);
const Vector kBack(0.0f, 0.0f, 1.0f, 0.0f);
const Vector kLeft(-1.0f, 0.0f, 0.0f, 0.0f);
const Vector kRight(1.0f, 0.0f, 0.0f, 0.0f);

// Everything one call works with; the object pointers live as long as the
// call's hold of the object lock.
struct Frame {
    Frame(GameLogic& l, InputManager& i, ObjectManager& o) : logic(l), input(i), objects(o) {}

    GameLogic& logic;
    InputManager& input;
    ObjectManager& objects;
    PlayerParts parts;
    float dt = 0.0f;
    Vector cursor;
    Matrix basis;       // camera to world, flattened onto the ground plane
    float ground = 0.0f;
    Vector move;
    bool moving = false;

    GameObject& Player() const { return *parts.player; }
    StatsComp& Stats() const { return *parts.stats; }
    Vector& Velocity() const { return parts.body->linearVel; }
    float Hover() const { return logic.hoverHeight; }
};

void PlayAtCamera(const char* name) {
    Module<SoundManager>::Instance()->PlayStoredSample(name, Module<ObjectManager>::Instance()->cameraObject.target);
}

void StopBoostSound() { Module<SoundManager>::Instance()->StopSound(); }

bool IsLong(const Vector& v) { return v.Mag() > kTiny; }

// The camera's placement with its y row replaced by (0, 1, 0): the right and
// backward axes lose their vertical parts and are deliberately not
// renormalised, so looking up or down shortens the forward part of a walk.
Matrix FlatMovementBasis(const CameraObject& camera) {
    Matrix basis = camera.GetInvViewMatrix();
    basis.m[0][1] = 0.0f;
    basis.m[1][1] = 1.0f;
    basis.m[2][1] = 0.0f;
    return basis;
}

void PlaceFoot(Frame& f) {
    f.parts.foot->trans = f.Player().trans;
    f.parts.foot->trans.y -= f.Hover() + 1.0f;
}

// The player hovers at most half a unit above its hover height, or below it.
// A failed test leaves onGround as it was (the foot's contact may have set it).
bool StandsOnTerrain(const Frame& f) {
    const float aboveHover = f.Player().trans.y - f.Hover();
    return aboveHover - f.ground < 0.5f || !(aboveHover > f.ground);
}

void Dash(Frame& f) {
    if (!(f.Stats().bp > 0.0f)) return;
    GameLogic& logic = f.logic;
    logic.dashing = false;
    if (!f.input.IsKeyDown(f.input.dash)) return;
    Vector sum;
    const std::pair<int, Vector> keys[] = {
        {f.input.forward, kForward}, {f.input.left, kLeft}, {f.input.back, kBack}, {f.input.right, kRight}};
    for (const auto& key : keys) {
        if (!f.input.WasKeyPressed(key.first)) continue;
        logic.boostRechargeDelay = kBoostRechargeDelay;
        logic.dashing = true;
        sum = sum + f.basis * key.second;
        if (f.Stats().bp > 0.5f * f.Stats().boost) PlayAtCamera(SoundManager::kBoostSample);
    }
    if (IsLong(sum)) {
        f.move = sum.Norm() * kDashSpeed;
    } else {
        logic.dashing = false;
        StopBoostSound();
    }
}

// While dashing the walk keys are ignored for the frame.
void Walk(Frame& f) {
    const bool standing = StandsOnTerrain(f);
    if (standing) f.logic.onGround = true;
    if (f.logic.dashing) {
        f.moving = IsLong(f.move);
        return;
    }
    const std::pair<int, Vector> keys[] = {
        {f.input.left, kLeft}, {f.input.right, kRight}, {f.input.forward, kForward}, {f.input.back, kBack}};
    for (const auto& key : keys)
        if (f.input.IsKeyDown(key.first)) f.move = f.move + f.basis * key.second;
    if (standing) StopBoostSound();
    f.moving = IsLong(f.move);
    if (f.moving) f.move = f.move.Norm() * kWalkSpeed;
}

// One step sound per cycle of the bob's phase.
void WalkBob(Frame& f) {
    CockpitObject& cockpit = f.objects.cockpit;
    const float old = cockpit.bobPhase;
    cockpit.bobPhase = std::fmod(old + kBobRate * f.dt * f.move.Mag(), kTwoPi);
    if (f.logic.stepArmed && old > kStepPhase) {
        PlayAtCamera(kStepSample);
        f.logic.stepArmed = false;
    } else if (!f.logic.stepArmed && old > 0.0f && old <= kStepPhase) {
        f.logic.stepArmed = true;
    }
}

void Move(Frame& f) {
    GameLogic& logic = f.logic;
    Vector& velocity = f.Velocity();
    if (logic.upBoosting) {
        velocity = Vector(f.move.x, velocity.y, f.move.z, f.move.w);
        if (!(f.ground < f.Player().trans.y - f.Hover())) f.Player().trans.y = f.ground + f.Hover();
    } else if (!logic.onGround) {
        velocity = Vector(f.move.x, velocity.y - kGravity * f.dt, f.move.z, f.move.w);
        if (velocity.y < kHardFallSpeed) hardFall = true;
        if (!logic.dashing) StopBoostSound();
    } else {
        if (hardFall) {
            PlayAtCamera(kLandingSample);
            hardFall = false;
        }
        velocity = f.move;
        if (f.moving && !logic.dashing) WalkBob(f);
    }
}

// Fixed steps per frame, not scaled by dt.
void LagCockpit(Frame& f) {
    float& d = f.objects.cockpit.moveOffset.y;
    if (!f.logic.onGround && !f.logic.upBoosting) {
        if (f.Velocity().y < 0.3f) d = ClampFloat(d + 0.005f * std::pow(std::fabs(6.0f - d), 1.5f), -8.0f, 5.0f);
    } else if (!f.logic.onGround) {
        d = ClampFloat(d - 0.005f * std::pow(std::fabs(-9.0f - d), 1.5f), -8.0f, 5.0f);
    } else if (d < -1.0f) {
        d = ClampFloat(d + 0.06f * std::pow(std::fabs(0.001f - d), 1.5f), -8.0f, 0.0f);
    } else if (d > 1.0f) {
        d = ClampFloat(d - 0.06f * std::pow(std::fabs(-0.001f - d), 1.5f), 0.0f, 5.0f);
    } else if (std::fabs(d) > 0.1f) {
        d = 0.8f * d;
    }
}

// The cockpit comes to rest at the top of its bob.
void SettleBob(Frame& f) {
    if (f.moving && !f.logic.dashing && !f.logic.upBoosting) return;
    float& phase = f.objects.cockpit.bobPhase;
    if (std::fabs(phase - kHalfPi) <= kBobRestBand) return;
    const bool pastTop = phase >= kHalfPi && phase <= 3.0f * kHalfPi;
    phase += pastTop ? -kBobSettle : kBobSettle;
    phase = std::fmod(phase, kTwoPi);
}

// The cursor's offset from the centre turns the camera, and the pointer goes
// back to the centre, where the next frame's offset is measured from.
void Look(Frame& f) {
    System& system = *Module<System>::Instance();
    if (!system.IsMouseGrabbed()) return;
    GameLogic& logic = f.logic;
    CameraObject& camera = f.objects.cameraObject;
    logic.mouseOrigin = Vector(0.0f, 0.0f, 0.0f, 0.0f);
    logic.lookAngles = Vector(camera.yaw, camera.pitch, 0.0f, 0.0f);
    const float k = (logic.dashing ? kDashLookLimit : kLookLimit) * system.mouseSensitivity;
    camera.yaw = logic.lookAngles.x - ClampFloat(f.cursor.x - logic.mouseOrigin.x, -k, k);
    camera.pitch = logic.lookAngles.y - ClampFloat(f.cursor.y - logic.mouseOrigin.y, -k, k);
    camera.pitch = ClampFloat(camera.pitch, kPitchDown, kPitchUp);
    system.CenterMouse();
    f.input.SetMousePosition(Vector(0.0f, 0.0f, 0.0f, 0.0f));
}

// A weapon the player lacks stays silent, reported once.
void FireWeapon(Weapon* weapon, const char* which, const Vector& aim) {
    if (weapon)
        weapon->Fire(aim);
    else
        WarnMissingPart(std::string("the player's ") + which + " weapon");
}

void Fire(Frame& f) {
    const bool laser = f.input.IsKeyDownAfter(f.input.laser, f.logic.playBeganAtPoll);
    const bool missile = f.input.IsKeyDownAfter(f.input.missile, f.logic.playBeganAtPoll);
    if (!laser && !missile) return;
    WeaponComp* weapons = f.Player().GetWeaponComp();
    if (!weapons) {
        WarnMissingPart("the player's WeaponComp");
        return;
    }
    const Vector aim = MatrixToQuatVec(f.objects.cameraObject.GetInvViewMatrix()).rot.Rotate(kForward);
    if (laser) FireWeapon(weapons->primary, "primary", aim);
    if (missile) FireWeapon(weapons->secondary, "secondary", aim);
}

void UpBoost(Frame& f) {
    GameLogic& logic = f.logic;
    if (f.input.WasKeyPressed(f.input.jump)) {
        logic.upBoosting = true;
        Module<System>::Instance()->Log("upBoosting = 1");
    }
    if (logic.upBoosting && f.input.IsKeyDown(f.input.jump)) {
        if (!(f.Stats().bp > 0.0f)) {
            logic.upBoosting = false;
            return;
        }
        logic.boostRechargeDelay = kBoostRechargeDelay;
        if (f.Player().trans.y < kCeiling) {
            f.Velocity().y += kThrust * f.dt;
            PlayAtCamera(SoundManager::kBoostSample);
        } else {
            f.Player().trans.y = kCeiling;
            f.Velocity().y = 0.0f;
        }
        return;
    }
    logic.upBoosting = false;
    if (logic.onGround)
        f.objects.groundObject.KeepAboveGround(f.Player().trans, f.Velocity(), f.Hover());
}

// Both thrusters together drain less than the up-boost alone, as tuned.
void DrainOrRechargeBoost(Frame& f) {
    GameLogic& logic = f.logic;
    StatsComp& stats = f.Stats();
    if (logic.dashing || logic.upBoosting) {
        const float rate = logic.dashing ? (logic.upBoosting ? kBothDrain : kDashDrain) : kThrustDrain;
        stats.bp -= rate * kDrainScale * f.dt;
        if (!(stats.bp > 0.0f)) {
            stats.bp = 0.0f;
            logic.dashing = false;
            logic.upBoosting = false;
        }
        return;
    }
    if (!(stats.bp < stats.boost)) return;
    if (logic.boostRechargeDelay > kTiny) {
        logic.boostRechargeDelay -= f.dt;
        return;
    }
    logic.boostRechargeDelay = 0.0;
    const float rate = logic.onGround ? kGroundRecharge : kAirRecharge;
    stats.bp = std::min(stats.bp + rate * f.dt, stats.boost);
}

// The recharge sample starts anew in every frame of the delay's last 0.75 s.
void RechargeShield(Frame& f) {
    StatsComp& stats = f.Stats();
    if (stats.shieldRechargeDelay > kTiny) {
        stats.shieldRechargeDelay -= f.dt;
        if (stats.shieldRechargeDelay < kShieldSoundTime) PlayAtCamera(kShieldSample);
        return;
    }
    stats.sp = std::min(stats.sp + kShieldRecharge * f.dt, stats.shield);
}

void Finish(Frame& f) {
    f.Player().trans.w = 0.0f;
    f.objects.cameraObject.target = f.Player().trans;
    f.logic.onGround = false;
}

}  // namespace

void ControlPlayer(GameLogic& logic) {
    Frame f(logic, *Module<InputManager>::Instance(), *Module<ObjectManager>::Instance());
    f.dt = float(Module<System>::Instance()->frameTime.load());
    f.cursor = f.input.GetMousePosition();
    ObjectLock lock(f.objects);
    if (!FindPlayerParts(f.objects, f.parts)) return;
    PlaceFoot(f);
    f.basis = FlatMovementBasis(f.objects.cameraObject);
    f.ground = f.objects.groundObject.GetHeight(f.Player().trans);
    Dash(f);
    Walk(f);
    Move(f);
    LagCockpit(f);
    SettleBob(f);
    Look(f);
    Fire(f);
    UpBoost(f);
    DrainOrRechargeBoost(f);
    RechargeShield(f);
    // Last of the motion, so that no later write undoes it.
    GuardPlayerStep(f.objects, f.Player(), f.Velocity(), f.Hover(), f.dt);
    Finish(f);
}
