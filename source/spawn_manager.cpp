#include "spawn_manager.h"

#include <algorithm>
#include <exception>

#include "event_manager.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "system.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

// "number" as read, capped with a warning; zero or less queues nothing.
int CappedNumber(const Event& event) {
    const int number = event.GetParam<int>(SpawnManager::kParamNumber);
    if (number <= SpawnManager::kMaxObjectsPerEvent) return number;
    Sys().Warning(SOURCE_POS + "\"" + event.eventType + "\" asks for " + std::to_string(number) +
                  " objects; capped at " + std::to_string(SpawnManager::kMaxObjectsPerEvent) + "\n");
    return SpawnManager::kMaxObjectsPerEvent;
}

void Push(SpawnComp& spawn, const std::string& pattern, int times) {
    for (int i = 0; i < times; ++i) spawn.patternQueue.push_back(pattern);
}

}  // namespace

void SpawnManager::Init() {
    RegisterEventClient();
    initialised = true;
}

void SpawnManager::Kill() {
    if (initialised) UnregisterEventClient();
    initialised = false;
}

void SpawnManager::ClearSpawnPoints() {
    ObjectLock lock;
    spawnPoints.clear();
    ++loadGeneration;
}

void SpawnManager::Update() {
    if (!initialised) return;
    std::optional<ObjectLock> lock(std::in_place);
    DispatchEvents();
    // By index: a released object with a spawn section appends to the list
    // while it is walked. The name is copied for the same reason.
    for (std::size_t i = 0; i < spawnPoints.size(); ++i) {
        const std::string name = spawnPoints[i];
        if (std::optional<Release> release = CountDown(name)) ReleaseObject(*release, lock);
    }
}

void SpawnManager::ProcessEvent(const Event& event) {
    if (event.eventType != kAddObject && event.eventType != kDistributeObjects) return;
    if (!IsCurrent(event)) return;
    if (event.eventType == kAddObject) AddObject(event);
    if (event.eventType == kDistributeObjects) DistributeObjects(event);
}

bool SpawnManager::IsCurrent(const Event& event) const {
    if (!event.Has(kParamLoadGeneration)) return true;
    const int generation = event.GetParam<int>(kParamLoadGeneration);
    if (generation >= loadGeneration.load()) return true;
    Sys().Log("\"" + event.eventType + "\" from " + event.from + " was sent before the level was loaded; " +
              "nothing is spawned\n");
    return false;
}

void SpawnManager::AddObject(const Event& event) {
    const int number = CappedNumber(event);
    const std::string point = event.GetParam<std::string>(kParamSpawnPoint);
    const std::string pattern = event.GetParam<std::string>(kParamPattern);
    // A name that stands twice is served twice.
    const auto listed = std::count(spawnPoints.begin(), spawnPoints.end(), point);
    if (listed == 0 || number <= 0) return;
    if (SpawnComp* spawn = LiveSpawnComp(point)) Push(*spawn, pattern, number * int(listed));
}

void SpawnManager::DistributeObjects(const Event& event) {
    const int number = CappedNumber(event);
    const std::string pattern = event.GetParam<std::string>(kParamPattern);
    // Only points that can release count in the share; an entry that stands
    // twice counts twice.
    std::vector<SpawnComp*> live;
    for (std::size_t i = 0; i < spawnPoints.size(); ++i)
        if (SpawnComp* spawn = LiveSpawnComp(spawnPoints[i])) live.push_back(spawn);
    if (live.empty()) {
        Sys().Warning(SOURCE_POS + kNoSpawnPoints + "\n");
        return;
    }
    const int n = int(live.size());
    const int q = number / n;  // truncates toward zero: r takes the sign of number
    const int r = number - q * n;
    // Push queues nothing for a count of zero or less.
    for (int i = 0; i < n; ++i) Push(*live[i], pattern, q + (i < r ? 1 : 0));
}

SpawnComp* SpawnManager::LiveSpawnComp(const std::string& name) const {
    if (!Objects().HasGameObject(name)) return nullptr;
    GameObject& point = *Objects().GetGameObject(name);
    if (point.isDead) return nullptr;
    return static_cast<SpawnComp*>(point.GetComponent(CompIndex::Spawn));
}

std::optional<SpawnManager::Release> SpawnManager::CountDown(const std::string& name) {
    SpawnComp* spawn = LiveSpawnComp(name);
    // The countdown only moves while something is queued.
    if (!spawn || spawn->patternQueue.empty()) return std::nullopt;
    if (spawn->countdown >= kReleaseThreshold) {
        spawn->countdown -= Sys().frameTime.load();
        return std::nullopt;
    }
    spawn->countdown = spawn->delay;
    Release release{spawn->patternQueue.back(), Objects().GetGameObject(name)->trans, spawn->spawnDir};
    // Taken off before the release: a pattern that fails to build is not
    // tried again at every delay.
    spawn->patternQueue.pop_back();
    return release;
}

void SpawnManager::ReleaseObject(const Release& release, std::optional<ObjectLock>& lock) {
    const std::string name = Module<ResourceManager>::Instance()->MakeObjectName(release.pattern);
    const GameObject fresh(name);
    lock.reset();
    Objects().AddGameObject(fresh);
    lock.emplace();
    if (!Objects().HasGameObject(name)) {
        Sys().Warning(SOURCE_POS + "spawned object " + name + " was not registered; nothing released\n");
        return;
    }
    StampReleased(*Objects().GetGameObject(name), name, release);
}

void SpawnManager::StampReleased(GameObject& object, const std::string& name, const Release& release) {
    try {
        ObjectFactory::StampObject(object, Module<ResourceManager>::Instance()->GetPattern(release.pattern));
    } catch (const std::exception& error) {
        // The object keeps what the stamp gave it before failing; the other
        // spawn points release as usual.
        Sys().Warning(SOURCE_POS + "stamping " + name + " from pattern " + release.pattern +
                      " failed: " + error.what() + "\n");
    }
    object.name = name;  // the name the table knows it by, whatever the stamp did
    const CollisionComp* collision = object.GetCollisionComp();
    object.trans = collision ? release.pointTrans + release.spawnDir * collision->boundSphere.radius
                             : release.pointTrans;
}
