#include "game_logic/player_step.h"

#include <algorithm>
#include <cmath>

#include "game_logic/player_parts.h"
#include "object_manager.h"
#include "objects/collision_comp.h"
#include "objects/components.h"

namespace {

// A step shorter than the machine's half width can only graze a box, and
// the push-out undoes that as it does at 1/60 s.
constexpr float kSweepFrom = 6.0f;
// How far short of a face a cut step stops, so that the next step starts
// outside the box rather than on its face.
constexpr float kStopShort = 0.25f;
// A slide along one face may run into another box: a few passes suffice.
constexpr int kSlides = 3;

struct Box {
    Vector low, high;
};

// The world box around an object's oriented box.
Box WorldBox(const GameObject& object, const OBB& obb) {
    Box box{Vector(1e30f, 1e30f, 1e30f), Vector(-1e30f, -1e30f, -1e30f)};
    for (const Vector& corner : obb.Corners()) {
        const Vector at = object.rot.Rotate(corner) + object.trans;
        for (int k = 0; k < 3; ++k) {
            box.low[k] = std::min(box.low[k], at[k]);
            box.high[k] = std::max(box.high[k], at[k]);
        }
    }
    return box;
}

// Level objects the player cannot pass through: they meet its collision
// filter, ask for a push-out and never move.
bool IsSolidScenery(const GameObject& object, const CollisionComp& player) {
    if (object.isDead) return false;
    const CollisionComp* shape = object.GetCollisionComp();
    if (!shape || !shape->hasOBB || !shape->resolveContact) return false;
    if (!CollisionFiltersMatch(player.category, player.collidesWith, shape->category, shape->collidesWith))
        return false;
    const PhysicsComp* body = object.GetPhysicsComp();
    return !body || body->infMass;
}

// Where a point moving by `step` enters the box: the fraction of the step and
// the axis of the face it enters through. False when it misses the box within
// the step or starts inside it (the push-out's case).
bool Entry(const Vector& from, const Vector& step, const Box& box, float& t, int& axis) {
    float enter = 0.0f, leave = 1.0f;
    bool inside = true;
    axis = -1;
    for (int k = 0; k < 3; ++k) {
        const bool outside = from[k] <= box.low[k] || from[k] >= box.high[k];
        inside = inside && !outside;
        if (step[k] == 0.0f) {
            if (outside) return false;
            continue;
        }
        float near = (box.low[k] - from[k]) / step[k];
        float far = (box.high[k] - from[k]) / step[k];
        if (near > far) std::swap(near, far);
        if (near >= enter && outside) {
            enter = near;
            axis = k;
        }
        leave = std::min(leave, far);
        if (enter >= leave) return false;
    }
    if (inside || axis < 0) return false;
    t = enter;
    return true;
}

// The first face of solid scenery that the player's box meets on its step,
// or false.
bool FirstEntry(ObjectManager& objects, const GameObject& player, const CollisionComp& shape, const Vector& step,
                float& t, int& axis) {
    const Box own = WorldBox(player, shape.obb);
    const Vector centre = (own.low + own.high) * 0.5f;
    const Vector half = (own.high - own.low) * 0.5f;
    bool found = false;
    t = 1.0f;
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& other = entry.second;
        if (&other == &player || !IsSolidScenery(other, shape)) continue;
        // The other box grown by the player's, met by the player's centre.
        Box grown = WorldBox(other, other.GetCollisionComp()->obb);
        grown.low = grown.low - half;
        grown.high = grown.high + half;
        float at = 0.0f;
        int through = -1;
        if (Entry(centre, step, grown, at, through) && at < t) {
            t = at;
            axis = through;
            found = true;
        }
    }
    return found;
}

// Stops the step along the face it enters and keeps the rest of it, so that
// a long step slides along a wall or across a roof instead of sinking in.
void SweepScenery(ObjectManager& objects, const GameObject& player, Vector& velocity, float dt) {
    const CollisionComp* shape = player.GetCollisionComp();
    if (!shape || !shape->hasOBB) return;
    for (int slide = 0; slide < kSlides; ++slide) {
        const Vector step = velocity * dt;
        if (std::sqrt(step.x * step.x + step.y * step.y + step.z * step.z) <= kSweepFrom) return;
        float t = 1.0f;
        int axis = -1;
        if (!FirstEntry(objects, player, *shape, step, t, axis)) return;
        const float reach = std::fabs(step[axis]) * t - kStopShort;
        velocity[axis] = reach > 0.0f ? std::copysign(reach / dt, step[axis]) : 0.0f;
    }
}

}  // namespace

void GuardPlayerStep(ObjectManager& objects, GameObject& player, Vector& velocity, float hover, float dt) {
    if (!(dt > 0.0f)) return;
    SweepScenery(objects, player, velocity, dt);
    objects.groundObject.KeepStepInsideRim(player.trans, velocity, kPlayerReach, hover, dt);
}
