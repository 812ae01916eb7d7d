// Hunting enemies on a loaded level, for tests and benchmarks in any folder:
// a still "player" stamped from its pattern, enemies stamped from theirs (a
// StateHeavy under a StateInactive, their weapons) standing on the ground,
// and a hash of the world that holds across runs of one process although
// run-time names (shots) take ever new numbers.
#pragma once

#include <cctype>
#include <functional>
#include <map>
#include <string>

#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"

namespace test_support {

// Stamps `name` from `pattern`, stands it on the ground at (x, z) and
// registers it; its number, or 0 when the pattern is unknown or the name taken.
inline unsigned AddStanding(const std::string& pattern, const std::string& name, float x, float z) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    GameObject object(name);
    object.patternName = pattern;
    {
        // The behaviour states look their owner up while they are pushed.
        ObjectLock lock;
        if (!ObjectFactory::StampObject(object, Module<ResourceManager>::Instance()->GetPattern(pattern))) return 0;
        const float hover = object.trans.y;  // the pattern's own height above the ground
        object.trans = Vector(x, objects.groundObject.GetHeight(Vector(x, 0, z)) + hover, z);
    }
    if (!objects.AddGameObject(object)) return 0;
    ObjectLock lock;
    return objects.GetObjectNumber(name);
}

// The player as the level script builds it, without weapons: nothing moves
// it but a push.
inline unsigned AddStillPlayer(float x, float z) { return AddStanding("player", "player", x, z); }

// Every object's position and rotation, in name order. A name ending in
// digits counts from `firstRunNumber` (the shared name counter's value when
// the run began), so that the same run repeated hashes the same.
inline std::size_t WorldHash(unsigned firstRunNumber) {
    std::map<std::string, std::string> states;
    ObjectLock lock;
    for (const auto& entry : Module<ObjectManager>::Instance()->gameObjectList) {
        const GameObject& o = entry.second;
        std::string key = o.name;
        std::size_t digits = key.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(key[digits - 1]))) --digits;
        if (digits < key.size() && o.HasComp(CompIndex::Bullet))
            key = key.substr(0, digits) + "#" + std::to_string(std::stoul(key.substr(digits)) - firstRunNumber);
        const float state[] = {o.trans.x, o.trans.y, o.trans.z, o.rot.s, o.rot.v.x, o.rot.v.y, o.rot.v.z};
        states[key].assign(reinterpret_cast<const char*>(state), sizeof state);
    }
    std::string all;
    for (const auto& state : states) all += state.first + state.second;
    return std::hash<std::string>()(all);
}

}  // namespace test_support
