// The broad phase: the sweep and its filter, the prune on Z, and an oracle
// that checks whole passes over random scenes (fast shots among them, whose
// spans reach ahead along their motion) against every pair tested by brute
// force.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/collision_scene.h"

namespace {

using test_support::AddToScene;
using test_support::SceneObject;

using PairList = std::vector<std::pair<unsigned, unsigned>>;
using EventMap = std::map<std::pair<unsigned, unsigned>, CollisionEvent>;

const Vector kX(1, 0, 0, 0);
const Vector kZ(0, 0, 1, 0);

class BroadPhase : public test_support::CollisionScene {
protected:
    // Every listed pair of one sweep on X (refined on Z when asked), as
    // (first object, candidate) numbers; `buckets` counts the buckets.
    PairList Pairs(bool refine = false, size_t* buckets = nullptr) {
        CollisionSnapshot snapshot;
        snapshot.Take(test_support::SceneObjects());
        std::vector<CollisionBucket> swept;
        BroadPhaseCollisionManager broad;
        broad.SweepAndPrune(snapshot, kX, 0.1, swept);
        PairList pairs;
        for (CollisionBucket& bucket : swept) {
            if (refine) broad.RefineBucket(snapshot, bucket, kZ, 0.1);
            for (unsigned other : bucket.collideList) pairs.emplace_back(bucket.objNum, other);
        }
        if (buckets) *buckets = swept.size();
        return pairs;
    }
};

TEST_F(BroadPhase, PairsOverlapOnXByMoreThanAPointAndPassTheFilterEitherWay) {
    struct Case { const char* what; float bx; unsigned maskA[2]; unsigned maskB[2]; bool candidate; };
    const Case cases[] = {
        {"touching", 2.0f, {1, 1}, {1, 1}, false},
        {"overlapping", 1.99f, {1, 1}, {1, 1}, true},
        {"A's category in B's collidesWith", 1.0f, {1, 0}, {0, 1}, true},
        {"B's category in A's collidesWith", 1.0f, {0, 1}, {1, 0}, true},
        {"no shared bit either way", 0.0f, {1, 2}, {4, 8}, false},
    };
    for (const Case& c : cases) {
        test_support::ClearScene();
        const unsigned a = AddToScene(SceneObject("a").Masks(c.maskA[0], c.maskA[1]));
        const unsigned b = AddToScene(SceneObject("b").At(c.bx, 0, 5).Masks(c.maskB[0], c.maskB[1]));
        size_t buckets = 0;
        EXPECT_EQ((c.candidate ? PairList{{a, b}} : PairList()), Pairs(false, &buckets)) << c.what;
        EXPECT_EQ(2u, buckets) << c.what << ": every object has a bucket";
    }
}

TEST_F(BroadPhase, TheZPruneKeepsOverlapsInZOrderAndDeadObjectsHaveNoBucket) {
    const unsigned wide = AddToScene(SceneObject("wide").Sphere(10));
    AddToScene(SceneObject("far").At(1, 0, 12).Sphere(1));
    const unsigned high = AddToScene(SceneObject("high").At(2, 0, 4).Sphere(1));
    const unsigned low = AddToScene(SceneObject("low").At(3, 0, -4).Sphere(1));
    AddToScene(SceneObject("gone").At(4, 0, 0).Sphere(1));
    {
        ObjectLock lock;
        test_support::SceneObjects().KillGameObject(*test_support::SceneObjects().GetGameObject("gone"));
    }
    size_t buckets = 0;
    const PairList pairs = Pairs(true, &buckets);
    EXPECT_EQ(4u, buckets);
    EXPECT_EQ((PairList{{wide, low}, {wide, high}}), pairs) << "far is pruned";
}

// --- Oracle

// The reference: every pair of live objects, the span rules on X (the pair's
// first object is the one whose span starts lower) and on Z (its sphere
// against the other's span), the filter both ways, then the narrow phase.
EventMap BruteForce(const CollisionSnapshot& snapshot, const FrameClock& clock) {
    auto overlaps = [](const Span& own, const Span& other) {
        return !((other.min <= own.min && other.max <= own.min) || (other.min > own.min && own.max <= other.min));
    };
    auto span = [&clock](const CollisionProxy& p, const Vector& axis, bool swept) {
        const float c = axis * p.sphereCenter;
        Span s(c - p.boundSphere.radius, c + p.boundSphere.radius);
        const float reach = axis * (p.linearVel * static_cast<float>(clock.timeStep * 1.0499999523162842));
        if (swept && p.isShot) (reach < 0 ? s.min : s.max) += reach;
        return s;
    };
    SatCollisionManager narrow;
    EventMap events;
    const std::vector<CollisionProxy>& all = snapshot.proxies;
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j) {
            const bool iFirst = span(all[i], kX, true).min < span(all[j], kX, true).min;
            const CollisionProxy& a = iFirst ? all[i] : all[j];
            const CollisionProxy& b = iFirst ? all[j] : all[i];
            CollisionEvent event;
            if (overlaps(span(a, kX, true), span(b, kX, true)) &&
                ((a.category & b.collidesWith) != 0 || (a.collidesWith & b.category) != 0) &&
                overlaps(span(a, kZ, false), span(b, kZ, true)) && narrow.CollidePair(a, b, clock, event))
                events[{event.objA, event.objB}] = event;
        }
    }
    return events;
}

