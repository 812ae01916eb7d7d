// The picking ray and the published ray hits of the CollisionManager.
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
