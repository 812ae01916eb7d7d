// ObjectFactory::StampBehavior and StampPickup: the stamps that give an object
// a state machine (an enemy's idle-then-hunt pair, a pickup's spin) and, for
// enemies, its weapons.
#include "aistuff/state_heavy.h"
#include "aistuff/state_inactive.h"
#include "aistuff/state_rotate.h"
#include "object_factory.h"
#include "objects/behavior_comp.h"
#include "objects/collision_comp.h"
#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "objects/world_comps.h"
#include "weapons.h"

namespace ObjectFactory {

namespace {

const float kWakeRange = 1000.0f;
const double kPickupSpinRate = 1.0;

// The object's state machine, named after the object; a default
// BehaviorComp is attached first when the object has none.
FSMStateMachine& NamedMachine(GameObject& object) {
    if (!object.GetBehaviorComp()) object.AttachComponent(BehaviorComp());
    FSMStateMachine& machine = object.GetBehaviorComp()->sm;
    machine.name = object.name;
    return machine;
}

void ClaimWeapons(GameObject& object) {
    WeaponComp* weapons = object.GetWeaponComp();
    if (!weapons) return;
    if (weapons->primary) weapons->primary->owner = object.name;
    if (weapons->secondary) weapons->secondary->owner = object.name;
}

}  // namespace

void StampBehavior(GameObject& object, ObjectPattern pattern) {
    FSMStateMachine& machine = NamedMachine(object);
    machine.Push(new StateHeavy(object.name));
    machine.Push(new StateInactive(object.name, GameObject::kPlayerName, kWakeRange));
    // Attached without looking first: an object that already carries weapons
    // keeps them, after the attach reports the duplicate.
    if (HasParam(pattern.paramList, PatternParam::kWeapon))
        object.AttachComponent(GetParameter<WeaponComp>(pattern, PatternParam::kWeaponComp));
    ClaimWeapons(object);
}

void StampPickup(GameObject& object, ObjectPattern pattern) {
    if (!object.HasComp(CompIndex::Pickup)) object.AttachComponent(PickupComp());
    PickupComp& pickup = *static_cast<PickupComp*>(object.GetComponent(CompIndex::Pickup));
    const std::string type = GetParameter<std::string>(pattern, PatternParam::kType);
    if (type == "ammo") pickup.kind = PickupComp::kAmmo;
    if (type == "health") pickup.kind = PickupComp::kHealth;
    if (HasParam(pattern.paramList, PatternParam::kValue)) pickup.value = GetParameter<int>(pattern, PatternParam::kValue);
    // The player walks through pickups instead of being pushed off them.
    if (CollisionComp* comp = object.GetCollisionComp()) comp->resolveContact = false;
    NamedMachine(object).Push(new StateRotate(object.name, kPickupSpinRate));
}

}  // namespace ObjectFactory
