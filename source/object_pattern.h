// ObjectPattern: the recipe for one kind of game object, read from one
// object-pattern XML file: a named set of typed parameters, the animation-set
// names and the collision groups the object collides with. The resource
// manager keeps the patterns; ObjectFactory's stamps apply them to objects.
//
// Pattern files are untrusted: the reader logs every missing or malformed
// value (naming the file) and carries on with a safe value; it never throws.
// Threads: the reader runs on whichever thread loads resources (main or
// loader); a pattern is a plain value with no shared state.
#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include <boost/any.hpp>
#include <boost/unordered_map.hpp>

#include "event_manager/event.h"
#include "geom/geom.h"
#include "objects/combat_comps.h"

// The parameter names a pattern holds: the reader writes them, the stamps and
// the level loader read them. Scripts and data files use the texts.
namespace PatternParam {
// Always set, and from the "type" section.
constexpr const char *kFileName = "fileName", *kType = "type", *kIsLevelObject = "isLevelObject";
// From "resources", "scale", "position" and "height".
constexpr const char *kGraphics = "graphics", *kMesh = "mesh", *kTexture = "texture",
                      *kHasSkeleton = "hasSkeleton", *kSkeleton = "skeleton", *kScale = "scale", *kX = "x",
                      *kY = "y", *kZ = "z", *kOffset = "offset";
// From "physics" and "stats".
constexpr const char *kPhysics = "physics", *kMass = "mass", *kInfMass = "infMass", *kStats = "stats",
                      *kHealthMax = "healthMax", *kMagic = "magic", *kSpeed = "speed", *kArmor = "armor",
                      *kBoost = "boost";
// From "weapons" and "behavior".
constexpr const char *kWeapon = "weapon", *kWeaponComp = "weaponComp", *kBehavior = "behavior",
                      *kState = "state";
// From "collision".
constexpr const char *kCollision = "collision", *kAutoGenerate = "autoGenerate", *kGroup = "group",
                      *kHasOBB = "hasOBB", *kHasAABB = "hasAABB", *kHasSphere = "hasSphere", *kObb = "obb",
                      *kAabb = "aabb", *kSphere = "sphere";
// From "spawn" and "pickup".
constexpr const char *kSpawn = "spawn", *kDelay = "delay", *kSpawnDir = "spawnDir", *kPickup = "pickup",
                      *kValue = "value";
}  // namespace PatternParam

struct ObjectPattern {
    using ParamMap = boost::unordered_map<std::string, boost::any>;

    ParamMap paramList;                  // one value per name
    std::vector<std::string> animNames;  // animation sets, in file order
    std::vector<int> collidesWithList;   // collision groups, in file order
};

// Whether a value (of any type) is stored under name.
bool HasParam(const ObjectPattern::ParamMap& paramList, const std::string& name);

// Up to four comma-separated numbers into x, y, z, w; the rest stay 0. Values
// that are not finite numbers end the list.
Vector StringToVector(const std::string& text);

namespace ObjectFactory {

// The value types a pattern holds.
template <class T>
struct IsPatternValue
    : std::integral_constant<bool, std::is_same<T, float>::value || std::is_same<T, int>::value ||
                                       std::is_same<T, bool>::value || std::is_same<T, std::string>::value ||
                                       std::is_same<T, Vector>::value || std::is_same<T, OBB>::value ||
                                       std::is_same<T, AABB>::value || std::is_same<T, BoundingSphere>::value ||
                                       std::is_same<T, WeaponComp>::value> {};

// Stores value under name, silently replacing any value stored before.
template <class T>
void SetParameter(ObjectPattern& pattern, const std::string& name, const T& value) {
    static_assert(IsPatternValue<T>::value, "not a pattern value type");
    pattern.paramList[name] = value;
}

// The value stored under name. A missing name, or a value of another type,
// throws ParamTypeError (a boost::bad_any_cast carrying the name).
template <class T>
T GetParameter(const ObjectPattern& pattern, const std::string& name) {
    static_assert(IsPatternValue<T>::value, "not a pattern value type");
    ObjectPattern::ParamMap::const_iterator found = pattern.paramList.find(name);
    if (found == pattern.paramList.end()) throw ParamTypeError(name, typeid(void));
    const T* value = boost::any_cast<T>(&found->second);
    if (!value) throw ParamTypeError(name, found->second.type());
    return *value;
}

// Up to five comma-separated numbers: s, then the x, y, z, w of v; the rest
// stay 0.
Quaternion ParseFloatList(const std::string& text);

// Reads one pattern file. "fileName" is always set; a file that cannot be
// loaded or parsed gives the error "can't load file <name>" and a pattern
// holding only "fileName".
ObjectPattern LoadObjectPattern(const char* fileName);

}  // namespace ObjectFactory
