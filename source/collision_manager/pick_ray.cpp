// The two ray slots of the CollisionManager (mouse picking and line of
// sight), the picking pass that answers them and the hits published for them.
#include <algorithm>
#include <cmath>
#include <limits>

#include "collision_manager.h"
#include "system.h"

namespace {

constexpr float kEpsilon = 1e-8f;

// The world-axis box around the object's oriented box.
AABB WorldBoxAround(const CollisionProxy& object) {
    const float inf = std::numeric_limits<float>::infinity();
    Vector low(inf, inf, inf), high(-inf, -inf, -inf);
    for (const Vector& corner : object.obb.Corners()) {
        const Vector world = object.rot.Rotate(corner) + object.trans;
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], world[k]);
            high[k] = std::max(high[k], world[k]);
        }
    }
    return AABB((low + high) * 0.5f, (high - low) * 0.5f);
}

// The nearer parameter at which the ray meets the sphere (negative behind
// the origin); false when it misses.
bool RaySphereParam(const Ray& ray, const Vector& center, float radius, float& t) {
    const Vector& d = ray.direction;
    const Vector oc = ray.origin - center;
    const float a = d * d;
    const float b = 2.0f * (d * oc);
    const float k = oc * oc - radius * radius;
    const float disc = b * b - 4.0f * a * k;
    if (disc < -kEpsilon) return false;
    t = disc > kEpsilon ? (-b - std::sqrt(disc)) / (2.0f * a) : -b / (2.0f * a);
    return true;
}

void TestRay(const Ray& ray, const CollisionSnapshot& snapshot, double time,
             std::vector<RayIntersectRecord>& records) {
    records.clear();
    if (!CollisionManager::IsUsableRay(ray)) return;
    for (const CollisionProxy& object : snapshot.proxies)
        if (object.canBePicked) CollisionManager::TestPickRay(ray, object, time, records);
}

}  // namespace

bool CollisionManager::IsUsableRay(const Ray& ray) {
    const Vector& d = ray.direction;
    const bool hasDirection = std::fabs(d.x) >= kEpsilon || std::fabs(d.y) >= kEpsilon || std::fabs(d.z) >= kEpsilon;
    return hasDirection && IsFinite(ray.direction) && IsFinite(ray.origin);
}

void CollisionManager::TestPickRay(const Ray& ray, const CollisionProxy& object, double time,
                                   std::vector<RayIntersectRecord>& records) {
    float t = 0.0f;
    Vector point;
    if (object.hasOBB) {
        if (!RayIntersectAABB(ray, WorldBoxAround(object), t, point) || !(t > -kEpsilon)) return;
    } else if (object.hasBoundSphere) {
        const Vector c = object.sphereCenter;
        if (!RaySphereParam(ray, Vector(c.x, c.y, c.z), object.boundSphere.radius, t)) return;
        point = ray.Evaluate(t);
    } else {
        return;
    }
    RayIntersectRecord record;
    record.time = time;
    record.rayParam = t;
    record.objNum = object.objNum;
    record.intersectPoint = point;
    record.objPos = QuatVec(object.rot, object.trans);
    records.push_back(record);
}

void CollisionManager::RunPickingPass(unsigned* sightSequence) {
    const double now = Module<System>::Instance()->GetTime();
    TestRay(GetCurrentPickRay(), snapshot, now, rayIntersectRecords);
    const Ray sight = GetSightRay(sightSequence);
    if (*sightSequence != 0) TestRay(sight, snapshot, now, sightRecords);
}

// The main thread writes the rays while the collision thread reads them; the
// lock makes every read see one whole ray, never half of an old one.
void CollisionManager::SetCurrentPickRay(const Ray& ray) {
    std::lock_guard<std::mutex> guard(collisionLock);
    currentPickRay = ray;
}

Ray CollisionManager::GetCurrentPickRay() const {
    std::lock_guard<std::mutex> guard(collisionLock);
    return currentPickRay;
}

std::vector<RayIntersectRecord> CollisionManager::GetRayIntersectRecords() const {
    std::lock_guard<std::mutex> guard(collisionLock);
    return published.pickRecords;
}

void CollisionManager::PublishRayIntersectRecords() {
    std::lock_guard<std::mutex> guard(collisionLock);
    published.pickRecords = rayIntersectRecords;
}

unsigned CollisionManager::SetSightRay(const Ray& ray) {
    std::lock_guard<std::mutex> guard(collisionLock);
    sightRay = ray;
    return ++sightRaySequence;
}

Ray CollisionManager::GetSightRay(unsigned* sequence) const {
    std::lock_guard<std::mutex> guard(collisionLock);
    if (sequence) *sequence = sightRaySequence;
    return sightRay;
}

std::vector<RayIntersectRecord> CollisionManager::GetSightRecords(unsigned* sequence) const {
    std::lock_guard<std::mutex> guard(collisionLock);
    if (sequence) *sequence = published.sightSequence;
    return published.sightRecords;
}

void CollisionManager::PublishSightRecords(const std::vector<RayIntersectRecord>& records, unsigned sequence) {
    std::lock_guard<std::mutex> guard(collisionLock);
    published.sightRecords = records;
    published.sightSequence = sequence;
}