TEST_F(BroadPhase, PassesFindTheSameContactsAsEveryPairTestedByBruteForce) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto centred = [&] { return unit(random) - 0.5f; };
    const unsigned masks[] = {1, 2, 3, 4, 5};
    size_t compared = 0;
    for (int scene = 0; scene < 12; ++scene) {
        test_support::ClearScene();
        for (int n = 0; n < 150; ++n) {
            SceneObject spec("o" + std::to_string(n));
            spec.At(unit(random) * 60, unit(random) * 10, unit(random) * 60)
                .Masks(masks[random() % 5], masks[random() % 5]);
            const float size = 0.5f + unit(random) * 3;
            const float kind = unit(random);
            if (kind < 0.4f) {
                spec.Sphere(size);
            } else if (kind < 0.8f) {
                spec.Sphere(size * 1.8f).Box(size, size * 0.7f, size * 0.5f,
                                             Quaternion(centred(), Vector(centred(), centred(), centred())).Norm());
                if (unit(random) < 0.5f) spec.AxisBox(size, size, size);
            } else {
                spec.Sphere(0.2f).Shot().Moving(centred() * 1200, 0, centred() * 1200);
            }
            if (unit(random) < 0.3f) spec.Moving(unit(random) * 30, 0, unit(random) * 30);
            AddToScene(spec);
        }
        collision.Update();
        CollisionSnapshot snapshot;
        snapshot.Take(test_support::SceneObjects());
        const EventMap expected = BruteForce(snapshot, collision.GetFrameClock());
        const std::vector<CollisionEvent> found = collision.GetCollisionEvents();
        EventMap actual;
        for (const CollisionEvent& event : found) actual[{event.objA, event.objB}] = event;
        EXPECT_EQ(found.size(), actual.size()) << "one event per pair";
        ASSERT_EQ(expected.size(), actual.size()) << "scene " << scene;
        for (const auto& [pair, want] : expected) {
            const auto match = actual.find(pair);
            ASSERT_NE(match, actual.end()) << "scene " << scene << ": " << pair.first << "/" << pair.second;
            const CollisionEvent& got = match->second;
            EXPECT_NEAR(want.depth, got.depth, 1e-4f);
            EXPECT_NEAR(want.time, got.time, 1e-9);
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(want.contactNormal[k], got.contactNormal[k], 1e-4f);
                EXPECT_NEAR(want.contactPoint[k], got.contactPoint[k], 1e-4f);
                EXPECT_NEAR(want.contactA[k], got.contactA[k], 1e-4f);
            }
        }
        compared += expected.size();
    }
    EXPECT_GT(compared, 200u) << "the scenes must be dense enough to matter";
}

}  // namespace
