// CollisionManager: finds, once per frame on the collision thread, which
// objects touch and where, and answers the picking rays. Each pass copies the
// objects it reads under one hold of the object lock (CollisionSnapshot),
// sweeps their intervals on X and prunes on Z (BroadPhaseCollisionManager),
// tests each candidate pair (SatCollisionManager), tests the mouse and
// line-of-sight rays against every pickable object, and publishes the pass's
// results as one whole: contacts (CollisionEvent), each object's contacts,
// and the hits of both rays.
//
// Threads: Init and Kill on the main thread; Update and ProcessEvent on the
// collision thread (or a test standing in for it). Scripts may call Update
// and ProcessEvent too: passes take turns (passMutex) and the settings are
// atomic, so such a call waits instead of racing. The getters and the ray
// setters may be called from any thread: the physics thread, the main
// thread's game flow and behaviour, Lua. collisionLock guards both rays and
// the published results; it is never held together with the object lock.
// While the worker lockstep runs, a pass's results become readable at the
// barrier that ends the pass (EndPass), so every reader in a pass sees the
// same list and the physics thread answers each contact once; otherwise they
// are readable as soon as Update returns.
//
// Handles "Set" ("pickOn", "collisionOn", "doMultipleContacts"; each bool
// optional). Sends nothing. Never calls AddGameObject, never holds the object
// lock and collisionLock together.
#pragma once

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "collision_manager/broad_phase.h"
#include "collision_manager/narrow_phase.h"
#include "collision_manager/ray_intersect_record.h"
#include "collision_manager/records.h"
#include "collision_manager/snapshot.h"
#include "collision_manager/volumes.h"
#include "main/frame_clock.h"
#include "geom/geom.h"
#include "module.h"

class CollisionManager : public virtual Module<CollisionManager> {
public:
    static constexpr const char* kSetEvent = "Set";
    static constexpr const char* kPickOn = "pickOn";
    static constexpr const char* kCollisionOn = "collisionOn";
    static constexpr const char* kDoMultipleContacts = "doMultipleContacts";

    // (object number, index into the events), sorted: an object's contacts in
    // the order they were found.
    using ObjectEventIndex = std::vector<std::pair<unsigned, unsigned>>;

    CollisionManager() : Module<CollisionManager>("CollisionManager") {}

    // Registers the client; picking off, collision on, multiple contacts off.
    void Init() override;
    // Nothing before Init or after Kill. Otherwise: the events of this
    // module; the snapshot; while collisionOn the contacts; while pickOn the
    // hits of both rays; then publication.
    void Update() override;
    void Kill() override;
    // "Set": each of the three settings the event carries takes its value. A
    // mistyped value drops the whole event (the dispatch logs it).
    void ProcessEvent(const Event& event) override;

    // The clock the next Update uses (frame start, time step): the worker
    // loop sets the pass's published clock; tests set their own.
    void SetFrameClock(const FrameClock& clock) { frameClock = clock; }
    const FrameClock& GetFrameClock() const { return frameClock; }

    bool IsPickOn() const { return pickOn.load(); }
    bool IsCollisionOn() const { return collisionOn.load(); }
    bool IsDoMultipleContacts() const { return doMultipleContacts.load(); }

    // --- Publication (collision_manager.cpp)
    // While set, results wait for EndPass; clearing it publishes what waits.
    // Main thread, while no worker runs.
    void PublishAtPassEnd(bool atPassEnd);
    // Makes the results of the pass that just ended readable. Run by the
    // lockstep's barrier while every party waits there.
    void EndPass();

    // --- Results (any thread)
    // A copy of the last published contacts, in the order they were found.
    std::vector<CollisionEvent> GetCollisionEvents() const;
    // The same into `out` (reusing its storage); returns the number of the
    // collision pass that found them, 0 before any. A reader that must answer
    // each contact once skips a number it has seen: while collision is off
    // the last list stays published.
    unsigned GetCollisionEvents(std::vector<CollisionEvent>& out) const;
    // The published contacts that name objNum, in the order found; empty for
    // an object without any.
    std::vector<CollisionEvent> GetObjectCollisionEvents(unsigned objNum) const;

    // --- The two rays (collision_manager/pick_ray.cpp; any thread)
    // Mouse picking's ray, tested by every pass while pickOn.
    void SetCurrentPickRay(const Ray& ray);
    Ray GetCurrentPickRay() const;
    // A copy of the last published hits of the mouse ray, in the order the
    // pass found them; empty until a pass publishes any.
    std::vector<RayIntersectRecord> GetRayIntersectRecords() const;
    // Publishes rayIntersectRecords as the mouse ray's hits at once. For a
    // caller standing in for the collision thread.
    void PublishRayIntersectRecords();

