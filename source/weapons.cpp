// The trigger pull: rate test, counting, ammunition, hot spots, the volley and
// the firing sound. The projectiles themselves are built in
// weapons/projectiles.cpp, their muzzles and aim in weapons/launch.cpp.
#include "weapons.h"

#include <utility>

#include "behavior_manager.h"
#include "game_logic.h"
#include "module.h"
#include "platform/random.h"
#include "sound_manager.h"
#include "system.h"
#include "weapons/launch.h"

namespace {

const char* const kLaserSample1 = "sample_shot_laser1";
const char* const kLaserSample2 = "sample_shot_laser2";
const char* const kMissileSample = "sample_missile_fire";

}  // namespace

Weapon::Weapon() = default;

void Weapon::AddHotSpot(float x, float y, float z, std::string bone) {
    hotspots.push_back(HotSpot{std::move(bone), Vector(x, y, z)});
    ++hotSpotCount;
}

Weapon* SimpleSpread::Clone() const { return new SimpleSpread(*this); }

Weapon* Missile::Clone() const { return new Missile(*this); }

Weapon* FlameThrower::Clone() const { return new FlameThrower(*this); }

void Weapon::Pull(Vector dir, Kind kind) {
    System& system = *Module<System>::Instance();
    // Written so that a time or rate that is not a number refuses the pull.
    if (!(system.GetTime() - lastFireTime >= rate)) return;

    const int spot = FiringHotSpot();
    weapons::Muzzle muzzle;
    std::string reason;
    if (!weapons::LocateMuzzle(*this, spot, muzzle, reason)) {
        weapons::WarnOnce(SOURCE_POS + "the weapon of " + owner + " " + reason + "; it does not fire");
        return;
    }
    if (IsPlayers()) ++Module<GameLogic>::Instance()->shotsFired;
    lastFireTime = system.GetTime();
    if (kind == Kind::Missile && !TakeAmmo()) return;
    hotSpotIndex = spot;

    const weapons::Launch launch =
        weapons::Aim(muzzle, dir, speed, kind == Kind::Shot ? weapons::kShotAxis : weapons::kMissileAxis);
    if (launch.aimed) QueueVolley(kind, muzzle, launch);
    const char* sample = kMissileSample;
    if (kind == Kind::Shot) sample = platform::Rand() % 2 == 0 ? kLaserSample1 : kLaserSample2;
    // Once per pull, at the centre projectile's muzzle.
    Module<SoundManager>::Instance()->PlayStoredSample(sample, launch.position);
}

int Weapon::FiringHotSpot() const {
    if (!alternate) return hotSpotIndex;
    return hotSpotIndex < hotSpotCount - 1 ? hotSpotIndex + 1 : 0;
}

bool Weapon::TakeAmmo() {
    if (!IsPlayers()) return true;
    // A pull always fires at least its centre missile, and a count below one
    // (a script's value) must not refill the supply.
    const int missiles = num > 1 ? num : 1;
    if (ammo < missiles) return false;
    ammo -= missiles;
    return true;
}

void Weapon::QueueVolley(Kind kind, const weapons::Muzzle& muzzle, const weapons::Launch& launch) {
    BehaviorManager& behavior = *Module<BehaviorManager>::Instance();
    weapons::Launch each = launch;
    for (const Vector& velocity : weapons::VolleyVelocities(*this, launch.velocity)) {
        each.velocity = velocity;
        behavior.QueueGameObject(Build(kind, muzzle, each));
    }
}
