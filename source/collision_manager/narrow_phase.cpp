#include "collision_manager/narrow_phase.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kEpsilon = 1e-8f;
// Cross products of edges closer to parallel than this have no usable
// direction; normalising them would only amplify rounding.
constexpr float kShortestCrossAxis = 1e-6f;
// A swept hit counts up to this many time steps ahead.
constexpr float kSweepReach = 1.3f;

// The fields every producer sets alike.
CollisionEvent StartEvent(const CollisionProxy& a, const CollisionProxy& b, double time) {
    CollisionEvent event;
    event.time = time;
    event.objA = a.objNum;
    event.objB = b.objNum;
    event.resolveContact = a.resolveContact && b.resolveContact;
    event.transA = a.trans;
    event.transB = b.trans;
    event.rotA = a.rot;
    event.rotB = b.rot;
    return event;
}

// The box's own axes: its normalised extent columns, but still defined for a
// box that is flat along one of them.
void BoxAxes(const OBB& box, VectorSet& axes) {
    axes.vectors.clear();
    const Matrix turn = QuaternionToMatrix(box.rot);
    for (int k = 0; k < 3; ++k) collision::Add(axes, turn.VecFromCol(k).Norm());
}

void BoxCorners(const OBB& box, std::vector<Vector>& corners) {
    const std::array<Vector, 8> all = box.Corners();
    corners.assign(all.begin(), all.end());
}

// The shot's motion relative to the target over one time step.
Vector RelativeMotion(const CollisionProxy& shot, const CollisionProxy& target, float dt) {
    const Vector v = target.hasPhysics ? shot.linearVel - target.linearVel : shot.linearVel;
    return v * dt;
}

bool InSweepReach(float t) { return t >= -kEpsilon && t < kSweepReach; }

// The event of a swept contact at t along `motion` from `origin`.
void FillSweptEvent(const CollisionProxy& shot, const CollisionProxy& target, const FrameClock& clock,
                    const Vector& origin, const Vector& motion, float t, CollisionEvent& out) {
    out = StartEvent(shot, target, clock.frameStart + t * clock.timeStep);
    out.contactNormal = motion.Norm() * -1.0f;
    out.contactPoint = origin + motion * t;
    out.depth = 1.0f - t;
}

// Adds each axis of `from`, turned by `turn` unless it is already in the
// common frame.
void AddTurned(VectorSet& axes, const VectorSet& from, bool inCommonFrame, const QuatVec& turn) {
    for (const Vector& axis : from.vectors) collision::Add(axes, inCommonFrame ? axis : turn.rot.Rotate(axis));
}

void ProjectCorners(const std::vector<Vector>& corners, const Vector& axis, Span& span, int& minCorner,
                    int& maxCorner) {
    span.min = span.max = axis * corners[0];
    minCorner = maxCorner = 0;
    for (size_t i = 1; i < corners.size(); ++i) {
        const float d = axis * corners[i];
        if (d < span.min) {
            span.min = d;
            minCorner = static_cast<int>(i);
        }
        if (d > span.max) {
            span.max = d;
            maxCorner = static_cast<int>(i);
        }
    }
}

}  // namespace

