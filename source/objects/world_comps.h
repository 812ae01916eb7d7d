// The components of things placed in the world: spawn points (SpawnComp),
// which release queued object patterns, and pickups (PickupComp), which the
// player collects. Plain values under the object lock like every component
// (component.h).
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "geom/geom.h"
#include "objects/component.h"

class SpawnComp : public PooledComponent<SpawnComp, CompIndex::Spawn> {
public:
    double delay = 0.0;      // seconds between releases
    double countdown = 0.0;  // seconds to the next release
    Vector spawnDir;
    std::deque<std::string> patternQueue;  // pattern names still to release
};

class PickupComp : public PooledComponent<PickupComp, CompIndex::Pickup> {
public:
    // Kinds of pickup; anything else is not known.
    static constexpr int32_t kAmmo = 1;
    static constexpr int32_t kHealth = 2;
    static constexpr int32_t kUnknown = 4;



    // Applies this pickup to the object named collectorName: restores its
    // hull points (kHealth) or adds missiles to its secondary weapon (kAmmo),
    // capped at the maximum, then plays the pickup sound and posts a "Game
    // Message". False when nothing was applied: no such object, the object
    // lacks the component the kind needs, or the amount is already full. An
    // unknown kind is used up without effect (true). Main thread; the caller
    // holds the object lock.
    bool ApplyPickup(std::string collectorName);

    int32_t kind = kUnknown;
    int32_t value = 0;  // the amount
};
