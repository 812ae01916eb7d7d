#include "geom/intersect.h"

#include <cmath>
#include <utility>

namespace {

constexpr float kEpsilon = 1e-8f;
constexpr float kLargest = 3.4028235e38f;

}  // namespace

bool RayPlaneIntersect(const Ray& ray, const Plane& plane, float& t, Vector& point) {
    const float d = plane.normal * ray.direction;
    if (std::fabs(d) <= kEpsilon) return false;
    t = plane.normal * (plane.origin - ray.origin) / d;
    if (t <= -kEpsilon) return false;
    point = ray.Evaluate(t);
    return true;
}

bool RayIntersectAABB(const Ray& ray, const AABB& box, float& t, Vector& point) {
    float tmin = -kLargest;
    float tmax = kLargest;
    for (int k = 0; k < 3; ++k) {
        const float dir = ray.direction[k];
        const float org = ray.origin[k];
        const float low = box.center[k] - box.extents[k];
        const float high = box.center[k] + box.extents[k];
        if (std::fabs(dir) < kEpsilon) {
            if (org < low - kEpsilon || org > high + kEpsilon) return false;
            continue;
        }
        float t1 = (low - org) / dir;
        float t2 = (high - org) / dir;
        if (t1 > t2) std::swap(t1, t2);
        if (t1 > tmin) tmin = t1;
        if (t2 < tmax) tmax = t2;
        if (tmin > tmax) return false;
        if (tmax < -kEpsilon) return false;
    }
    t = tmin > -kEpsilon ? tmin : tmax;
    point = ray.origin + ray.direction * t;
    return true;
}
