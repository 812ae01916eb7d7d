// ObjectFactory::StampCollision: generated or given collision volumes, then
// the collision filter bits.
#include "game_logic.h"
#include "object_factory.h"
#include "objects/collision_comp.h"
#include "objects/game_object.h"
#include "system.h"

namespace ObjectFactory {

namespace {

// 1 << group, or 0 with a warning for a group that is not a bit of the masks.
uint32_t GroupBit(int group, const GameObject& object) {
    if (group >= 0 && group < CollisionComp::kGroupCount) return uint32_t(1) << group;
    Module<System>::Instance()->Warning(SOURCE_POS + "collision group " + std::to_string(group) +
                                        " of " + object.name + " is not in 0.." +
                                        std::to_string(CollisionComp::kGroupCount - 1) + "; ignored");
    return 0;
}

void ApplyGivenVolumes(CollisionComp& comp, const ObjectPattern& pattern) {
    if (GetParameter<bool>(pattern, PatternParam::kHasOBB)) {
        comp.hasOBB = true;
        comp.obb = GetParameter<OBB>(pattern, PatternParam::kObb);
    }
    if (GetParameter<bool>(pattern, PatternParam::kHasAABB)) {
        comp.hasAABB = true;
        comp.aabb = GetParameter<AABB>(pattern, PatternParam::kAabb);
    }
    if (GetParameter<bool>(pattern, PatternParam::kHasSphere)) {
        comp.hasBoundSphere = true;
        comp.boundSphere = GetParameter<BoundingSphere>(pattern, PatternParam::kSphere);
    }
}

// The pattern reader drops a "group" it refused (and says so); a pattern
// without one gets no category bit rather than losing the whole object.
void ApplyGroups(CollisionComp& comp, const ObjectPattern& pattern, const GameObject& object) {
    if (HasParam(pattern.paramList, PatternParam::kGroup))
        comp.category |= GroupBit(GetParameter<int>(pattern, PatternParam::kGroup), object);
    else
        Module<System>::Instance()->Warning(SOURCE_POS + "collision section of " + object.name +
                                            " has no group; no category bit set");
    for (int group : pattern.collidesWithList) comp.collidesWith |= GroupBit(group, object);
}

}  // namespace

void StampCollision(GameObject& object, ObjectPattern pattern) {
    if (GetParameter<bool>(pattern, PatternParam::kAutoGenerate)) {
        Module<GameLogic>::Instance()->AutoGenerateCollision(object);
    } else {
        // Attached without looking first: on a re-stamp the attach reports
        // the duplicate and the held component is filled.
        object.AttachComponent(CollisionComp());
        ApplyGivenVolumes(*object.GetCollisionComp(), pattern);
    }
    CollisionComp* comp = object.GetCollisionComp();
    if (comp) ApplyGroups(*comp, pattern, object);
}

}  // namespace ObjectFactory
