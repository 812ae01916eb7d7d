#include "geom/shapes.h"

Ray::Ray(const Vector& direction_, const Vector& origin_)
    : direction(direction_), origin(origin_) {}

Vector Ray::Evaluate(float t) const { return origin + direction * t; }

Plane::Plane(const Vector& normal_, const Vector& origin_) : normal(normal_), origin(origin_) {}

Plane::Plane(const Vector& a, const Vector& b, const Vector& c)
    : normal(Cross(b - a, c - a).Norm()), origin(a) {}

float Plane::EvalImplicit(const Vector& p) const { return normal * (p - origin); }

AABB::AABB(const Vector& center_, const Vector& extents_) : center(center_), extents(extents_) {}

BoundingSphere::BoundingSphere() : center(), radius(1.0f) {}

Span::Span(float min_, float max_) : min(min_), max(max_) {}

int Span::Extend(float v) {
    if (v < min) {
        min = v;
        return -1;
    }
    if (v > max) {
        max = v;
        return 1;
    }
    return 0;
}

bool Span::operator<(const Span& other) const { return min < other.min; }

bool SpansOverlap(const Span& a, const Span& b) {
    if (a.min <= b.min) return a.max > b.min;
    return b.max > a.min;
}
