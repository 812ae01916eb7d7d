#include "collision_manager/broad_phase.h"

#include <algorithm>
#include <limits>

#include "objects/collision_comp.h"

namespace {

// The factor of the span's sweep: the single-precision value of 1.05.
constexpr double kSweepSteps = 1.0499999523162842;

// Inline: the span of every object is made each pass, on two axes.
float Dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Equal mins go by object number, not by the table's order: the order of the
// contacts then never depends on how the table happens to be laid out, and a
// simulation replayed with other object numbers gives the same results.
bool SortsBefore(float minA, unsigned objA, float minB, unsigned objB) {
    return minA < minB || (minA == minB && objA < objB);
}

void SortByMin(std::vector<ObjectSpan>& spans) {
    std::sort(spans.begin(), spans.end(), [](const ObjectSpan& a, const ObjectSpan& b) {
        return SortsBefore(a.min, a.objNum, b.min, b.objNum);
    });
}

// The candidate rule on one axis: `other` overlaps `own` by more than a
// point. Without branches, as the sweep's inner loop runs it most often.
bool Overlaps(float ownMin, float ownMax, float otherMin, float otherMax) {
    return ((otherMin <= ownMin) & (otherMax > ownMin)) | ((otherMin > ownMin) & (otherMin < ownMax));
}

// The object's own interval on the axis: its sphere, never swept.
Span SphereSpan(const CollisionProxy& object, const Vector& axis) {
    const float c = Dot(axis, object.sphereCenter);
    return Span(c - object.boundSphere.radius, c + object.boundSphere.radius);
}

void StartBucket(CollisionBucket& bucket, const ObjectSpan& span) {
    bucket.objNum = span.objNum;
    bucket.category = span.category;
    bucket.collidesWith = span.collidesWith;
    bucket.proxy = span.proxy;
    bucket.collideList.clear();
    bucket.collideProxies.clear();
}

}  // namespace

ObjectSpan BroadPhaseCollisionManager::MakeObjectSpan(const CollisionProxy& object, unsigned proxy,
                                                      const Vector& axis, double timeStep) {
    const Span sphere = SphereSpan(object, axis);
    ObjectSpan span(object.objNum, object.category, object.collidesWith, sphere.min, sphere.max);
    span.proxy = proxy;
    if (object.isShot) {
        const float k = static_cast<float>(timeStep * kSweepSteps);
        const Vector& v = object.linearVel;
        const float s = Dot(axis, Vector(v.x * k, v.y * k, v.z * k));
        if (s < 0.0f)
            span.min += s;
        else
            span.max += s;
    }
    return span;
}

const std::vector<ObjectSpan>& BroadPhaseCollisionManager::SpansByPlace(const CollisionSnapshot& snapshot,
                                                                       const Vector& axis, double timeStep) {
    auto matches = [&](const AxisSpans& cached) {
        return cached.generation == snapshot.generation && cached.timeStep == timeStep && cached.axis.x == axis.x &&
               cached.axis.y == axis.y && cached.axis.z == axis.z;
    };
    const int hit = matches(axisSpans[0]) ? 0 : matches(axisSpans[1]) ? 1 : -1;
    const int slot = hit >= 0 ? hit : (axisSpans[0].recent ? 1 : 0);
    AxisSpans& cached = axisSpans[slot];
    axisSpans[slot].recent = true;
    axisSpans[1 - slot].recent = false;
    if (hit >= 0) return cached.byPlace;
    cached.byPlace.clear();
    cached.byPlace.reserve(snapshot.proxies.size());
    for (size_t i = 0; i < snapshot.proxies.size(); ++i)
        cached.byPlace.push_back(MakeObjectSpan(snapshot.proxies[i], static_cast<unsigned>(i), axis, timeStep));
    cached.generation = snapshot.generation;
    cached.axis = axis;
    cached.timeStep = timeStep;
    return cached.byPlace;
}

