#include "collision_manager/broad_phase.h"

#include <algorithm>

namespace {

// The factor of the span's sweep: the single-precision value of 1.05.
constexpr double kSweepSteps = 1.0499999523162842;

bool ByMin(const ObjectSpan& a, const ObjectSpan& b) { return a.min < b.min; }

bool FiltersMatch(const ObjectSpan& a, const ObjectSpan& b) {
    return (a.category & b.collidesWith) != 0 || (a.collidesWith & b.category) != 0;
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
    const float c = axis * object.sphereCenter;
    const float r = object.boundSphere.radius;
    ObjectSpan span(object.objNum, object.category, object.collidesWith, c - r, c + r);
    span.proxy = proxy;
    if (object.isShot) {
        const float k = static_cast<float>(timeStep * kSweepSteps);
        const float s = axis * (object.linearVel * k);
        if (s < 0.0f)
            span.min += s;
        else
            span.max += s;
    }
    return span;
}

void BroadPhaseCollisionManager::BuildSpans(const CollisionSnapshot& snapshot, const Vector& axis,
                                            double timeStep, std::vector<ObjectSpan>& spans) {
    spans.clear();
    spans.reserve(snapshot.proxies.size());
    for (size_t i = 0; i < snapshot.proxies.size(); ++i)
        spans.push_back(MakeObjectSpan(snapshot.proxies[i], static_cast<unsigned>(i), axis, timeStep));
    std::sort(spans.begin(), spans.end(), ByMin);
}

void BroadPhaseCollisionManager::BuildSpansForList(const CollisionSnapshot& snapshot,
                                                   const std::vector<unsigned>& proxies, const Vector& axis,
                                                   double timeStep, const Span& within,
                                                   std::vector<ObjectSpan>& spans) {
    spans.clear();
    for (unsigned proxy : proxies) {
        const ObjectSpan span = MakeObjectSpan(snapshot.proxies[proxy], proxy, axis, timeStep);
        if (IsCandidate(within, span)) spans.push_back(span);
    }
    std::sort(spans.begin(), spans.end(), ByMin);
}

bool BroadPhaseCollisionManager::IsCandidate(const Span& own, const Span& other) {
    if (other.min <= own.min) return other.max > own.min;
    return other.min < own.max;
}

void BroadPhaseCollisionManager::SweepAndPrune(const CollisionSnapshot& snapshot, const Vector& axis,
                                               double timeStep, std::vector<CollisionBucket>& buckets) {
    BuildSpans(snapshot, axis, timeStep, spans);
    buckets.resize(spans.size());
    for (size_t a = 0; a < spans.size(); ++a) {
        const ObjectSpan& own = spans[a];
        CollisionBucket& bucket = buckets[a];
        StartBucket(bucket, own);
        // Spans are sorted, so the first one that no longer overlaps ends the
        // candidates of this one.
        for (size_t b = a + 1; b < spans.size() && IsCandidate(own, spans[b]); ++b) {
            if (!FiltersMatch(own, spans[b])) continue;
            bucket.collideList.push_back(spans[b].objNum);
            bucket.collideProxies.push_back(spans[b].proxy);
        }
    }
}

void BroadPhaseCollisionManager::RefineBucket(const CollisionSnapshot& snapshot, CollisionBucket& bucket,
                                              const Vector& axis, double timeStep) {
    const CollisionProxy& own = snapshot.proxies[bucket.proxy];
    const float c = axis * own.sphereCenter;
    const float r = own.boundSphere.radius;
    BuildSpansForList(snapshot, bucket.collideProxies, axis, timeStep, Span(c - r, c + r), spans);
    bucket.collideList.clear();
    bucket.collideProxies.clear();
    for (const ObjectSpan& span : spans) {
        bucket.collideList.push_back(span.objNum);
        bucket.collideProxies.push_back(span.proxy);
    }
}
