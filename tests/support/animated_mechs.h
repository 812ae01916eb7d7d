// The generated medium machine, ready to stamp: the registry, the object
// patterns and the resources of "MediumMech" loaded from the run folder (the
// working directory). Shared by the animation tests and benchmark; needs no
// window or OpenGL context.
#pragma once

#include <string>

#include "object_factory.h"
#include "object_manager.h"
#include "objects/game_object.h"
#include "resource_manager.h"

namespace test_support {

inline const char* const kMechPattern = "MediumMech";

// False when a resource of the machine could not be loaded (logged by the store).
inline bool LoadMechContent() {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    store.LoadRegistry("resource/registry.xml");
    store.LoadObjectPatterns("resource/objectPatterns.xml");
    bool loaded = true;
    for (const char* name : {"mesh_medium_mech", "tex_medium_mech", "skel_medium_mech",
                             "anim_medium_mech_idle", "anim_medium_mech_walk"})
        loaded = store.LoadResource(name) == 0 && loaded;
    return loaded;
}

// A machine stamped from the pattern as the level loader stamps one, under
// the object lock (its behaviour's states look their owner up in the table),
// not yet registered; it plays animation 0.
inline GameObject StampMech(const std::string& name) {
    GameObject object(name);
    object.patternName = kMechPattern;
    ObjectLock hold;
    ObjectFactory::StampObject(object, Module<ResourceManager>::Instance()->GetPattern(kMechPattern));
    return object;
}

}  // namespace test_support