void SatCollisionManager::BuildSATData(bool before, const SATShape& a, const SATShape& b, SATData& out) {
    const bool commonIsA = a.verts->size() > b.verts->size();
    const SATShape& common = commonIsA ? a : b;
    const SATShape& other = commonIsA ? b : a;
    out.commonFrameName = commonIsA ? 0 : 1;
    out.commonFrame = common.frame;
    const QuatVec rel = common.frame.Inv() * other.frame;
    const QuatVec relRot(rel.rot);

    const SATShape& greater = before ? b : a;
    const SATShape& lesser = before ? a : b;
    const bool greaterInCommon = &greater == &common;
    out.axes.vectors.clear();
    AddTurned(out.axes, *greater.faceAxes, greaterInCommon, relRot);
    AddTurned(out.axes, *lesser.faceAxes, !greaterInCommon, relRot);
    for (const Vector& g : greater.edgeAxes->vectors) {
        const Vector gc = greaterInCommon ? g : relRot.rot.Rotate(g);
        for (const Vector& l : lesser.edgeAxes->vectors) {
            const Vector lc = greaterInCommon ? relRot.rot.Rotate(l) : l;
            const Vector cross = Cross(gc, lc);
            const float length = cross.Mag();
            if (length >= kShortestCrossAxis) collision::Add(out.axes, cross * (1.0f / length));
        }
    }

    std::vector<Vector>& commonVerts = commonIsA ? out.vertsA : out.vertsB;
    std::vector<Vector>& otherVerts = commonIsA ? out.vertsB : out.vertsA;
    commonVerts.assign(common.verts->begin(), common.verts->end());
    otherVerts.clear();
    for (const Vector& v : *other.verts) otherVerts.push_back(rel * v);
}

bool SatCollisionManager::OverlapOnAxis(const Vector& axis, const SATData& data, AxisOverlap& o) {
    ProjectCorners(data.vertsA, axis, o.spanA, o.minCornerA, o.maxCornerA);
    ProjectCorners(data.vertsB, axis, o.spanB, o.minCornerB, o.maxCornerB);
    const float minA = o.spanA.min, maxA = o.spanA.max, minB = o.spanB.min, maxB = o.spanB.max;
    if ((minB > minA && minB >= maxA) || (minB <= minA && minA >= maxB)) return false;
    const float dAB = maxA - minB;
    const float dBA = maxB - minA;
    // Equal push-outs only when one interval holds the other: keep the axis
    // when B lies inside A.
    const bool keepAxis = dAB < dBA || (dAB == dBA && minA < minB);
    if (keepAxis) {
        o.axis = axis;
        o.depth = dAB;
        o.chosenCornerA = o.maxCornerA;
        o.chosenCornerB = o.minCornerB;
    } else {
        o.axis = axis * -1.0f;
        o.depth = dBA;
        o.chosenCornerA = o.minCornerA;
        o.chosenCornerB = o.maxCornerB;
    }
    return true;
}

bool SatCollisionManager::CollideOBBs(const CollisionProxy& a, const CollisionProxy& b, const FrameClock& clock,
                                      CollisionEvent& out) {
    BoxAxes(a.obb, axesA);
    BoxAxes(b.obb, axesB);
    BoxCorners(a.obb, cornersA);
    BoxCorners(b.obb, cornersB);
    const SATShape shapeA{&cornersA, &axesA, &axesA, QuatVec(a.rot, a.trans)};
    const SATShape shapeB{&cornersB, &axesB, &axesB, QuatVec(b.rot, b.trans)};
    BuildSATData(a.name < b.name, shapeA, shapeB, sat);
    if (sat.vertsA.empty() || sat.vertsB.empty()) return false;

    overlaps.clear();
    overlaps.reserve(sat.axes.vectors.size());
    for (const Vector& axis : sat.axes.vectors) {
        overlaps.emplace_back();
        if (!OverlapOnAxis(axis, sat, overlaps.back())) return false;
    }
    if (overlaps.empty()) return false;
    const AxisOverlap& least = *std::min_element(
        overlaps.begin(), overlaps.end(),
        [](const AxisOverlap& x, const AxisOverlap& y) { return x.depth < y.depth; });

    const Quaternion& turn = sat.commonFrame.rot;
    const Vector& place = sat.commonFrame.trans;
    const Vector& pA = sat.vertsA[least.chosenCornerA];
    const Vector& pB = sat.vertsB[least.chosenCornerB];
    out = StartEvent(a, b, clock.frameStart);
    out.depth = least.depth;
    out.contactNormal = turn.Rotate(least.axis);
    out.contactPoint = turn.Rotate((pA + pB) * 0.5f) + place;
    out.contactB = turn.Rotate(pB) + place;
    out.contactA = out.contactB + out.contactNormal * least.depth;
    return true;
}

