// BroadPhaseCollisionManager: the sweep of the collision pass. Each object's
// bounding sphere becomes an interval on the X axis (a shot's stretched over
// the way it travels in 1.05 time steps); the intervals are sorted and swept
// to find the pairs that overlap and whose filter bits match, one bucket per
// object; a second pass on the Z axis then keeps only the candidates that
// also overlap there.
//
// Threads: the collision thread only. It reads the pass's snapshot, never the
// live objects, and keeps scratch lists so that a pass allocates nothing once
// they have grown.
#pragma once

#include <vector>

#include "collision_manager/records.h"
#include "collision_manager/snapshot.h"
#include "geom/geom.h"
#include "module.h"

class CollisionManager;

class BroadPhaseCollisionManager : public Extension<CollisionManager> {
public:
    // The object's interval on `axis`: its sphere's centre projected, plus and
    // minus the radius; a shot's is widened on the side it moves towards by
    // its motion over 1.05 time steps. `proxy` is its place in the snapshot.
    static ObjectSpan MakeObjectSpan(const CollisionProxy& object, unsigned proxy, const Vector& axis,
                                     double timeStep);
    // The spans of every object in the snapshot, sorted by min.
    void BuildSpans(const CollisionSnapshot& snapshot, const Vector& axis, double timeStep,
                    std::vector<ObjectSpan>& spans);
    // The spans of the listed snapshot places that overlap `within` by more
    // than a point, sorted by min. Filtering first keeps the sort to the few
    // survivors.
    void BuildSpansForList(const CollisionSnapshot& snapshot, const std::vector<unsigned>& proxies,
                           const Vector& axis, double timeStep, const Span& within,
                           std::vector<ObjectSpan>& spans);
    // Whether `other` is a candidate for `own`: it overlaps own by more than a
    // point. Touching intervals are no candidates.
    static bool IsCandidate(const Span& own, const Span& other);

    // One bucket per object of the snapshot, in span order, listing the later
    // spans that overlap it and pass the filter (either object's category
    // sharing a bit with the other's collidesWith). Given a prune axis, a
    // candidate must also pass RefineBucket's test on it, so the sweep never
    // lists the many pairs that the prune would drop; RefineBucket then only
    // puts the survivors in order.
    void SweepAndPrune(const CollisionSnapshot& snapshot, const Vector& axis, double timeStep,
                       std::vector<CollisionBucket>& buckets, const Vector* pruneAxis = nullptr);
    // Keeps the bucket's candidates whose span on `axis` overlaps the
    // bucket object's sphere (never swept) there, in span order.
    void RefineBucket(const CollisionSnapshot& snapshot, CollisionBucket& bucket, const Vector& axis,
                      double timeStep);

private:
    // Every object's spans on one axis, by snapshot place, for one snapshot
    // and step.
    struct AxisSpans {
        std::vector<ObjectSpan> byPlace;
        unsigned generation = 0;
        Vector axis;
        double timeStep = -1.0;
        bool recent = false;
    };

    // Computed once per snapshot, axis and step (each object is a candidate
    // in many buckets); two axes are kept, so the sweep and the prune axis
    // never push each other out.
    const std::vector<ObjectSpan>& SpansByPlace(const CollisionSnapshot& snapshot, const Vector& axis,
                                                double timeStep);
    // What the sweep's inner loop reads of one span, packed together: its
    // interval, filter bits and interval on the prune axis (unbounded when
    // there is none).
    struct SweepEntry {
        float min, max;
        unsigned category, collidesWith;
        float acrossMin, acrossMax;
    };

    // The candidates of the span at sorted position `a`, whose own sphere on
    // the prune axis is [ownMin, ownMax].
    void FillBucket(size_t a, float ownMin, float ownMax, CollisionBucket& bucket) const;

    AxisSpans axisSpans[2];
    struct SortKey {
        float min;
        unsigned objNum;
        unsigned place;
    };

    // Scratch of the current sweep: the sort keys, the spans in sorted order
    // and their packed entries.
    std::vector<SortKey> keys;
    std::vector<ObjectSpan> spans;
    std::vector<SweepEntry> entries;
};