    // The enemies' line-of-sight ray has a slot of its own, so that mouse
    // picking and sight never answer each other's ray. Each SetSightRay
    // returns a new sequence number; the records published for it carry that
    // number, so a reader knows which ray they answer. Like the mouse ray it
    // is answered by every pass while pickOn is set (the in-game state sets
    // it when play starts), once a sight ray has been set.
    unsigned SetSightRay(const Ray& ray);
    // The ray the next pass tests for sight, and its sequence number.
    Ray GetSightRay(unsigned* sequence) const;
    // The last published sight hits; *sequence is the number of the ray they
    // answer (0 until a pass has answered one).
    std::vector<RayIntersectRecord> GetSightRecords(unsigned* sequence) const;
    // Publishes the hits found for the sight ray `sequence` at once.
    void PublishSightRecords(const std::vector<RayIntersectRecord>& records, unsigned sequence);

    // Appends at most one record for the object's oriented box (as a world
    // axis-aligned box, a hit ahead of the origin) or else its bounding
    // sphere (the nearer root, also behind the origin). `time` stamps it.
    static void TestPickRay(const Ray& ray, const CollisionProxy& object, double time,
                            std::vector<RayIntersectRecord>& records);
    // Whether a ray can hit anything: finite, with a direction.
    static bool IsUsableRay(const Ray& ray);

    // --- The narrow phase of one bucket of the current snapshot (collision
    // thread): appends to collisionEvents and objectEventIndex.
    void CollideBucket(const CollisionBucket& bucket);

    // --- Collision volumes, as the game flow and scripts call them.
    void GenerateBoundingSphere(GameObject& object) { collision::GenerateBoundingSphere(object); }
    void GenerateAxesFromMesh(GameObject& object) { collision::GenerateAxesFromMesh(object); }
    AABB BuildAABB(const Mesh& mesh, float scale) { return collision::BuildAABB(mesh, scale); }
    OBB BuildOBB(const Mesh& mesh, float scale) { return collision::BuildOBB(mesh, scale); }
    std::vector<ConvexPolygon> BuildCollisionMesh(const Mesh& mesh, float scale) {
        return collision::BuildCollisionMesh(mesh, scale);
    }
    std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q) {
        return collision::TransformVerts(verts, q);
    }

    // The working lists of the current pass: collision thread only.
    SatCollisionManager satCollision;
    BroadPhaseCollisionManager broadPhase;
    CollisionSnapshot snapshot;
    std::vector<CollisionBucket> buckets;
    std::vector<CollisionEvent> collisionEvents;
    ObjectEventIndex objectEventIndex;
    std::vector<RayIntersectRecord> rayIntersectRecords;  // the mouse ray's hits
    std::vector<RayIntersectRecord> sightRecords;

private:
    // What a pass hands to readers. The has* flags say which parts a pass
    // produced; parts it did not produce keep their last published value.
    struct PassResults {
        std::vector<CollisionEvent> events;
        ObjectEventIndex eventIndex;
        unsigned eventPass = 0;
        bool hasEvents = false;
        std::vector<RayIntersectRecord> pickRecords;
        bool hasPickRecords = false;
        std::vector<RayIntersectRecord> sightRecords;
        unsigned sightSequence = 0;
        bool hasSightRecords = false;
    };

    void FindContacts();
    // Both rays against the snapshot; *sightSequence is the number of the
    // sight ray answered (0 when none has been set).
    void RunPickingPass(unsigned* sightSequence);
    void PublishPass(bool foundContacts, bool picked, unsigned sightSequence);
    static void MoveResults(PassResults& from, PassResults& to);

    std::atomic<bool> initialised{false};
    std::atomic<bool> pickOn{false};
    std::atomic<bool> collisionOn{true};
    // Stored only: every test records at most one contact per pair.
    std::atomic<bool> doMultipleContacts{false};
    std::mutex passMutex;  // one pass at a time; guards the working lists
    FrameClock frameClock;
    unsigned contactPasses = 0;       // collision passes run so far

    mutable std::mutex collisionLock;  // guards everything below
    bool publishAtPassEnd = false;
    PassResults pending;    // waiting for EndPass
    PassResults published;  // what the getters read
    Ray currentPickRay;
    Ray sightRay;
    unsigned sightRaySequence = 0;
};
