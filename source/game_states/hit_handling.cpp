// The walk over the frame's contacts: foot, pickups, shots and explosions
// against their targets, damage, deaths and the drops of dead enemies.
#include <exception>
#include <optional>
#include <string>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_logic/player_parts.h"
#include "game_states/hit_effects.h"
#include "game_states/hit_rules.h"
#include "game_states/hits.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "interface_manager.h"
#include "module.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/random.h"
#include "resource_manager.h"
#include "system.h"

namespace hits {

namespace {

using hit_effects::PlayAt;
using hit_effects::ShowEffect;
using hit_rules::HitPair;

constexpr const char* kDeathSender = ": IngameState";  // after the enemy's name
constexpr const char* kEnemyNameLog = "enemyName";
constexpr int32_t kHitFlashFrames = 3;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
GameLogic& Logic() { return *Module<GameLogic>::Instance(); }

bool IsPlayer(const GameObject& object) { return object.name == GameObject::kPlayerName; }

// One contact between a projectile and its target, as the damage step needs it.
struct Hit {
    HitPair pair;
    // What the head-up display's hit indicator is given when the player is hit.
    Vector indicatorNormal;
};

// A pickup to drop where an enemy died. Everything is copied: the drop is
// registered after the object lock has been let go, when no reference into
// the table may be used any more.
struct PendingDrop {
    std::string name;
    std::string pattern;
    Vector enemyPosition;
};

// Where a projectile is: a shot's own position; an explosion keeps its trans
// at the default and carries its position in its sphere.
Vector ProjectilePosition(const GameObject& projectile) {
    const CollisionComp* collision = projectile.GetCollisionComp();
    if (hit_rules::ExplosionOf(projectile) && collision && collision->hasBoundSphere)
        return projectile.rot.Rotate(collision->boundSphere.center) + projectile.trans;
    return projectile.trans;
}

// The player's foot on level geometry: standing. True when the contact
// involved the foot at all (it is then finished).
bool TouchFoot(const GameObject& a, const GameObject& b) {
    const bool footIsA = a.name == kPlayerFootName;
    if (!footIsA && b.name != kPlayerFootName) return false;
    if ((footIsA ? b : a).isLevelObject) Logic().onGround = true;
    return true;
}

// A pickup and the player: the pickup is applied and, when it was, used up.
// Any other pair with a pickup in it has nothing to do (the collision groups
// should keep such pairs apart). True when either object is a pickup.
bool TouchPickup(GameObject& a, GameObject& b) {
    PickupComp* pickupA = hit_rules::PickupOf(a);
    PickupComp* pickupB = hit_rules::PickupOf(b);
    if (!pickupA && !pickupB) return false;
    GameObject* pickup = nullptr;
    if (pickupA && !pickupB && IsPlayer(b)) pickup = &a;
    if (pickupB && !pickupA && IsPlayer(a)) pickup = &b;
    if (pickup && !pickup->isDead && hit_rules::PickupOf(*pickup)->ApplyPickup(GameObject::kPlayerName))
        Objects().KillGameObject(*pickup);
    return true;
}

// A projectile meets level geometry. A shot breaks on what can be seen
// (with a graphics component) and passes what cannot; an explosion just ends.
void HitLevelObject(const HitPair& pair) {
    GameObject& projectile = *pair.projectile;
    if (pair.kind == HitPair::Explosion) {
        Objects().KillGameObject(projectile);
        return;
    }
    if (!pair.target->GetGraphicsComp()) return;
    const BulletComp& shot = *hit_rules::BulletOf(projectile);
    if (platform::Rand() % 2 == 1) PlayAt(hit_rules::kShieldHit3, projectile.trans);
    ShowEffect(shot.buildingEffect, projectile.trans);
    if (shot.splash != 0) SpawnExplosion(shot.radius, shot.splash, projectile.trans);
    Objects().KillGameObject(projectile);
}

// A shot strikes an object target: its impact, the target's flash and the
// shot's explosion, before the damage.
void StrikeWithShot(const HitPair& pair) {
    const GameObject& projectile = *pair.projectile;
    const BulletComp& shot = *hit_rules::BulletOf(projectile);
    PlayAt(hit_rules::kShieldHit1, projectile.trans);
    ShowEffect(shot.mechEffect, projectile.trans);
    if (GraphicsComp* graphics = pair.target->GetGraphicsComp()) {
        if (hit_rules::BulletOf(*pair.target))
            PlayAt(hit_rules::ExplosionOf(*pair.target) ? hit_rules::kExplosionLong : hit_rules::kHullHit,
                   projectile.trans);
        graphics->flashFrames = kHitFlashFrames;
    }
    if (shot.splash != 0) SpawnExplosion(shot.radius, shot.splash, projectile.trans);
}

// The damage rule on the target, its sound, the run's count of hits, and the
// projectile's end.
void DamageTarget(const Hit& hit) {
    GameLogic& logic = Logic();
    GameObject& target = *hit.pair.target;
    const bool isPlayer = IsPlayer(target);
    const char* sample = hit_rules::ApplyDamage(*target.GetStatsComp(), hit.pair.damage, isPlayer,
                                                {logic.damageShield, logic.damageArmor});
    PlayAt(sample, ProjectilePosition(*hit.pair.projectile));
    if (isPlayer)
        Module<InterfaceManager>::Instance()->ShowHitIndicator(hit.indicatorNormal);
    else
        logic.shotsHit = hit_rules::AddToCounter(logic.shotsHit, 1);
    Objects().KillGameObject(*hit.pair.projectile);
}

// Sent after every hit that leaves the player at 0 or below.
void AnnouncePlayerDeath() {
    state_events::ShowScreen(InterfaceState::GameOver);
    state_events::Publish(Event(addressee::kGameLogic, addressee::kGameLogic, GameLogic::kPlayerDeath));
}

void AnnounceEnemyDeath(const std::string& sender, int enemiesLeft) {
    Event death(sender, addressee::kInterfaceManager, kEnemyDeathEvent);
    death.SetParam<int>(GameLogic::kNumEnemiesParam, enemiesLeft);
    state_events::Publish(death);
    death.to = addressee::kGameLogic;
    state_events::Publish(death);
}

// An enemy's hp has run out: counted, announced, killed, blown up, logged,
// and one draw for a drop.
std::optional<PendingDrop> KillEnemy(GameObject& enemy, int& enemiesLeft) {
    GameLogic& logic = Logic();
    --enemiesLeft;
    logic.enemiesKilled = hit_rules::AddToCounter(logic.enemiesKilled, 1);
    const std::string sender = enemy.name + kDeathSender;
    AnnounceEnemyDeath(sender, enemiesLeft);
    Objects().KillGameObject(enemy);
    PlayAt(hit_rules::kExplosionShort, enemy.trans);
    ShowEffect(enemy.GetStatsComp()->deathEffect, enemy.trans);
    Module<System>::Instance()->Log(std::string(kEnemyNameLog) + " = " + sender);
    const std::optional<hit_rules::DropChoice> drop = hit_rules::ChooseDrop(enemy.name, platform::Rand());
    if (!drop) return std::nullopt;
    return PendingDrop{Module<ResourceManager>::Instance()->MakeObjectName(drop->prefix), drop->pattern,
                       enemy.trans};
}

// One contact, with the object lock held. Returns a drop to register.
std::optional<PendingDrop> HandleContact(const CollisionEvent& contact, int& enemiesLeft) {
    ObjectManager& objects = Objects();
    if (!objects.HasGameObject(contact.objB) || !objects.HasGameObject(contact.objA)) return std::nullopt;
    GameObject& a = *objects.GetGameObject(contact.objA);
    GameObject& b = *objects.GetGameObject(contact.objB);
    if (TouchFoot(a, b) || TouchPickup(a, b)) return std::nullopt;
    if (a.isDead || b.isDead) return std::nullopt;

    const HitPair pair = hit_rules::ChooseHitPair(a, b);
    if (pair.kind == HitPair::None) return std::nullopt;
    if (pair.target->isLevelObject) {
        HitLevelObject(pair);
        return std::nullopt;
    }
    if (pair.kind == HitPair::Shot) StrikeWithShot(pair);
    DamageTarget(Hit{pair, hit_rules::IndicatorNormal(contact.contactNormal, pair.flipped)});

    GameObject& target = *pair.target;
    if (target.GetStatsComp()->hp > 0) return std::nullopt;
    if (IsPlayer(target)) {
        AnnouncePlayerDeath();
        return std::nullopt;
    }
    return KillEnemy(target, enemiesLeft);
}

// The registered drop takes its pattern and its place above the enemy. A
// pattern that cannot be stamped (unknown, or failing) leaves no half-made
// pickup behind: the drop is killed. Object lock held.
void StampDrop(const PendingDrop& drop) {
    ObjectManager& objects = Objects();
    if (!objects.HasGameObject(drop.name)) return;
    GameObject& pickup = *objects.GetGameObject(drop.name);
    bool stamped = false;
    try {
        stamped = ObjectFactory::StampObject(pickup, Module<ResourceManager>::Instance()->GetPattern(drop.pattern));
    } catch (const std::exception& e) {
        Module<System>::Instance()->Error(SOURCE_POS + "the dropped pickup " + drop.name +
                                          " could not be made from pattern " + drop.pattern + ": " + e.what());
    }
    if (!stamped) {
        objects.KillGameObject(pickup);
        return;
    }
    pickup.name = drop.name;
    const CollisionComp* collision = pickup.GetCollisionComp();
    const float lift = collision ? collision->boundSphere.radius : 0.0f;
    const Vector& at = drop.enemyPosition;
    pickup.trans = Vector(at.x, at.y + lift, at.z, 1.0f);
}

}  // namespace

void HandleContacts(const std::vector<CollisionEvent>& contacts, int& enemiesLeft) {
    std::optional<ObjectLock> lock(std::in_place);
    for (const CollisionEvent& contact : contacts) {
        const std::optional<PendingDrop> drop = HandleContact(contact, enemiesLeft);
        if (!drop) continue;
        // AddGameObject takes the lock itself.
        lock.reset();
        const bool registered = Objects().AddGameObject(GameObject(drop->name));
        lock.emplace();
        if (registered) StampDrop(*drop);
    }
}

}  // namespace hits
