// Geometric records built on Vector: Ray, Plane, AABB, BoundingSphere and the
// one-dimensional Span of the collision broad phase. Plain values, any thread.
#pragma once

#include "geom/vector.h"

struct Ray {
    Vector direction;
    Vector origin;

    // Direction first, then origin.
    Ray(const Vector& direction = Vector(), const Vector& origin = Vector());
    // origin + t*direction over all four components.
    Vector Evaluate(float t) const;
};

struct Plane {
    Vector normal;
    Vector origin;  // a point on the plane

    Plane(const Vector& normal = Vector(), const Vector& origin = Vector());
    // Through three points: normal = Norm(Cross(b - a, c - a)) (w = 0), facing
    // the side from which a, b, c run counter-clockwise; origin = a.
    Plane(const Vector& a, const Vector& b, const Vector& c);
    // normal . (p - origin) over x, y, z: signed distance times |normal|.
    float EvalImplicit(const Vector& p) const;
};

struct AABB {
    Vector center;
    Vector extents;  // half sizes along x, y, z

    AABB(const Vector& center = Vector(), const Vector& extents = Vector());
};

struct BoundingSphere {
    Vector center;
    float radius;

    // Centre (0, 0, 0, 0), radius 1.
    BoundingSphere();
};

// An interval on one axis; ObjectSpan derives from it.
struct Span {
    virtual ~Span() = default;
    Span(const Span&) = default;
    Span& operator=(const Span&) = default;

    float min;
    float max;

    Span(float min = 0.0f, float max = 0.0f);
    // Widens the span to hold v: -1 when v became min, 1 when it became max,
    // 0 when it was already inside.
    int Extend(float v);
    bool operator<(const Span& other) const;  // by min
};

// True when the spans overlap by more than a point (touching is no overlap).
bool SpansOverlap(const Span& a, const Span& b);
