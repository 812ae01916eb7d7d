// The records of the collision pipeline: an object's interval on a sweep
// axis (ObjectSpan), the candidates of one object (CollisionBucket), one
// contact (CollisionEvent), and the work records of the separating-axis test
// of two boxes (SATData, AxisOverlap). Plain values copied between threads;
// none holds a pointer into the object table.
#pragma once

#include <vector>

#include "geom/geom.h"
#include "geom/vector_set.h"

// An object's interval on one axis. Ordered by min ascending (Span).
struct ObjectSpan : Span {
    ObjectSpan(unsigned objNum = 0, unsigned category = 0, unsigned collidesWith = 0,
               float min = 0.0f, float max = 0.0f)
        : Span(min, max), objNum(objNum), category(category), collidesWith(collidesWith) {}

    unsigned objNum;
    unsigned category;
    unsigned collidesWith;
    unsigned proxy = 0;  // the object's place in the pass's snapshot
};

// One object and the objects it is to be tested against. A candidate pair
// is listed once, in the bucket of the object whose span sorts first.
struct CollisionBucket {
    unsigned objNum = 0;
    std::vector<unsigned> collideList;  // object numbers of the candidates
    unsigned category = 0;
    unsigned collidesWith = 0;
    // The same objects as places in the pass's snapshot, in collideList's
    // order, so the tests never look an object up by number.
    unsigned proxy = 0;
    std::vector<unsigned> collideProxies;
};

// One contact between two objects. A shot's contact always names the shot as
// objA. Fields in this order; the constructor zeroes the vectors and
// rotations, every producer sets the rest.
struct CollisionEvent {
    double time = 0.0;       // frame start, or frame start + t * time step when swept
    unsigned objA = 0;
    unsigned objB = 0;
    bool resolveContact = false;  // both objects' CollisionComps ask for a push-out
    Vector transA;
    Vector transB;
    Quaternion rotA;
    Quaternion rotB;
    float depth = 0.0f;      // penetration, or 1 - t for a swept contact (may be negative)
    Vector contactPoint;
    Vector contactA;         // box test only
    Vector contactB;         // box test only
    Vector contactNormal;    // unit; from A towards B, or against a shot's motion
};

// The work record of one box pair: the common frame both boxes are expressed
// in, the candidate axes and both boxes' corners in that frame.
struct SATData {
    int commonFrameName = 0;  // 0: object A's frame, 1: object B's
    QuatVec commonFrame;
    VectorSet axes{1e-8f};
    std::vector<Vector> vertsA;
    std::vector<Vector> vertsB;
};

// Both boxes projected on one candidate axis, and how far they would have to
// move apart along it.
struct AxisOverlap {
    Span spanA;
    Span spanB;
    int minCornerA = 0;
    int maxCornerA = 0;
    int minCornerB = 0;
    int maxCornerB = 0;
    int chosenCornerA = 0;
    int chosenCornerB = 0;
    Vector axis;   // oriented from A's side towards B's
    float depth = 0.0f;
};
