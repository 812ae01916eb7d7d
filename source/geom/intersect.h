// The picking tests: a ray against a plane and against an axis-aligned box.
// Pure functions, any thread.
#pragma once

#include "geom/shapes.h"
#include "geom/vector.h"

// True when the ray meets the plane at t > -1e-8; then point = ray.Evaluate(t).
// A ray parallel to the plane leaves t and point untouched; a plane behind
// the origin returns false with t already written.
bool RayPlaneIntersect(const Ray& ray, const Plane& plane, float& t, Vector& point);

// Slab test. On a hit t is the entry distance, or the exit distance when the
// ray starts inside the box, and point = origin + t*direction.
bool RayIntersectAABB(const Ray& ray, const AABB& box, float& t, Vector& point);