bool SatCollisionManager::CollideSpheres(const CollisionProxy& a, const CollisionProxy& b,
                                         const FrameClock& clock, CollisionEvent& out) {
    const Vector d = b.sphereCenter - a.sphereCenter;
    const float dist = d.Mag();
    const float rA = a.boundSphere.radius;
    const float rB = b.boundSphere.radius;
    if (!(dist < rA + rB)) return false;
    const Vector n = dist > kEpsilon ? d.Norm() : Vector(1.0f, 0.0f, 0.0f, 0.0f);
    out = StartEvent(a, b, clock.frameStart);
    out.depth = rA + rB - dist;
    out.contactPoint = a.sphereCenter + n * rA;
    out.contactNormal = n;
    return true;
}

bool SatCollisionManager::SweptShotVsAABB(const CollisionProxy& shot, const CollisionProxy& target,
                                          const FrameClock& clock, CollisionEvent& out) {
    const Vector motion = RelativeMotion(shot, target, static_cast<float>(clock.timeStep));
    const AABB box(target.aabb.center + target.trans, target.aabb.extents);
    const Ray ray(motion, shot.sphereCenter);
    float t = 0.0f;
    Vector point;
    if (!RayIntersectAABB(ray, box, t, point) || !InSweepReach(t)) return false;
    FillSweptEvent(shot, target, clock, ray.origin, motion, t, out);
    return true;
}

bool SatCollisionManager::SweptShotVsSphere(const CollisionProxy& shot, const CollisionProxy& target,
                                            const FrameClock& clock, CollisionEvent& out) {
    const Vector p(shot.sphereCenter.x, shot.sphereCenter.y, shot.sphereCenter.z);
    const Vector q(target.sphereCenter.x, target.sphereCenter.y, target.sphereCenter.z);
    const float r = target.boundSphere.radius;
    const Vector d = RelativeMotion(shot, target, static_cast<float>(clock.timeStep));
    const Vector w = p - q;
    const float a = d * d;
    float t = 0.0f;
    if (w * w <= r * r) {
        t = 0.0f;
    } else if ((w + d) * (w + d) <= r * r) {
        t = 1.0f;
    } else {
        // Without relative motion a shot outside the sphere never reaches it.
        if (a == 0.0f) return false;
        const float b = 2.0f * (w * d);
        const float c = w * w - r * r;
        const float disc = b * b - 4.0f * a * c;
        if (disc < -kEpsilon) return false;
        if (disc > kEpsilon) {
            const float root = std::sqrt(disc);
            t = (-b - root) / (2.0f * a);
            if (t < 0.0f) t = (root - b) / (2.0f * a);
        } else {
            t = -b / (2.0f * a);
        }
        if (!InSweepReach(t)) return false;
    }
    FillSweptEvent(shot, target, clock, p, d, t, out);
    // A shot inside the sphere without relative motion has no direction of
    // travel: it is pushed out from the centre instead.
    if (a == 0.0f) {
        const float apart = w.Mag();
        out.contactNormal = apart > 0.0f ? w * (1.0f / apart) : Vector(1.0f, 0.0f, 0.0f, 0.0f);
    }
    return true;
}

bool SatCollisionManager::CollidePair(const CollisionProxy& a, const CollisionProxy& b, const FrameClock& clock,
                                      CollisionEvent& out) {
    if (a.isShot && b.isShot) return false;
    if (a.isShot || b.isShot) {
        const CollisionProxy& shot = a.isShot ? a : b;
        const CollisionProxy& target = a.isShot ? b : a;
        return target.hasAABB ? SweptShotVsAABB(shot, target, clock, out)
                              : SweptShotVsSphere(shot, target, clock, out);
    }
    if (a.hasOBB && b.hasOBB) return CollideOBBs(a, b, clock, out);
    if (a.hasBoundSphere && b.hasBoundSphere) return CollideSpheres(a, b, clock, out);
    return false;
}
