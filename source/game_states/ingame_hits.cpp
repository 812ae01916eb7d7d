// The in-game frame's steps for hits (HandleCollisions) and for the upkeep of
// shots and explosions (UpdateProjectiles), and the making of an explosion.
// The work itself is in hit_handling.cpp and projectile_upkeep.cpp.
#include <vector>

#include "behavior_manager.h"
#include "collision_manager.h"
#include "game_states/hit_rules.h"
#include "game_states/hits.h"
#include "game_states/ingame_state.h"
#include "module.h"
#include "objects/components.h"
#include "resource_manager.h"

namespace {

constexpr const char* kExplosionPrefix = "Explosion";
// An explosion is in collision group 2 and meets groups 0 and 1.
constexpr uint32_t kExplosionCategory = 4;
constexpr uint32_t kExplosionCollidesWith = 1 | 2;

}  // namespace

void IngameState::HandleCollisions() {
    std::vector<CollisionEvent> contacts;
    const unsigned pass = Module<CollisionManager>::Instance()->GetCollisionEvents(contacts);
    // While collision does not run (a paused game) its last list stays
    // published: each pass's contacts are answered once.
    if (pass == answeredContactPass) return;
    answeredContactPass = pass;
    hits::HandleContacts(contacts, enemiesLeft);
}

void IngameState::UpdateProjectiles() { hits::SweepProjectiles(); }

void SpawnExplosion(float radius, int damage, const Vector& position) {
    GameObject explosion;
    explosion.AttachComponent(ExplosionComp());
    explosion.AttachComponent(CollisionComp());
    explosion.name = Module<ResourceManager>::Instance()->MakeObjectName(kExplosionPrefix);

    ExplosionComp& blast = *hit_rules::ExplosionOf(explosion);
    blast.fresh = true;
    blast.damage = damage;
    blast.radius = radius;
    // Only the sphere carries the position; the object's trans stays put.
    CollisionComp& sphere = *explosion.GetCollisionComp();
    sphere.hasBoundSphere = true;
    sphere.boundSphere.center = position;
    sphere.boundSphere.radius = radius;
    sphere.resolveContact = false;
    sphere.category |= kExplosionCategory;
    sphere.collidesWith |= kExplosionCollidesWith;
    Module<BehaviorManager>::Instance()->QueueGameObject(explosion);
}
