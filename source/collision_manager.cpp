// The CollisionManager's pass and the publication of its results. Picking
// and the two rays live in collision_manager/pick_ray.cpp.
#include "collision_manager.h"

#include <algorithm>
#include <optional>

#include "event_manager.h"
#include "object_manager.h"

namespace {

const Vector kSweepAxis(1.0f, 0.0f, 0.0f, 0.0f);
const Vector kPruneAxis(0.0f, 0.0f, 1.0f, 0.0f);

std::optional<bool> OptionalBool(const Event& event, const char* name) {
    if (!event.Has(name)) return std::nullopt;
    return event.GetParam<bool>(name);
}

bool ByObject(const std::pair<unsigned, unsigned>& entry, unsigned objNum) { return entry.first < objNum; }

}  // namespace

void CollisionManager::Init() {
    RegisterEventClient();
    pickOn.store(false);
    collisionOn.store(true);
    doMultipleContacts.store(false);
    initialised.store(true);
}

void CollisionManager::Kill() {
    initialised.store(false);
    UnregisterEventClient();
}

void CollisionManager::ProcessEvent(const Event& event) {
    if (event.eventType != kSetEvent) return;
    // Every value is read before any is applied, so a mistyped one drops the
    // whole event rather than half of it.
    const std::optional<bool> pick = OptionalBool(event, kPickOn);
    const std::optional<bool> collide = OptionalBool(event, kCollisionOn);
    const std::optional<bool> multiple = OptionalBool(event, kDoMultipleContacts);
    if (pick) pickOn.store(*pick);
    if (collide) collisionOn.store(*collide);
    if (multiple) doMultipleContacts.store(*multiple);
}

void CollisionManager::Update() {
    if (!initialised.load()) return;
    std::lock_guard<std::mutex> pass(passMutex);
    DispatchEvents();
    // One reading of each setting per pass.
    const bool collide = collisionOn.load();
    const bool pick = pickOn.load();
    if (collide || pick) snapshot.Take(*Module<ObjectManager>::Instance());
    if (collide) FindContacts();
    unsigned sightSequence = 0;
    if (pick) RunPickingPass(&sightSequence);
    PublishPass(collide, pick, sightSequence);
}

void CollisionManager::FindContacts() {
    ++contactPasses;
    collisionEvents.clear();
    objectEventIndex.clear();
    const double step = frameClock.timeStep;
    broadPhase.SweepAndPrune(snapshot, kSweepAxis, step, buckets, &kPruneAxis);
    for (CollisionBucket& bucket : buckets) broadPhase.RefineBucket(snapshot, bucket, kPruneAxis, step);
    for (const CollisionBucket& bucket : buckets) CollideBucket(bucket);
    std::sort(objectEventIndex.begin(), objectEventIndex.end());
}

void CollisionManager::CollideBucket(const CollisionBucket& bucket) {
    const CollisionProxy& own = snapshot.proxies[bucket.proxy];
    CollisionEvent event;
    for (unsigned proxy : bucket.collideProxies) {
        if (!satCollision.CollidePair(own, snapshot.proxies[proxy], frameClock, event)) continue;
        const unsigned index = static_cast<unsigned>(collisionEvents.size());
        collisionEvents.push_back(event);
        objectEventIndex.emplace_back(event.objA, index);
        objectEventIndex.emplace_back(event.objB, index);
    }
}

// --- Publication

void CollisionManager::PublishPass(bool foundContacts, bool picked, unsigned sightSequence) {
    std::lock_guard<std::mutex> guard(collisionLock);
    PassResults& to = publishAtPassEnd ? pending : published;
    if (foundContacts) {
        to.events = collisionEvents;
        to.eventIndex = objectEventIndex;
        to.eventPass = contactPasses;
        to.hasEvents = true;
    }
    if (picked) {
        to.pickRecords = rayIntersectRecords;
        to.hasPickRecords = true;
    }
    if (picked && sightSequence != 0) {
        to.sightRecords = sightRecords;
        to.sightSequence = sightSequence;
        to.hasSightRecords = true;
    }
}

void CollisionManager::MoveResults(PassResults& from, PassResults& to) {
    if (from.hasEvents) {
        to.events.swap(from.events);
        to.eventIndex.swap(from.eventIndex);
        to.eventPass = from.eventPass;
        to.hasEvents = true;
        from.hasEvents = false;
    }
    if (from.hasPickRecords) {
        to.pickRecords.swap(from.pickRecords);
        to.hasPickRecords = true;
        from.hasPickRecords = false;
    }
    if (from.hasSightRecords) {
        to.sightRecords.swap(from.sightRecords);
        to.sightSequence = from.sightSequence;
        to.hasSightRecords = true;
        from.hasSightRecords = false;
    }
}

void CollisionManager::PublishAtPassEnd(bool atPassEnd) {
    std::lock_guard<std::mutex> guard(collisionLock);
    publishAtPassEnd = atPassEnd;
    if (!atPassEnd) MoveResults(pending, published);
}

void CollisionManager::EndPass() {
    std::lock_guard<std::mutex> guard(collisionLock);
    MoveResults(pending, published);
}

std::vector<CollisionEvent> CollisionManager::GetCollisionEvents() const {
    std::lock_guard<std::mutex> guard(collisionLock);
    return published.events;
}

unsigned CollisionManager::GetCollisionEvents(std::vector<CollisionEvent>& out) const {
    std::lock_guard<std::mutex> guard(collisionLock);
    out = published.events;
    return published.eventPass;
}

std::vector<CollisionEvent> CollisionManager::GetObjectCollisionEvents(unsigned objNum) const {
    std::lock_guard<std::mutex> guard(collisionLock);
    std::vector<CollisionEvent> events;
    const ObjectEventIndex& index = published.eventIndex;
    for (auto entry = std::lower_bound(index.begin(), index.end(), objNum, ByObject);
         entry != index.end() && entry->first == objNum; ++entry)
        events.push_back(published.events[entry->second]);
    return events;
}
