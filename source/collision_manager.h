// CollisionManager: runs the broad and narrow collision phases on the
// collision thread. Until its own issue builds those, Init, Update and Kill do
// nothing, so start-up, the frame loop and shutdown already call it in its
// final place: Update on the collision thread.
//
// Already real: the picking ray and the ray hits it publishes. The collision
// thread fills rayIntersectRecords during its pass and publishes them at the
// end of its Update; any thread reads the published copy. The ray and the
// published records are guarded by collisionLock, which is never held
// together with the object lock.
#pragma once

#include <mutex>
#include <vector>

#include "geom/geom.h"
#include "module.h"
#include "collision_manager/ray_intersect_record.h"

class CollisionManager : public virtual Module<CollisionManager> {
public:
    CollisionManager() : Module<CollisionManager>("CollisionManager") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // The ray the next picking pass tests; written by mouse picking on the
    // main thread, read by the collision thread. Any thread.
    void SetCurrentPickRay(const Ray& ray);
    Ray GetCurrentPickRay() const;

    // A copy of the last published hits, in the order the pass found them;
    // empty until a pass publishes any. Any thread.
    std::vector<RayIntersectRecord> GetRayIntersectRecords() const;
    // End of a picking pass: publishes rayIntersectRecords as the frame's hits.
    // Collision thread (or a test standing in for it).
    void PublishRayIntersectRecords();

    // The enemies' line-of-sight ray has a slot of its own, so that mouse
    // picking and sight never answer each other's ray. Each SetSightRay
    // returns a new sequence number; the records published for it carry that
    // number, so a reader knows which ray they answer. Any thread.
    unsigned SetSightRay(const Ray& ray);
    // The ray the next pass tests for sight, and its sequence number.
    Ray GetSightRay(unsigned* sequence) const;
    // The last published sight hits; *sequence is the number of the ray they
    // answer (0 until a pass has answered one).
    std::vector<RayIntersectRecord> GetSightRecords(unsigned* sequence) const;
    // End of a pass: publishes the hits found for the sight ray `sequence`.
    void PublishSightRecords(const std::vector<RayIntersectRecord>& records, unsigned sequence);

    // This pass's hits, touched by the collision thread only.
    std::vector<RayIntersectRecord> rayIntersectRecords;

private:
    mutable std::mutex collisionLock;  // guards both rays and their published hits
    Ray currentPickRay;
    std::vector<RayIntersectRecord> publishedRayIntersectRecords;
    Ray sightRay;
    unsigned sightRaySequence = 0;
    unsigned answeredSightSequence = 0;
    std::vector<RayIntersectRecord> publishedSightRecords;
};
