// The narrow phase: the tests that turn a candidate pair of the broad phase
// into a CollisionEvent. Two boxes meet in a separating-axis test
// (SatCollisionManager::CollideOBBs); two spheres by their distance; a shot,
// an object with a BulletComp, is swept as a point along its motion relative
// to the target over the time step, against the target's axis-aligned box or
// else its sphere. Each test fills `out` and returns true on a contact; it
// never records more than one contact per pair.
//
// Threads: the collision thread only; the tests read snapshot copies, never
// live objects. CollideOBBs reuses the extension's scratch records.
#pragma once

#include <array>
#include <vector>

#include "collision_manager/records.h"
#include "collision_manager/snapshot.h"
#include "main/frame_clock.h"
#include "geom/geom.h"
#include "geom/vector_set.h"
#include "module.h"

class CollisionManager;

// One box as the separating-axis test sees it: its corners and axes in its
// object's frame, and that frame.
struct SATShape {
    const std::vector<Vector>* verts;
    const VectorSet* edgeAxes;
    const VectorSet* faceAxes;
    QuatVec frame;
};

class SatCollisionManager : public Extension<CollisionManager> {
public:
    // Two oriented boxes (both proxies have an OBB). The event's normal is a
    // unit vector from A towards B along the axis of least penetration.
    bool CollideOBBs(const CollisionProxy& a, const CollisionProxy& b, const FrameClock& clock,
                     CollisionEvent& out);
    // Expresses both shapes in one common frame (B's, unless A has more
    // corners) and lists the candidate axes: the face axes of the shape whose
    // name sorts greater (A on equal names, as `before` is then false), the
    // other's face axes, then the unit cross products of their edge axes,
    // skipping those of near-parallel edges.
    static void BuildSATData(bool before, const SATShape& a, const SATShape& b, SATData& out);
    // Projects both boxes' corners on the axis. False when the axis separates
    // them; otherwise fills `overlap` with the smaller push-out along it.
    static bool OverlapOnAxis(const Vector& axis, const SATData& data, AxisOverlap& overlap);

    // Two spheres closer than their radii's sum.
    static bool CollideSpheres(const CollisionProxy& a, const CollisionProxy& b, const FrameClock& clock,
                               CollisionEvent& out);
    // A shot against the target's axis-aligned box (moved, never turned).
    static bool SweptShotVsAABB(const CollisionProxy& shot, const CollisionProxy& target,
                                const FrameClock& clock, CollisionEvent& out);
    // A shot against the target's bounding sphere, set or not.
    static bool SweptShotVsSphere(const CollisionProxy& shot, const CollisionProxy& target,
                                  const FrameClock& clock, CollisionEvent& out);
    // Picks the test for a candidate pair (A the bucket's object); shots
    // never meet shots, and a shot's event always names it objA.
    bool CollidePair(const CollisionProxy& a, const CollisionProxy& b, const FrameClock& clock,
                     CollisionEvent& out);

private:
    // Scratch of CollideOBBs, kept between pairs and passes.
    VectorSet axesA{1e-8f};
    VectorSet axesB{1e-8f};
    std::vector<Vector> cornersA;
    std::vector<Vector> cornersB;
    SATData sat;
    std::vector<AxisOverlap> overlaps;
};
