// ObjectFactory stamping: applies an ObjectPattern to a GameObject. Each
// section stamp makes sure the object has the component of its kind (only
// missing components are attached, so stamping two patterns combines them,
// the later values winning) and fills it from the pattern's parameters;
// StampObject runs the stamps the pattern has sections for and then places
// the object. The object's name, pattern name, rotation and number are left
// to the caller, who also registers the object.
//
// Contracts:
//   - A required parameter that is missing (or of another type) throws
//     ParamTypeError ("bad cast") out of the stamp; components attached before
//     that stay. Callers on the loader thread, in a module Update or in a
//     Lua call must catch it.
//   - A pattern that the ResourceManager did not know (its "type" is
//     "INVALID_PATTERN") is refused by StampObject with a logged error: it
//     returns false and leaves the object untouched.
//   - Named resources that are not loaded are reported by the store; the
//     stamp then leaves the mesh texture, skeleton or animation as it was.
//   - Collision groups outside 0..31 (or a missing "group") are skipped with
//     a warning: a shift by them would be undefined.
//
// Threads: the thread that builds the object (main, or the level loader's,
// which stamps a registered object while holding the object lock). The stamps
// keep no state; behaviour states look the object up in the object table, and
// the spawn stamp appends to the SpawnManager's list, so stamping a registered
// object, or a behaviour or pickup section onto any object, needs the object
// lock (asserted in the test builds). Never takes the object lock itself.
#pragma once

#include "object_pattern.h"

class GameObject;

namespace ObjectFactory {

// The "type" that GetPattern gives a pattern it does not know.
extern const char* const kInvalidPatternType;

// True for the pattern GetPattern makes for a name it does not know.
bool IsUnknownPattern(const ObjectPattern& pattern);

// Runs the stamps of the sections the pattern holds ("graphics", "physics",
// "stats", "collision", "behavior", "spawn", "pickup", in that order), then
// sets offset (when present), isLevelObject and the x, y, z of trans. False,
// with an error, for an unknown pattern; throws like the stamps.
bool StampObject(GameObject& object, ObjectPattern pattern);

// Mesh, scale and texture; the skeleton and its animation sets when the
// pattern has them. The texture is written into the shared mesh, so the last
// pattern stamped with a mesh decides the texture of every object using it.
void StampGraphics(GameObject& object, ObjectPattern pattern);
// Mass and the infinite-mass flag.
void StampPhysics(GameObject& object, ObjectPattern pattern);
// Maxima and speed; the current hull, magic and boost start full.
void StampStats(GameObject& object, ObjectPattern pattern);
// Generated or given volumes, then the group and collides-with bits.
void StampCollision(GameObject& object, ObjectPattern pattern);
// A state machine named after the object with StateHeavy under
// StateInactive (waiting for the "player"), and the pattern's weapons.
void StampBehavior(GameObject& object, ObjectPattern pattern);
// Delay, countdown (a full delay before the first release) and direction;
// registers the object as a spawn point.
void StampSpawn(GameObject& object, ObjectPattern pattern);
// Kind and value; the pickup is not pushed apart by physics and turns in
// place (StateRotate).
void StampPickup(GameObject& object, ObjectPattern pattern);

}  // namespace ObjectFactory
