// CollisionSnapshot: a copy, taken once per collision pass under one hold of
// the object lock, of what the broad phase, the narrow phase and picking read
// of every live object with a CollisionComp. The pass then runs on the copy
// without the lock, so the main thread is kept waiting once per frame, not
// once per bucket. Results stay one frame old, as they would anyway; an
// object killed after the copy is tested as it was, and readers of the
// results check that objects still exist, as they must in any case.
//
// Threads: Take runs on the collision thread (or a test standing in for it);
// the snapshot belongs to that thread. Take holds the object lock and never
// calls AddGameObject.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "geom/geom.h"

class ObjectManager;

// What collision reads of one object.
struct CollisionProxy {
    unsigned objNum = 0;
    std::string name;        // box pairs order their axes by name
    unsigned category = 0;
    unsigned collidesWith = 0;
    bool isShot = false;     // has a BulletComp: swept, never tested against shots
    bool hasPhysics = false; // has a PhysicsComp (linearVel is zero otherwise)
    bool resolveContact = false;
    bool canBePicked = false;
    bool hasBoundSphere = false;
    bool hasOBB = false;
    bool hasAABB = false;
    Vector trans;
    Quaternion rot;
    Vector linearVel;
    BoundingSphere boundSphere;  // centre in the object's frame
    Vector sphereCenter;         // the sphere's centre in the world: rot.Rotate(centre) + trans
    OBB obb;
    AABB aabb;
};

class CollisionSnapshot {
public:
    // Replaces the copy with the objects of `objects`' table, in the table's
    // own order: each one that is alive and has a CollisionComp. An object
    // whose numbers are not all finite is left out, with one warning per
    // object: a not-a-number would make the sort of the sweep undefined and
    // every contact computed from it meaningless. Takes the object lock.
    void Take(ObjectManager& objects);

    std::vector<CollisionProxy> proxies;
    // Names the copy: unique among all copies taken in the process (0 before
    // the first), so users can cache what they derive from one.
    unsigned generation = 0;

private:
    void WarnNotFinite(const CollisionProxy& proxy);

    std::set<unsigned> warnedNotFinite;  // objects already reported
};

// True when every float that collision reads of the proxy is finite.
bool IsFinite(const CollisionProxy& proxy);
// True when every component (w included) is finite.
bool IsFinite(const Vector& v);
bool IsFinite(const Quaternion& q);
