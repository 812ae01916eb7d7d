// The steering and settling rules the moving behaviour states share: an enemy
// turns about its vertical axis toward a point and walks forward only while the
// point lies roughly ahead; after each step it is held on the ground.
//
// Threads: main thread, inside the behaviour update under the object lock;
// the caller passes the owner it looked up. Never takes the object lock.
#pragma once

class GameObject;
class PhysicsComp;
struct Vector;

namespace steering {

// One state's steering constants.
struct SteeringRule {
    float sideThreshold;  // |side| above this turns the owner
    float turnRate;       // radians per second about y
    float moveThreshold;  // |side| below this (and the point ahead) lets it walk
    float speed;          // forward speed, units per second
};

// Gravity per second of frame time after a steering step, and the softer pull
// that holds an enemy standing at the end of its path.
constexpr float kFall = 120.0f;
constexpr float kFallAtRest = 10.0f;

// Sets body.angularVel.y and the horizontal linearVel (x, z and w) so that
// `owner` turns toward `point` and walks toward it while it lies ahead.
// Returns true in the walking case. A point at the owner's own position
// gives finite velocities (it counts as straight behind).
bool SteerToward(const GameObject& owner, PhysicsComp& body, const Vector& point, const SteeringRule& rule);

// Holds the owner above the level's ground (its offset as hover height), then
// pulls body.linearVel.y down by the smoothed frame time times fallPerSecond.
void Settle(GameObject& owner, PhysicsComp& body, float fallPerSecond);

// Horizontal linearVel (x, z and w) to zero; y and the turning stay.
void StopWalking(PhysicsComp& body);

}  // namespace steering