// Sorting small keys and gathering afterwards moves twelve bytes per swap
// instead of a whole span.
void BroadPhaseCollisionManager::BuildSpans(const CollisionSnapshot& snapshot, const Vector& axis,
                                            double timeStep, std::vector<ObjectSpan>& sorted) {
    const std::vector<ObjectSpan>& byPlace = SpansByPlace(snapshot, axis, timeStep);
    keys.clear();
    for (const ObjectSpan& span : byPlace) keys.push_back({span.min, span.objNum, span.proxy});
    std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        return SortsBefore(a.min, a.objNum, b.min, b.objNum);
    });
    sorted.clear();
    for (const SortKey& key : keys) sorted.push_back(byPlace[key.place]);
}

void BroadPhaseCollisionManager::BuildSpansForList(const CollisionSnapshot& snapshot,
                                                   const std::vector<unsigned>& proxies, const Vector& axis,
                                                   double timeStep, const Span& within,
                                                   std::vector<ObjectSpan>& spans) {
    const std::vector<ObjectSpan>& byPlace = SpansByPlace(snapshot, axis, timeStep);
    spans.clear();
    for (unsigned proxy : proxies)
        if (IsCandidate(within, byPlace[proxy])) spans.push_back(byPlace[proxy]);
    SortByMin(spans);
}

bool BroadPhaseCollisionManager::IsCandidate(const Span& own, const Span& other) {
    return Overlaps(own.min, own.max, other.min, other.max);
}

void BroadPhaseCollisionManager::SweepAndPrune(const CollisionSnapshot& snapshot, const Vector& axis,
                                               double timeStep, std::vector<CollisionBucket>& buckets,
                                               const Vector* pruneAxis) {
    BuildSpans(snapshot, axis, timeStep, spans);
    const float inf = std::numeric_limits<float>::infinity();
    entries.clear();
    for (const ObjectSpan& span : spans) entries.push_back({span.min, span.max, span.category, span.collidesWith, -inf, inf});
    if (pruneAxis) {
        const std::vector<ObjectSpan>& acrossByPlace = SpansByPlace(snapshot, *pruneAxis, timeStep);
        for (size_t i = 0; i < spans.size(); ++i) {
            entries[i].acrossMin = acrossByPlace[spans[i].proxy].min;
            entries[i].acrossMax = acrossByPlace[spans[i].proxy].max;
        }
    }
    buckets.resize(spans.size());
    for (size_t a = 0; a < spans.size(); ++a) {
        StartBucket(buckets[a], spans[a]);
        Span own(-inf, inf);
        if (pruneAxis) own = SphereSpan(snapshot.proxies[spans[a].proxy], *pruneAxis);
        FillBucket(a, own.min, own.max, buckets[a]);
    }
}

void BroadPhaseCollisionManager::FillBucket(size_t a, float ownMin, float ownMax, CollisionBucket& bucket) const {
    const SweepEntry& own = entries[a];
    // Spans are sorted, so the first one that no longer overlaps ends the
    // candidates of this one. The tests are combined without branches: few
    // pairs pass them all.
    for (size_t b = a + 1; b < entries.size(); ++b) {
        const SweepEntry& other = entries[b];
        if (!Overlaps(own.min, own.max, other.min, other.max)) break;
        const bool filtered = CollisionFiltersMatch(own.category, own.collidesWith, other.category, other.collidesWith);
        if (filtered & Overlaps(ownMin, ownMax, other.acrossMin, other.acrossMax)) {
            bucket.collideList.push_back(spans[b].objNum);
            bucket.collideProxies.push_back(spans[b].proxy);
        }
    }
}

void BroadPhaseCollisionManager::RefineBucket(const CollisionSnapshot& snapshot, CollisionBucket& bucket,
                                              const Vector& axis, double timeStep) {
    if (bucket.collideProxies.empty()) return;
    const Span own = SphereSpan(snapshot.proxies[bucket.proxy], axis);
    BuildSpansForList(snapshot, bucket.collideProxies, axis, timeStep, own, spans);
    bucket.collideList.clear();
    bucket.collideProxies.clear();
    for (const ObjectSpan& span : spans) {
        bucket.collideList.push_back(span.objNum);
        bucket.collideProxies.push_back(span.proxy);
    }
}
