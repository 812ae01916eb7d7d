// ObjectFactory::StampObject and the plain value stamps (physics, stats,
// spawn). Graphics, collision and the behaviour stamps live in their own
// files.
#include "object_factory.h"

#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "objects/physics_comp.h"
#include "objects/world_comps.h"
#include "spawn_manager.h"
#include "system.h"

namespace ObjectFactory {

const char* const INVALID_PATTERN_TYPE = "INVALID_PATTERN";

namespace {

using SectionStamp = void (*)(GameObject&, ObjectPattern);

struct Section {
    const char* flag;
    SectionStamp stamp;
};

// The order matters: collision generation reads the mesh that the graphics
// stamp set, and the pickup stamp reads the collision component.
const Section SECTIONS[] = {
    {"graphics", StampGraphics}, {"physics", StampPhysics}, {"stats", StampStats},
    {"collision", StampCollision}, {"behavior", StampBehavior}, {"spawn", StampSpawn},
    {"pickup", StampPickup},
};

}  // namespace

bool IsUnknownPattern(const ObjectPattern& pattern) {
    auto type = pattern.paramList.find("type");
    if (type == pattern.paramList.end()) return false;
    const std::string* text = boost::any_cast<std::string>(&type->second);
    return text && *text == INVALID_PATTERN_TYPE;
}

bool StampObject(GameObject& object, ObjectPattern pattern) {
    if (IsUnknownPattern(pattern)) {
        Module<System>::Instance()->Error(SOURCE_POS + "unknown object pattern; " + object.name +
                                          " not stamped");
        return false;
    }
    // Only the presence of a section flag counts, not its stored value.
    for (const Section& section : SECTIONS)
        if (HasParam(pattern.paramList, section.flag)) section.stamp(object, pattern);
    if (HasParam(pattern.paramList, "offset")) object.offset = GetParameter<float>(pattern, "offset");
    object.isLevelObject = GetParameter<bool>(pattern, "isLevelObject");
    object.trans.x = GetParameter<float>(pattern, "x");
    object.trans.y = GetParameter<float>(pattern, "y");
    object.trans.z = GetParameter<float>(pattern, "z");
    return true;
}

void StampPhysics(GameObject& object, ObjectPattern pattern) {
    if (!object.GetPhysicsComp()) object.AttachComponent(PhysicsComp());
    PhysicsComp& body = *object.GetPhysicsComp();
    body.mass = GetParameter<float>(pattern, "mass");
    body.infMass = GetParameter<bool>(pattern, "infMass");
}

void StampStats(GameObject& object, ObjectPattern pattern) {
    if (!object.GetStatsComp()) object.AttachComponent(StatsComp());
    StatsComp& stats = *object.GetStatsComp();
    stats.deathEffect.effectType = 0;
    stats.deathEffect.effectSize = 6.05f;
    stats.healthMax = GetParameter<int>(pattern, "healthMax");
    stats.magic = GetParameter<int>(pattern, "magic");
    stats.boost = GetParameter<float>(pattern, "boost");
    stats.armor = GetParameter<float>(pattern, "armor");
    stats.speed = GetParameter<float>(pattern, "speed");
    // A fresh object starts full; the shield (sp) keeps what it had.
    stats.hp = stats.healthMax;
    stats.mp = stats.magic;
    stats.bp = stats.boost;
}

void StampSpawn(GameObject& object, ObjectPattern pattern) {
    if (!object.HasComp(CompIndex::Spawn)) object.AttachComponent(SpawnComp());
    SpawnComp& spawn = *static_cast<SpawnComp*>(object.GetComponent(CompIndex::Spawn));
    spawn.delay = GetParameter<float>(pattern, "delay");
    // A fresh spawn point waits one whole delay before its first release.
    spawn.countdown = spawn.delay;
    if (HasParam(pattern.paramList, "spawnDir")) spawn.spawnDir = GetParameter<Vector>(pattern, "spawnDir");
    Module<SpawnManager>::Instance()->AddSpawnPoint(object.name);
}

}  // namespace ObjectFactory
