// SpawnManager: releases enemy objects at spawn points, one per point at a
// time with a fixed delay between releases. It keeps only the names of the
// spawn-point objects, in registration order; each point's countdown, delay,
// direction and queue of pattern names live in its SpawnComp. The object
// factory registers a spawn point each time it stamps a spawn section (level
// objects, and released objects whose own pattern has one).
//
// A point's queue is a stack: new names go to the back and the release takes
// the back. A fresh point waits one whole delay before its first release.
// Entries whose object has gone, is dead or lacks a SpawnComp are skipped,
// and are not counted when a wave is shared out.
//
// Threads: main thread. Update holds the object lock from its first step to
// its last, except around each AddGameObject (which takes the lock itself);
// ProcessEvent runs inside it. AddSpawnPoint is called while objects are
// stamped: on the main thread or on the level loader's thread, always with the
// object lock held, which also guards spawnPoints. Released objects become
// visible to the worker threads as soon as they are registered, before they
// are stamped and placed.
//
// Events (client "SpawnManager"): "Add Object" ("number" int, "spawnPoint"
// string, "pattern" string) and "Distribute Objects" ("number" int, "pattern"
// string). Either may carry "loadGeneration" (int): an event stamped before
// the latest level-load start (a timed wave still in flight when the level
// was left) is dropped with a log line. It sends none. Update does nothing
// before Init or after Kill.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "geom/geom.h"
#include "module.h"

class Event;
class GameObject;
class ObjectLock;
class SpawnComp;

class SpawnManager : public virtual Module<SpawnManager> {
public:
    static constexpr const char* kAddObject = "Add Object";
    static constexpr const char* kDistributeObjects = "Distribute Objects";
    static constexpr const char* kParamNumber = "number";
    static constexpr const char* kParamSpawnPoint = "spawnPoint";
    static constexpr const char* kParamPattern = "pattern";
    static constexpr const char* kParamLoadGeneration = "loadGeneration";
    static constexpr const char* kNoSpawnPoints = "Can't spawn object, no spawn points";
    // One event queues at most this many objects: a typo or a hostile script
    // must not queue billions of names.
    static constexpr int kMaxObjectsPerEvent = 1000;
    // A countdown below this is due (the single-precision 1e-8, as a double).
    static constexpr double kReleaseThreshold = double(1e-8f);

    SpawnManager() : Module<SpawnManager>("SpawnManager") {}

    void Init() override;
    // Under the object lock: the events, then one countdown step or release
    // per spawn-point entry. Main thread, not while paused.
    void Update() override;
    void Kill() override;
    // "Add Object" and "Distribute Objects"; anything else is ignored. A
    // malformed event throws out to the module's dispatch, which drops it
    // with a warning. Caller holds the object lock (Update does).
    void ProcessEvent(const Event& event) override;

    // Appends name to spawnPoints; no test for duplicates or for the object.
    // Caller holds the object lock.
    void AddSpawnPoint(const std::string& name) { spawnPoints.push_back(name); }
    // Forgets every spawn point (a level load starts with only its own) and
    // starts a new load generation. TAKES THE OBJECT LOCK ITSELF: never call
    // it while holding it.
    void ClearSpawnPoints();
    // The number of ClearSpawnPoints calls so far: senders stamp an event
    // with it as "loadGeneration" to tie it to the level now loaded.
    int LoadGeneration() const { return loadGeneration.load(); }

    std::vector<std::string> spawnPoints;  // object names; a name may stand twice

private:
    // What a due spawn point releases, copied out while the lock is held.
    struct Release {
        std::string pattern;
        Vector pointTrans;
        Vector spawnDir;
    };

    // False (and logged) for an event stamped with an older generation.
    bool IsCurrent(const Event& event) const;
    void AddObject(const Event& event);
    void DistributeObjects(const Event& event);
    // The queue of a live spawn point named `name`, or null when the object
    // is missing or dead or has no SpawnComp. Object lock held.
    SpawnComp* LiveSpawnComp(const std::string& name) const;
    // One entry's countdown step; the release it is due for, if any.
    std::optional<Release> CountDown(const std::string& name);
    // Registers (with the lock released around AddGameObject), stamps and
    // places one object. `lock` is held on entry and on return.
    void ReleaseObject(const Release& release, std::optional<ObjectLock>& lock);
    void StampReleased(GameObject& object, const std::string& name, const Release& release);

    bool initialised = false;
    std::atomic<int> loadGeneration{0};
};
