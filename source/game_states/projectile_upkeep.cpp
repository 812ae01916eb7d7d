// The per-frame upkeep of short-lived objects: hit flashes, shots that reach
// the terrain, and explosions that have had their chance to hit.
#include "game_states/hit_effects.h"
#include "game_states/hit_rules.h"
#include "game_states/hits.h"
#include "game_states/ingame_state.h"
#include "module.h"
#include "object_manager.h"
#include "objects/components.h"

namespace hits {

namespace {

// A shot closer than this above the terrain (or below it) has reached it.
constexpr float kGroundReach = 0.5f;

void CountDownFlash(GameObject& object) {
    GraphicsComp* graphics = object.GetGraphicsComp();
    if (graphics && graphics->flashFrames > 0) --graphics->flashFrames;
}

void EndShotAtGround(ObjectManager& objects, GameObject& shot, const BulletComp& bullet) {
    Vector p = shot.trans;
    const float ground = objects.groundObject.GetHeight(p);
    if (!(p.y - ground < kGroundReach)) return;
    objects.KillGameObject(shot);
    p.y = ground;
    if (bullet.splash != 0) {
        hit_effects::PlayAt(hit_rules::kExplosionShort, p);
        SpawnExplosion(bullet.radius, bullet.splash, p);
    }
    hit_effects::ShowEffect(bullet.groundEffect, p);
}

// The first sweep after its registration lets it live; the second ends it.
void AgeExplosion(ObjectManager& objects, GameObject& object, ExplosionComp& explosion) {
    if (explosion.fresh)
        explosion.fresh = false;
    else
        objects.KillGameObject(object);
}

}  // namespace

void SweepProjectiles() {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    for (GameObjectList::value_type& entry : objects.gameObjectList) {
        GameObject& object = entry.second;
        if (object.isDead) continue;
        CountDownFlash(object);
        if (const BulletComp* bullet = hit_rules::BulletOf(object))
            EndShotAtGround(objects, object, *bullet);
        else if (ExplosionComp* explosion = hit_rules::ExplosionOf(object))
            AgeExplosion(objects, object, *explosion);
    }
}

}  // namespace hits
