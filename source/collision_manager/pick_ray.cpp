// The two ray slots of the CollisionManager (mouse picking and line of
// sight) and the hits published for them.
#include "collision_manager.h"

// The main thread writes the ray while the collision thread reads it; the
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
    return publishedRayIntersectRecords;
}

void CollisionManager::PublishRayIntersectRecords() {
    std::lock_guard<std::mutex> guard(collisionLock);
    publishedRayIntersectRecords = rayIntersectRecords;
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
    if (sequence) *sequence = answeredSightSequence;
    return publishedSightRecords;
}

void CollisionManager::PublishSightRecords(const std::vector<RayIntersectRecord>& records, unsigned sequence) {
    std::lock_guard<std::mutex> guard(collisionLock);
    publishedSightRecords = records;
    answeredSightSequence = sequence;
}
