// Resources and patterns for scripts: the ResourceManager (store accessors,
// registry and pattern look-ups, loading by name and category, the OpenGL
// uploads) and ObjectFactory's pattern reading and stamping.
//
// Ownership: Get*/Set* of the store return borrowed pointers into the store
// (nil when the entry is missing, after the store's own message); they stay
// valid until the entry is deleted. Patterns, registry entries, handles and
// built meshes come back as owned copies.
//
// Threads: level scripts run on the loader thread, which must never call
// OpenGL. InitGLTexture, LoadContextCategory and ReloadContextData therefore
// check for an OpenGL context current on the calling thread and, without
// one, log an error and do nothing instead of crashing in the driver.
//
// Stamping a registered object needs the object lock, like every change of a
// registered object, and so does stamping a behaviour or a pickup onto any
// object: their states look their owner up in the object table. Without the
// lock such a stamp is a Lua error, as is a pattern that lacks a parameter
// the stamp requires ("bad cast"); neither aborts.
%{
#include "object_factory.h"
#include "object_manager.h"
#include "platform/gl_context.h"
#include "resource_manager.h"
#include "system.h"

// False, with an error naming the operation, when this thread has no current
// OpenGL context (the loader thread, or before the window exists).
static bool quell_gl_ready(const char* operation) {
    if (platform::HasCurrentGLContext()) return true;
    Module<System>::Instance()->Error(std::string("ResourceManager::") + operation +
                                      " needs the OpenGL context of the main thread: not run\n");
    return false;
}

// Whether a script may stamp the pattern (null: a behaviour) now.
static bool quell_stamp_allowed(const ObjectPattern* pattern) {
    if (Module<ObjectManager>::Instance()->IsLockedByThisThread()) return true;
    return pattern && !HasParam(pattern->paramList, PatternParam::kBehavior) &&
           !HasParam(pattern->paramList, PatternParam::kPickup);
}
%}

%define %quell_stamp_needs_lock(function, pattern)
%exception ObjectFactory::function {
    if (!quell_stamp_allowed(pattern)) {
        SWIG_Lua_pushferrstring(L, "Error in $symname: the object lock is not held (call Lock first)");
        SWIG_fail;
    }
%quell_catch_engine_exceptions
}
%enddef
%quell_stamp_needs_lock(StampObject, &arg2)
%quell_stamp_needs_lock(StampBehavior, nullptr)

// Types that scripts may only hold and pass back; classes so that owned
// copies are freed by the collector. Container is only ever borrowed.
%nodefaultctor ObjectPattern;
struct ObjectPattern {};
%nodefaultctor RegistryData;
struct RegistryData {};
%nodefaultctor AnimSet;
struct AnimSet {};
%nodefaultctor Container;
%nodefaultdtor Container;
class Container {};

// BuildMipMap appends new textures that the caller owns: from Lua the chain
// is a table, and each new level is appended to it as a Lua-owned Texture.
%typemap(in, checkfn="lua_istable") std::vector<Texture*>& chain (std::vector<Texture*> levels)
%{ $1 = &levels; %}
%typemap(argout) std::vector<Texture*>& chain
%{ for (Texture* level : *$1) {
     SWIG_NewPointerObj(L, level, SWIGTYPE_p_Texture, 1);
     lua_rawseti(L, $input, (int)lua_objlen(L, $input) + 1);
   }
   $1->clear(); %}
// Reached only when the call failed before argout handed the levels over.
%typemap(freearg) std::vector<Texture*>& chain
%{ if ($1) for (Texture* level : *$1) delete level; %}

%template(Module_ResourceManager) Module<ResourceManager>;

// The singleton only: scripts never make or free a manager.
%nodefaultctor ResourceManager;
%nodefaultdtor ResourceManager;
class ResourceManager : public Module<ResourceManager> {
public:
    void Init();
    void Update();
    void Kill();

    int LoadResource(const std::string& name);
    Container* GetReferenceFromHandle(Handle handle);
    Handle GetResourceHandle(const std::string& name);
    void ReleaseResourceHandle(Handle* handle);
    void LoadCategory(const std::string& category);
    int LoadResourceByCategory(const std::string& name, const std::string& category);
    int DeleteResource(const std::string& name);
    void LoadRegistry(const char* fileName);
    unsigned GetObjectNum();
    ObjectPattern GetPattern(const std::string& name) const;
    void LoadObjectPatterns(const char* fileName);
    Mesh BuildHeightmapMesh(const Texture& texture);
    void BuildMipMap(std::vector<Texture*>& chain, const Texture* source);
    std::string RegistryFileLookup(const std::string& name) const;
    RegistryData RegistryDataLookup(const std::string& name) const;

    Mesh* GetMesh(Handle handle);
    Mesh* SetMesh(Handle handle, const Mesh& value);
    Texture* GetTexture(Handle handle);
    Texture* SetTexture(Handle handle, const Texture& value);
    Skeleton* GetSkeleton(Handle handle);
    Skeleton* SetSkeleton(Handle handle, const Skeleton& value);
    AnimSet* GetAnimation(Handle handle);
    AnimSet* SetAnimSet(Handle handle, const AnimSet& value);
};

%extend ResourceManager {
    void InitGLTexture(Texture& texture) {
        if (quell_gl_ready("InitGLTexture")) $self->InitGLTexture(texture);
    }
    void LoadContextCategory(std::string category) {
        if (quell_gl_ready("LoadContextCategory")) $self->LoadContextCategory(category);
    }
    void ReloadContextData() {
        if (quell_gl_ready("ReloadContextData")) $self->ReloadContextData();
    }
}

// ObjectFactory is a namespace in the engine; scripts reach its functions
// under the flattened names.
%rename(ObjectFactory_LoadObjectPattern) ObjectFactory::LoadObjectPattern;
%rename(ObjectFactory_StampObject) ObjectFactory::StampObject;
%rename(ObjectFactory_StampGraphics) ObjectFactory::StampGraphics;
%rename(ObjectFactory_StampPhysics) ObjectFactory::StampPhysics;
%rename(ObjectFactory_StampCollision) ObjectFactory::StampCollision;
%rename(ObjectFactory_StampBehavior) ObjectFactory::StampBehavior;
%rename(ObjectFactory_StampStats) ObjectFactory::StampStats;

namespace ObjectFactory {
ObjectPattern LoadObjectPattern(const char* fileName);
// False, with an error, for a pattern the resource manager did not know.
bool StampObject(GameObject& object, ObjectPattern pattern);
void StampGraphics(GameObject& object, ObjectPattern pattern);
void StampPhysics(GameObject& object, ObjectPattern pattern);
void StampCollision(GameObject& object, ObjectPattern pattern);
void StampBehavior(GameObject& object, ObjectPattern pattern);
void StampStats(GameObject& object, ObjectPattern pattern);
}
