#include "game_logic/player_fit_out.h"

#include "game_logic.h"
#include "game_logic/player_parts.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "objects/physics_comp.h"
#include "weapons.h"

namespace {

constexpr float kHoverHeight = 25.0f;
constexpr int32_t kPlayerFaction = 2;
// The foot touches what the level's objects collide with, and nothing pushes it.
constexpr uint32_t kFootCategory = 16;
constexpr uint32_t kFootCollidesWith = 8;
constexpr float kFootMass = 10000.0f;
constexpr float kDeathEffectSize = 17.0f;

effectData Effect(int32_t type, float size) {
    effectData effect;
    effect.effectType = type;
    effect.effectSize = size;
    return effect;
}

// Settings both weapons share; hot spots are muzzles fixed to the camera.
void SetCommon(Weapon& weapon, const std::string& owner, const char* bulletName, float damage, float rate) {
    weapon.bulletName = bulletName;
    weapon.baseDamage = damage;
    weapon.speed = 900.0f;
    weapon.rate = rate;
    weapon.expire = 10.0;
    weapon.num = 1;
    weapon.owner = owner;
    weapon.bulletPrototype.faction = kPlayerFaction;
}

void FitOutFoot(GameObject& foot) {
    // A foot the level already had keeps its components, set again.
    if (!foot.GetCollisionComp()) foot.AttachComponent(CollisionComp());
    CollisionComp& collision = *foot.GetCollisionComp();
    collision.obb.extents = Vector(4.0f, 1.0f, 4.0f, 0.0f);
    collision.hasOBB = true;
    collision.boundSphere.radius = 6.0f;
    collision.hasBoundSphere = true;
    collision.resolveContact = false;
    collision.category |= kFootCategory;
    collision.collidesWith |= kFootCollidesWith;
    if (!foot.GetPhysicsComp()) foot.AttachComponent(PhysicsComp());
    foot.GetPhysicsComp()->mass = kFootMass;
}

// The weapons the player held are the component's, so they are freed here.
void ArmPlayer(GameObject& player) {
    WeaponComp& weapons = *player.GetWeaponComp();
    delete weapons.primary;
    weapons.primary = MakePlayerLaser(player.name).release();
    delete weapons.secondary;
    weapons.secondary = MakePlayerMissiles(player.name).release();
}

// Everything after the foot's registration, under the object lock.
void FitOutUnderLock(GameLogic& game, ObjectManager& objects) {
    GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
    player.rot = Quaternion(0.0f, Vector(0.0f, 1.0f, 0.0f, 0.0f));
    objects.cameraObject.pitch = 0.0f;
    objects.cameraObject.yaw = 0.0f;
    if (objects.HasGameObject(kPlayerFootName)) FitOutFoot(*objects.GetGameObject(kPlayerFootName));
    game.dashing = false;
    game.upBoosting = false;
    game.boostRechargeDelay = 0.0;
    ArmPlayer(player);
    player.GetStatsComp()->deathEffect = Effect(0, kDeathEffectSize);
    game.stepArmed = false;
}

}  // namespace

std::string MissingPlayerParts(const ObjectManager& objects) {
    if (!objects.HasGameObject(GameObject::kPlayerName)) return "no \"player\" object";
    const GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
    std::string missing;
    if (!player.GetCollisionComp()) missing += " CollisionComp";
    if (!player.GetWeaponComp()) missing += " WeaponComp";
    if (!player.GetStatsComp()) missing += " StatsComp";
    return missing.empty() ? missing : "\"player\" has no" + missing;
}

bool FitOutPlayer(GameLogic& game, std::string& missing) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    bool footRegistered = false;
    {
        ObjectLock lock(objects);
        missing = MissingPlayerParts(objects);
        if (!missing.empty()) return false;
        game.hoverHeight = kHoverHeight;
        objects.GetGameObject(GameObject::kPlayerName)->GetCollisionComp()->canBePicked = true;
        footRegistered = objects.HasGameObject(kPlayerFootName);
    }
    if (!footRegistered) objects.AddGameObject(GameObject(kPlayerFootName));
    ObjectLock lock(objects);
    // A script on the main thread may have changed the table while it was free.
    missing = MissingPlayerParts(objects);
    if (!missing.empty()) return false;
    FitOutUnderLock(game, objects);
    return true;
}

std::unique_ptr<Weapon> MakePlayerLaser(const std::string& owner) {
    auto laser = std::make_unique<SimpleSpread>();
    SetCommon(*laser, owner, "playerBullet", 2.0f, 0.05f);
    laser->alternate = true;
    laser->AddHotSpot(-6.0f, 0.0f, 0.0f, Weapon::kCameraMuzzle);
    laser->AddHotSpot(6.0f, 0.0f, 0.0f, Weapon::kCameraMuzzle);
    BulletComp& shot = laser->bulletPrototype;
    shot.groundEffect = Effect(13, 0.9f);
    shot.mechEffect = Effect(2, 0.65f);
    shot.expireEffect.effectType = 19;
    shot.buildingEffect = Effect(14, 1.2f);
    return laser;
}

std::unique_ptr<Weapon> MakePlayerMissiles(const std::string& owner) {
    auto launcher = std::make_unique<Missile>();
    SetCommon(*launcher, owner, "playerRocket", 25.0f, 0.2f);
    launcher->alternate = false;
    launcher->AddHotSpot(8.0f, 4.5f, 0.0f, Weapon::kCameraMuzzle);
    BulletComp& missile = launcher->bulletPrototype;
    missile.groundEffect = Effect(4, 8.0f);
    missile.mechEffect = Effect(5, 8.0f);
    missile.expireEffect = Effect(5, 8.0f);
    missile.buildingEffect = Effect(5, 8.0f);
    missile.splash = 15;
    missile.radius = 50.0f;
    launcher->ammo = 20;
    launcher->maxAmmo = 20;
    return launcher;
}
