#include "aistuff/state_owner.h"

#include "object_manager.h"
#include "objects/game_object.h"
#include "objects/graphics_comps.h"
#include "objects/physics_comp.h"

namespace state_owner {

GameObject* Find(const std::string& name) {
    ObjectManager* objects = Module<ObjectManager>::Instance();
    return objects->HasGameObject(name) ? objects->GetGameObject(name) : nullptr;
}

void SetAnimation(const std::string& name, int animation) {
    GameObject* owner = Find(name);
    GraphicsComp* graphics = owner ? owner->GetGraphicsComp() : nullptr;
    if (graphics) graphics->skeleton.curAnimation = animation;
}

void StopAll(const std::string& name) {
    GameObject* owner = Find(name);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (!body) return;
    body->linearVel = Vector(0, 0, 0, 0);
    body->angularVel = Vector(0, 0, 0, 0);
}

void StopMoving(const std::string& name) {
    GameObject* owner = Find(name);
    PhysicsComp* body = owner ? owner->GetPhysicsComp() : nullptr;
    if (!body) return;
    body->linearVel = Vector(0, 0, 0, 0);
    body->angularVel.y = 0.0f;
}

}  // namespace state_owner
