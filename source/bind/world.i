// The live world as scripts see it: the ObjectManager with its object table
// and scene members, the lights and the ground plane.
//
// Locking: the wrappers take no lock. A script that reads or changes
// registered objects or the scene members calls Lock() before and Unlock()
// after, and never calls AddGameObject in between (it takes the lock
// itself). A table operation called without the lock is a Lua error. A
// script run that ends with the lock still held, by an error or a forgotten
// Unlock, has it released by the LuaManager.
//
// GetGameObject returns a borrowed pointer into the table: it stays valid
// until the object is removed (RemoveDeadGameObjects, ClearGameObjects, the
// next level load). A name or number that is not registered is a Lua error.
%{
#include "graphics/light_object.h"
#include "interface/panels.h"
#include "objects/ground_plane_object.h"
#include "object_manager.h"
%}

// Scene members that scripts may only hold and pass back.
%nodefaultctor CameraObject;
class CameraObject {};
%nodefaultctor SkyBox;
class SkyBox {};
%nodefaultctor ParticleSystemController;
class ParticleSystemController {};
%nodefaultctor SplashScreen;
class SplashScreen {};
// The interface's widgets, their registry and the console: scripts hold
// them only. The registry reads as a copy that owns none of the widgets.
%nodefaultctor InterfaceObject;
%nodefaultdtor InterfaceObject;
class InterfaceObject {};
%nodefaultctor Console;
%nodefaultdtor Console;
class Console {};
%nodefaultctor InterfaceObjectList;
class InterfaceObjectList {};

// The engine's hash maps, opaque; classes only so that the copies scripts
// read are freed by the collector.
namespace std {
%nodefaultctor unordered_map;
template <class K, class V> class unordered_map {};
}
%template(GameObjectList) std::unordered_map<unsigned int, GameObject>;
%template(InstanceBufferList) std::unordered_map<std::string, ObjectInstanceBuffer>;

class LightObject {
public:
    LightObject();
    Vector position;
    Vector ambient;
    Vector diffuse;
    Vector specular;
    float constantAtten;
    float linearAtten;
    float quadraticAtten;
};

// The object manager's light list: lightObjectList is borrowed, so
// push_back, clear and __setitem change the lights the frame uses;
// __getitem, front and back give copies.
%template(vector_LightObject) std::vector<LightObject>;

class GroundPlaneObject {
public:
    GroundPlaneObject();
    Matrix GetMatrix() const;
    float GetHeight(const Vector& point) const;
    Vector GetColor(const Vector& point) const;

    Handle meshHandle;
    Handle heightMapHandle;
    Handle colorMapHandle;
    Vector scale;
    Vector pos;
};

%template(Module_ObjectManager) Module<ObjectManager>;

%quell_read_as_copy(ObjectManager, skyBox)
%quell_read_as_copy(ObjectManager, particleSystemController)
%quell_read_as_copy(ObjectManager, gameObjectList)
%quell_read_as_copy(ObjectManager, splashScreen)
%quell_read_as_copy(ObjectManager, credits)
%quell_read_as_copy(ObjectManager, instanceBufferList)
%quell_read_as_copy(ObjectManager, interObjList)

// An object number must be a Lua number: a numeric string such as "101" is
// a name, and must not be taken for the number 101.
%typecheck(SWIG_TYPECHECK_UINT32) unsigned objNum {
  $1 = lua_type(L, $input) == LUA_TNUMBER;
}

// The table operations whose callers must hold the object lock.
%define %quell_needs_object_lock(method)
%exception ObjectManager::method {
    if (!arg1->IsLockedByThisThread()) {
        SWIG_Lua_pushferrstring(L, "Error in $symname: the object lock is not held (call Lock first)");
        SWIG_fail;
    }
%quell_catch_engine_exceptions
}
%enddef
%quell_needs_object_lock(GetGameObject)
%quell_needs_object_lock(HasGameObject)
%quell_needs_object_lock(RebuildObjectInstanceBuffers)
%quell_needs_object_lock(KillGameObject)
%quell_needs_object_lock(RemoveDeadGameObjects)
%quell_needs_object_lock(ClearGameObjects)
%quell_needs_object_lock(GetObjectName)
%quell_needs_object_lock(GetObjectNumber)

// The singleton only: scripts never make or free a manager.
%nodefaultctor ObjectManager;
%nodefaultdtor ObjectManager;
class ObjectManager : public Module<ObjectManager> {
public:
    void Init();
    void Update();
    void Kill();
    void Lock();
    void Unlock();

    GameObject* GetGameObject(unsigned objNum);
    GameObject* GetGameObject(const std::string& name);
    bool HasGameObject(unsigned objNum) const;
    bool HasGameObject(const std::string& name) const;
    void RebuildObjectInstanceBuffers();
    void KillGameObject(GameObject& object);
    void RemoveDeadGameObjects();
    void ClearGameObjects();
    void ClearLevelObjects();
    std::string GetObjectName(unsigned objNum) const;
    unsigned GetObjectNumber(const std::string& name) const;
    bool AddGameObject(GameObject object);

    CameraObject cameraObject;
    Matrix perspectMat;
    Matrix invPerspectMat;
    SkyBox skyBox;
    std::vector<LightObject> lightObjectList;
    GroundPlaneObject groundObject;
    SplashScreen splashScreen;
    SplashScreen credits;
    std::string selectedObject;
    std::unordered_map<std::string, ObjectInstanceBuffer> instanceBufferList;

    // Read only: the table is indexed by name beside it, so replacing it
    // would leave every name pointing at the wrong object; and the particle
    // controller reads as a deep copy (its emitters cloned), so a script never
    // holds or frees the live emitters.
    %immutable;
    ParticleSystemController particleSystemController;
    std::unordered_map<unsigned int, GameObject> gameObjectList;
    // The interface module alone fills and empties these; hackPanelList
    // reads as a pointer to the engine's own list.
    InterfaceObjectList interObjList;
    std::vector<InterfaceObject> hackPanelList;
    Console* console;
    %mutable;
};
