// Building one projectile: a laser shot from components, or a missile from the
// pattern "Missile" with its trail; both named, armed with the weapon's
// bullet, placed and aimed, given their lifetime and their collision filter.
#include <exception>

#include "aistuff/state_expire.h"
#include "module.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "system.h"
#include "weapons.h"
#include "weapons/launch.h"
#include "xml_file/text_numbers.h"

namespace {

const char* const kMissilePattern = "Missile";
const char* const kCameraShotTexture = "tex_shot_red";
const char* const kBoneShotTexture = "tex_shot_blue";
const int32_t kTrailEffect = 17;
const float kTrailSize = 6.0f;
const float kProjectileRadius = 0.1f;

// Collision filter bits.
const uint32_t kEnemyTargets = 1;
const uint32_t kPlayerTargets = 2;
const uint32_t kProjectileBit = 4;
const uint32_t kSceneryBit = 8;
const int32_t kPlayerFaction = 2;

// Attaches comp unless the object already holds one of its kind (the missile
// pattern may give it). That refusal is the object's own error, reported once
// here instead of once per missile; the held component stays.
void AttachUnlessHeld(GameObject& object, const Component& comp) {
    if (!object.HasComp(comp.componentIndex)) {
        object.AttachComponent(comp);
        return;
    }
    weapons::ErrorOnce(SOURCE_POS + "tried to attach a duplicate component: the pattern \"" + kMissilePattern +
                       "\" already gives component " + std::to_string(comp.componentIndex) +
                       ", which missiles keep");
}

void AddShotBody(GameObject& object, bool cameraMuzzle) {
    object.AttachComponent(PhysicsComp());
    BillboardComp billboard;
    billboard.texture = Handle(cameraMuzzle ? kCameraShotTexture : kBoneShotTexture);
    billboard.width = 1.0f;
    billboard.height = 1.0f;
    object.AttachComponent(billboard);
}

// The pattern's body. Whatever the pattern lacks, the missile still gets the
// PhysicsComp that its flight is written into.
void AddMissileBody(GameObject& object) {
    const ObjectPattern pattern = Module<ResourceManager>::Instance()->GetPattern(kMissilePattern);
    if (ObjectFactory::IsUnknownPattern(pattern)) {
        weapons::ErrorOnce(SOURCE_POS + "unknown object pattern " + kMissilePattern +
                           "; missiles fly without a body");
    } else {
        try {
            ObjectFactory::StampObject(object, pattern);
        } catch (const std::exception& error) {
            weapons::ErrorOnce(SOURCE_POS + "the pattern " + kMissilePattern + " could not be stamped whole: " +
                               error.what());
        }
    }
    if (!object.GetPhysicsComp()) object.AttachComponent(PhysicsComp());
}

void SetProjectileCollision(CollisionComp& comp, int32_t faction) {
    comp.boundSphere.radius = kProjectileRadius;
    comp.hasBoundSphere = true;
    // Projectiles pass through what they hit; the hit handling kills them.
    comp.resolveContact = false;
    comp.category |= kProjectileBit;
    comp.collidesWith |= (faction == kPlayerFaction ? kPlayerTargets : kEnemyTargets) | kSceneryBit;
}

}  // namespace

GameObject Weapon::SpawnShot(Vector v) { return Spawn(Kind::Shot, v); }

GameObject Weapon::SpawnMissile(Vector v) { return Spawn(Kind::Missile, v); }

GameObject Weapon::Spawn(Kind kind, Vector v) const {
    weapons::Muzzle muzzle;
    std::string reason;
    if (!weapons::LocateMuzzle(*this, hotSpotIndex, muzzle, reason)) {
        Module<System>::Instance()->Error(SOURCE_POS + "the weapon of " + owner + " " + reason +
                                          "; no projectile built");
        return GameObject();
    }
    const Vector& axis = kind == Kind::Shot ? weapons::kShotAxis : weapons::kMissileAxis;
    return Build(kind, muzzle, weapons::Aim(muzzle, v, speed, axis));
}

GameObject Weapon::Build(Kind kind, const weapons::Muzzle& muzzle, const weapons::Launch& launch) const {
    GameObject object("");
    if (kind == Kind::Shot)
        AddShotBody(object, muzzle.onCamera);
    else
        AddMissileBody(object);
    object.name = Module<ResourceManager>::Instance()->MakeObjectName(bulletName);

    AttachUnlessHeld(object, bulletPrototype);
    static_cast<BulletComp*>(object.GetComponent(CompIndex::Bullet))->damage = TruncateToInt(baseDamage);
    AttachUnlessHeld(object, BehaviorComp());

    object.trans = launch.position;
    object.rot = launch.rot;
    object.GetPhysicsComp()->linearVel = launch.velocity;
    if (kind == Kind::Missile)
        Module<ObjectManager>::Instance()->particleSystemController.CreateEffect(
            kTrailEffect, kTrailSize, object.name, object.trans, Vector());

    FSMStateMachine& machine = object.GetBehaviorComp()->sm;
    machine.name = object.name;
    machine.Push(new StateExpire(object.name, expire));

    AttachUnlessHeld(object, CollisionComp());
    SetProjectileCollision(*object.GetCollisionComp(), bulletPrototype.faction);
    return object;
}
