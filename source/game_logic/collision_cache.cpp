// GameLogic::AutoGenerateCollision: collision volumes built from an object's
// mesh, kept per mesh name so that every later object with that mesh gets a
// copy instead of a rebuild.
#include "collision_manager/volumes.h"
#include "game_logic.h"
#include "objects/game_object.h"
#include "objects/graphics_comps.h"
#include "resource_manager/mesh.h"
#include "system.h"

namespace {

// The object's mesh, or null after a warning: an object without a
// GraphicsComp, or one whose mesh is missing or empty, has nothing to build
// volumes from. A mesh name that is not loaded was reported by the store.
const Mesh* SourceMesh(GameObject& object) {
    if (const Mesh* mesh = collision::ObjectMesh(object)) return mesh;
    Module<System>::Instance()->Warning(SOURCE_POS + "No mesh to generate collision volumes from for " +
                                        object.name + "; it gets default volumes");
    return nullptr;
}

void FillFromMesh(GameObject& object, CollisionComp& comp, const Mesh& mesh) {
    const float scale = object.GetGraphicsComp()->modelScale;
    collision::GenerateBoundingSphere(object);
    collision::GenerateAxesFromMesh(object);
    comp.obb = collision::BuildOBB(mesh, scale);
    comp.hasOBB = true;
    comp.aabb = collision::BuildAABB(mesh, scale);
    comp.hasAABB = true;
}

}  // namespace

void GameLogic::AutoGenerateCollision(GameObject& object) {
    const GraphicsComp* graphics = object.GetGraphicsComp();
    const std::string key = graphics ? graphics->modelMesh.GetID() : std::string();
    if (!key.empty()) {
        std::lock_guard<std::mutex> guard(collisionCacheMutex);
        auto cached = collisionCache.find(key);
        if (cached != collisionCache.end()) {
            object.AttachComponent(cached->second);
            return;
        }
    }

    object.AttachComponent(CollisionComp());
    CollisionComp& comp = *object.GetCollisionComp();
    comp.canBePicked = true;
    const Mesh* mesh = SourceMesh(object);
    if (!mesh) return;  // nothing is cached, so a later load of the mesh still counts
    FillFromMesh(object, comp, *mesh);

    CollisionComp stored(comp);
    stored.isFree.store(true);  // a standalone copy, outside every pool
    std::lock_guard<std::mutex> guard(collisionCacheMutex);
    collisionCache.emplace(key, stored);  // a racing builder's equal entry may already be there
}
