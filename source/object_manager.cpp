// The ObjectManager's table: the lock, registration, killing and removal, and
// the look-ups. Picking and the instance buffers live in their own files.
#include "object_manager.h"

#include <cassert>
#include <stdexcept>
#include <utility>

#include "event_manager.h"
#include "objects/components.h"
#include "system/source_position.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

}  // namespace

ObjectManager::ObjectManager() : Module<ObjectManager>("ObjectManager") {}

void ObjectManager::Init() {
    RegisterEventClient();
    objectCounter = kCounterStart;
    enemiesKilled = 0;
}

void ObjectManager::Update() { DispatchEvents(); }

void ObjectManager::Kill() { UnregisterEventClient(); }

// --- The object lock

bool ObjectManager::IsLockedByThisThread() const {
    return lockOwner.load() == std::this_thread::get_id();
}

bool ObjectManager::AcquireLock() {
    // Only the holder ever stores its own id, so seeing it here means this
    // thread holds the mutex; locking again would wait for ourselves forever.
    if (IsLockedByThisThread()) {
        Sys().Error(SOURCE_POS + "the object lock is already held by this thread\n");
        return false;
    }
    objectMutex.lock();
    lockOwner.store(std::this_thread::get_id());
    return true;
}

void ObjectManager::ReleaseLock() {
    lockOwner.store(std::thread::id());
    objectMutex.unlock();
}

void ObjectManager::ExpectLockHeld() const {
    assert(IsLockedByThisThread() && "the caller must hold the object lock");
}

void ObjectManager::Lock() { AcquireLock(); }

void ObjectManager::Unlock() {
    // Unlocking a mutex this thread does not hold is undefined; a script can
    // easily call Unlock once too often.
    if (!IsLockedByThisThread()) {
        Sys().Error(SOURCE_POS + "Unlock without holding the object lock\n");
        return;
    }
    ReleaseLock();
}

ObjectLock::ObjectLock() : ObjectLock(*Module<ObjectManager>::Instance()) {}

ObjectLock::ObjectLock(ObjectManager& manager) : manager(manager), acquired(manager.AcquireLock()) {}

ObjectLock::~ObjectLock() {
    if (acquired) manager.ReleaseLock();
}

// --- Registration, killing, removal

bool ObjectManager::AddGameObject(GameObject object) {
    if (object.name.empty()) Sys().Error(SOURCE_POS + "game object with no name!\n");
    {
        ObjectLock guard(*this);
        if (nameIndex.get<ByObjectName>().count(object.name) == 0) {
            object.objNum = ++objectCounter;
            gameObjectList.emplace(object.objNum, object);
            nameIndex.insert(ObjectNameEntry{object.name, object.objNum});
            return true;
        }
    }
    // Reported after the lock is released: logging may write a file.
    Sys().Error(SOURCE_POS + "game object with duplicate name!\n");
    Sys().Log("obj.name = " + object.name + "\n");
    return false;
}

void ObjectManager::KillGameObject(GameObject& object) {
    ExpectLockHeld();
    if (object.isDead) return;
    if (object.HasComp(CompIndex::Stats)) {
        ++enemiesKilled;
        Sys().Log("enemiesKilled = " + std::to_string(enemiesKilled) + "\n");
    }
    object.isDead = true;
    Event event = MakeEvent(EventManager::kBroadcast, kKillGameObject);
    event.SetParam<std::string>(kParamName, object.name);
    event.SetParam<unsigned>(kParamObjNum, object.objNum);
    Module<EventManager>::Instance()->PublishEvent(std::move(event));
}

void ObjectManager::RemoveDeadGameObjects() {
    ExpectLockHeld();
    std::vector<unsigned> dead;
    for (const GameObjectList::value_type& entry : gameObjectList)
        if (entry.second.isDead) dead.push_back(entry.first);
    for (unsigned objNum : dead) {
        gameObjectList.erase(objNum);
        nameIndex.get<ByObjectNumber>().erase(objNum);
    }
}

void ObjectManager::ClearGameObjects() {
    ExpectLockHeld();
    for (GameObjectList::value_type& entry : gameObjectList) KillGameObject(entry.second);
    RemoveDeadGameObjects();
}

void ObjectManager::ClearLevelObjects() {}

// --- Look-ups

bool ObjectManager::HasGameObject(unsigned objNum) const {
    ExpectLockHeld();
    return gameObjectList.count(objNum) != 0;
}

bool ObjectManager::HasGameObject(const std::string& name) const {
    ExpectLockHeld();
    const auto& byName = nameIndex.get<ByObjectName>();
    const auto found = byName.find(name);
    return found != byName.end() && HasGameObject(found->objNum);
}

const GameObject* ObjectManager::GetGameObject(unsigned objNum) const {
    ExpectLockHeld();
    const GameObjectList::const_iterator found = gameObjectList.find(objNum);
    if (found == gameObjectList.end()) throw std::out_of_range(kMissingObject);
    return &found->second;
}

GameObject* ObjectManager::GetGameObject(unsigned objNum) {
    return const_cast<GameObject*>(static_cast<const ObjectManager&>(*this).GetGameObject(objNum));
}

const GameObject* ObjectManager::GetGameObject(const std::string& name) const {
    ExpectLockHeld();
    const auto& byName = nameIndex.get<ByObjectName>();
    const auto found = byName.find(name);
    if (found == byName.end()) throw std::out_of_range(kMissingObject);
    return GetGameObject(found->objNum);
}

GameObject* ObjectManager::GetGameObject(const std::string& name) {
    return const_cast<GameObject*>(static_cast<const ObjectManager&>(*this).GetGameObject(name));
}

std::string ObjectManager::GetObjectName(unsigned objNum) const {
    ExpectLockHeld();
    const auto& byNumber = nameIndex.get<ByObjectNumber>();
    const auto found = byNumber.find(objNum);
    return found == byNumber.end() ? std::string() : found->name;
}

unsigned ObjectManager::GetObjectNumber(const std::string& name) const {
    ExpectLockHeld();
    const auto& byName = nameIndex.get<ByObjectName>();
    const auto found = byName.find(name);
    return found == byName.end() ? 0 : found->objNum;
}
