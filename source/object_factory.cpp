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

const char* const kInvalidPatternType = "INVALID_PATTERN";

namespace {

using SectionStamp = void (*)(GameObject&, ObjectPattern);

struct Section {
    const char* flag;
    SectionStamp stamp;
};

// The order matters: collision generation reads the mesh that the graphics
// stamp set, and the pickup stamp reads the collision component.
const Section kSections[] = {
    {PatternParam::kGraphics, StampGraphics},   {PatternParam::kPhysics, StampPhysics},
    {PatternParam::kStats, StampStats},         {PatternParam::kCollision, StampCollision},
    {PatternParam::kBehavior, StampBehavior},   {PatternParam::kSpawn, StampSpawn},
    {PatternParam::kPickup, StampPickup},
};

}  // namespace

bool IsUnknownPattern(const ObjectPattern& pattern) {
    auto type = pattern.paramList.find(PatternParam::kType);
    if (type == pattern.paramList.end()) return false;
    const std::string* text = boost::any_cast<std::string>(&type->second);
    return text && *text == kInvalidPatternType;
}

bool StampObject(GameObject& object, ObjectPattern pattern) {
    if (IsUnknownPattern(pattern)) {
        Module<System>::Instance()->Error(SOURCE_POS + "unknown object pattern; " + object.name +
                                          " not stamped");
        return false;
    }
    // Only the presence of a section flag counts, not its stored value.
    for (const Section& section : kSections)
        if (HasParam(pattern.paramList, section.flag)) section.stamp(object, pattern);
    if (HasParam(pattern.paramList, PatternParam::kOffset)) object.offset = GetParameter<float>(pattern, PatternParam::kOffset);
    object.isLevelObject = GetParameter<bool>(pattern, PatternParam::kIsLevelObject);
    object.trans.x = GetParameter<float>(pattern, PatternParam::kX);
    object.trans.y = GetParameter<float>(pattern, PatternParam::kY);
    object.trans.z = GetParameter<float>(pattern, PatternParam::kZ);
    return true;
}

void StampPhysics(GameObject& object, ObjectPattern pattern) {
    if (!object.GetPhysicsComp()) object.AttachComponent(PhysicsComp());
    PhysicsComp& body = *object.GetPhysicsComp();
    body.mass = GetParameter<float>(pattern, PatternParam::kMass);
    body.infMass = GetParameter<bool>(pattern, PatternParam::kInfMass);
}

void StampStats(GameObject& object, ObjectPattern pattern) {
    if (!object.GetStatsComp()) object.AttachComponent(StatsComp());
    StatsComp& stats = *object.GetStatsComp();
    stats.deathEffect.effectType = 0;
    stats.deathEffect.effectSize = 6.05f;
    stats.healthMax = GetParameter<int>(pattern, PatternParam::kHealthMax);
    stats.magic = GetParameter<int>(pattern, PatternParam::kMagic);
    stats.boost = GetParameter<float>(pattern, PatternParam::kBoost);
    stats.armor = GetParameter<float>(pattern, PatternParam::kArmor);
    stats.speed = GetParameter<float>(pattern, PatternParam::kSpeed);
    // A fresh object starts full; the shield (sp) keeps what it had.
    stats.hp = stats.healthMax;
    stats.mp = stats.magic;
    stats.bp = stats.boost;
}

void StampSpawn(GameObject& object, ObjectPattern pattern) {
    if (!object.HasComp(CompIndex::Spawn)) object.AttachComponent(SpawnComp());
    SpawnComp& spawn = *static_cast<SpawnComp*>(object.GetComponent(CompIndex::Spawn));
    spawn.delay = GetParameter<float>(pattern, PatternParam::kDelay);
    // A fresh spawn point waits one whole delay before its first release.
    spawn.countdown = spawn.delay;
    if (HasParam(pattern.paramList, PatternParam::kSpawnDir)) spawn.spawnDir = GetParameter<Vector>(pattern, PatternParam::kSpawnDir);
    Module<SpawnManager>::Instance()->AddSpawnPoint(object.name);
}

}  // namespace ObjectFactory
