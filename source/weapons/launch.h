// Where a projectile leaves from and how: the muzzle of a hot spot at the
// moment of a pull, and the position, velocity and orientation aimed from it.
// Internal to the weapons module. Main thread, object lock held by the caller
// (the owner and the camera are read from the object table).
#pragma once

#include <string>
#include <vector>

#include "geom/geom.h"

class Weapon;

namespace weapons {

// A muzzle in the world.
struct Muzzle {
    bool onCamera = false;        // the Fire vector is a direction, not a target
    Vector position;              // world position
    Quaternion cameraRot{1.0f};   // the camera's world orientation (camera muzzles)
};

// One projectile's start.
struct Launch {
    Vector position;
    Vector velocity;
    Quaternion rot{1.0f};
    // False when nothing may leave: a target at the muzzle, or a direction
    // that is not a number. The velocity is then zero and rot the identity.
    bool aimed = false;
};

// The muzzle of hot spot `index` of the weapon. False, with the reason, when
// the weapon cannot fire from it: no such hot spot, the owner is not in the
// world, or a bone muzzle's owner has no GraphicsComp.
bool LocateMuzzle(const Weapon& weapon, int index, Muzzle& muzzle, std::string& reason);

// The start of a projectile fired with the vector v at speed. The reference
// axis is the projectile's local axis that points along its flight: +x for
// shots, +z for missiles.
Launch Aim(const Muzzle& muzzle, const Vector& v, float speed, const Vector& reference);

// The local axis that points along the flight.
const Vector kShotAxis(1.0f, 0.0f, 0.0f);
const Vector kMissileAxis(0.0f, 0.0f, 1.0f);

// v turned by angle radians about the world up axis (right-handed).
Vector TurnAboutUp(const Vector& v, float angle);

// The velocities of one pull's projectiles, in the order they are queued:
// the centre one, then for a uniform fan (odd num above 1, spreadHorizontal
// not 0, spreadVertical 0) the centre turned by +1 .. +k steps and then by
// -1 .. -k steps of spreadHorizontal / (num - 1), k = (num - 1) / 2. Every
// other weapon fires its centre projectile alone.
std::vector<Vector> VolleyVelocities(const Weapon& weapon, const Vector& centre);

// Logs the message through System::Error (or Warning) the first time it is
// given, and never again in this run. Any thread.
void ErrorOnce(const std::string& message);
void WarnOnce(const std::string& message);

}  // namespace weapons
