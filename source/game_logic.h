// GameLogic: a placeholder until its own issue builds the module.
// It will run the stack of game states.
// Its Init only seeds the random generator; Update and Kill do nothing yet,
// so start-up, the frame loop and shutdown already call it in its final
// place: Update on the main thread.
//
// Built already: AutoGenerateCollision and its per-mesh cache, which the
// object factory uses when a pattern asks for generated collision volumes;
// and shotsFired, the statistic that the player's weapons count.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "module.h"
#include "platform/random.h"
#include "objects/collision_comp.h"

class GameObject;

class GameLogic : public virtual Module<GameLogic> {
public:
    GameLogic() : Module<GameLogic>("GameLogic") {}

    // The one seeding of the game-wide random generator.
    void Init() override { platform::SeedRandomOnce(); }
    void Update() override {}
    void Kill() override {}

    // Gives the object a CollisionComp whose volumes (sphere, separating
    // axes, oriented and axis-aligned boxes) are built from its mesh, once per
    // mesh name: later objects with that mesh get a copy of the first one's
    // volumes, whatever their scale. An object already holding a CollisionComp
    // keeps it and has it filled. Without a loaded, non-empty mesh the object
    // gets a default component and a warning, and nothing is cached.
    // Any thread that builds objects (main, level loader); the cache has its
    // own lock. The object must be local or held under the object lock.
    void AutoGenerateCollision(GameObject& object);

    // Mesh name to finished volumes; never cleared, not between levels either.
    // The copies belong to no component pool. Guarded by collisionCacheMutex.
    std::unordered_map<std::string, CollisionComp> collisionCache;

    // Trigger pulls of the player's weapons that passed the rate test,
    // missiles included (however many projectiles a pull makes). Written by
    // the weapons on the main thread; the end-of-game statistics read it.
    uint32_t shotsFired = 0;

private:
    std::mutex collisionCacheMutex;
};
