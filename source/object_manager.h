// ObjectManager: owns every live GameObject of the running game, by value,
// under the object number it hands out, and findable by name. It also holds
// the scene members that rendering, the game flow and the scripts share:
// camera, projection matrices, sky box, particle controller, lights, ground,
// cockpit, the two slide shows, the picked object's name, the per-mesh
// instance buffers, and the interface's widget registry and console, which
// only the InterfaceManager fills and empties (main thread, outside the
// object lock).
//
// Threads: Init, Update and Kill run on the main thread; Update only polls the
// module's events, which it ignores. The object table and the name index are
// walked by the main thread, the physics and collision threads, the level
// loader and Lua, always under the object lock: one exclusive, NON-recursive
// mutex. Take it with the ObjectLock guard in C++ (Lock/Unlock are for
// scripts). AddGameObject and PickObject take it themselves: never call them
// while holding it. Every other table operation expects the caller to hold it.
//
// Sends "KillGameObject" to "BROADCAST" with "name" and "objNum".
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "geom/geom.h"
#include "graphics/camera_object.h"
#include "graphics/cockpit_object.h"
#include "graphics/light_object.h"
#include "graphics/particle_system_controller.h"
#include "graphics/sky_box.h"
#include "graphics/splash_screen.h"
#include "interface/interface_object.h"
#include "interface/interface_object_list.h"
#include "objects/ground_plane_object.h"
#include "resource_manager/handle.h"
#include "module.h"
#include "object_manager/name_index.h"
#include "objects/game_object.h"
#include "collision_manager/ray_intersect_record.h"

// The world matrices of every level object that shares one mesh, handed to
// one instanced draw.
struct ObjectInstanceBuffer {
    unsigned numInstances = 0;
    Handle mesh;
    std::vector<float> matrices;  // 16 floats per instance, column-major
    unsigned dataSize = 0;        // floats in matrices: 16 * numInstances

    void Append(const Matrix& world);
};

// Mouse picking's state between frames; the caller owns it.
struct PickState {
    bool dragging = false;
    Vector viewAxis;   // the camera's view axis as of the previous call
    Plane dragPlane;   // faces the camera through the grabbed point
    RayIntersectRecord lastPickRecord;
    Ray pickRay;       // the ray through the cursor, aimed by the previous call
};

class Console;

using GameObjectList = std::unordered_map<unsigned, GameObject>;
using InstanceBufferList = std::unordered_map<std::string, ObjectInstanceBuffer>;

class ObjectManager : public virtual Module<ObjectManager> {
public:
    // Sent to "BROADCAST" for every killed object, with its name and number.
    static constexpr const char* kKillGameObject = "KillGameObject";
    static constexpr const char *kParamName = "name", *kParamObjNum = "objNum";
    // The out_of_range text of a look-up of an object that is not registered.
    static constexpr const char* kMissingObject = "Unable to find key in unordered_map.";
    // Init sets the counter here, so the first object gets number 101.
    static constexpr unsigned kCounterStart = 100;

    ObjectManager();

    // Registers the event client; counter to 100, enemiesKilled to 0.
    void Init() override;
    void Update() override;
    void Kill() override;

    // The object lock, for scripts. Locking again on the thread that holds it,
    // or unlocking on a thread that does not, is logged and ignored instead of
    // hanging or corrupting the mutex.
    void Lock();
    void Unlock();
    bool IsLockedByThisThread() const;

    // --- Caller holds the object lock for everything below, except where noted
    // (asserted in the test builds).
    bool HasGameObject(unsigned objNum) const;
    bool HasGameObject(const std::string& name) const;
    // Never null: an object that is not registered throws std::out_of_range
    // with kMissingObject. The pointer stays valid until the object is erased.
    GameObject* GetGameObject(unsigned objNum);
    const GameObject* GetGameObject(unsigned objNum) const;
    GameObject* GetGameObject(const std::string& name);
    const GameObject* GetGameObject(const std::string& name) const;
    // "" for a number that is not registered.
    std::string GetObjectName(unsigned objNum) const;
    // 0 (never an object's number) for a name that is not registered.
    unsigned GetObjectNumber(const std::string& name) const;

    // TAKES THE LOCK ITSELF. Stores a copy under the next number; true when
    // registered. An empty name is reported and still registered; a name
    // already registered is reported and refused (false, counter unchanged).
    // A caller that needs the number looks it up by name afterwards.
    bool AddGameObject(GameObject object);
    // Marks a live object dead and announces it; it stays in the table until
    // RemoveDeadGameObjects. Counts an enemy kill when it has a StatsComp.
    void KillGameObject(GameObject& object);
    // Erases every dead object (its components go back to their pools).
    void RemoveDeadGameObjects();
    // Kills every object (each with a StatsComp counted and logged, the player
    // included: the counter tallies what the table destroyed, not the run's
    // kills, which GameLogic keeps), then removes them all; the object number
    // counter keeps running.
    void ClearGameObjects();
    // Kept for scripts; has no effect.
    void ClearLevelObjects();
    // Refills instanceBufferList from the live level objects with graphics,
    // keyed by mesh name, and takes those objects off the one-by-one drawing.
    void RebuildObjectInstanceBuffers();

    // TAKES THE LOCK ITSELF. Main thread, once per frame of play: right-button
    // dragging of objects in a plane facing the camera, using the collision
    // manager's published hits of the ray this call aimed the frame before.
    void PickObject(PickState& state);

    CameraObject cameraObject;
    Matrix perspectMat;     // set by Graphics
    Matrix invPerspectMat;  // set by Graphics; unprojects the picking ray
    SkyBox skyBox;
    ParticleSystemController particleSystemController;
    std::vector<LightObject> lightObjectList;
    // The registered widgets, in registration order; owned by the
    // InterfaceManager, drawn by Graphics. Main thread, no lock.
    InterfaceObjectList interObjList;
    // Reachable from scripts only; nothing in the game fills it.
    std::vector<InterfaceObject> hackPanelList;
    // Made by the InterfaceManager's Init, deleted (and nulled) by its Kill.
    Console* console = nullptr;
    GameObjectList gameObjectList;
    GroundPlaneObject groundObject;
    CockpitObject cockpit;
    SplashScreen splashScreen;
    SplashScreen credits;
    std::string selectedObject;  // the dragged object; written under the lock
    InstanceBufferList instanceBufferList;
    int32_t enemiesKilled = 0;

private:
    friend class ObjectLock;

    // False (and logged) when this thread already held the lock: the caller
    // then runs under that hold and must not release it.
    bool AcquireLock();
    void ReleaseLock();
    // A table operation called without the lock is a programmer's mistake,
    // stopped by an assertion in the test builds.
    void ExpectLockHeld() const;

    void StartDrag(PickState& state);
    void DragPickedObject(PickState& state);
    void AimPickRay(PickState& state);

    std::mutex objectMutex;
    std::atomic<std::thread::id> lockOwner{};
    unsigned objectCounter = kCounterStart;  // the last number handed out
    ObjectNameIndex nameIndex;
};

// Holds the object lock for a scope. Taking it on a thread that already holds
// it is logged and borrows that hold instead of deadlocking.
class ObjectLock {
public:
    ObjectLock();  // the module instance's lock
    explicit ObjectLock(ObjectManager& manager);
    ~ObjectLock();
    ObjectLock(const ObjectLock&) = delete;
    ObjectLock& operator=(const ObjectLock&) = delete;

private:
    ObjectManager& manager;
    bool acquired;
};
