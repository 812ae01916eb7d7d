// InterfaceManager: the head-up display's answers to hits, the player's
// (ShowHitIndicator, from the in-game state's hit handling) and an enemy's
// ("Enemy Hit").
#include <optional>

#include "interface/crosshair.h"
#include "interface/hit_indicator.h"
#include "interface_manager.h"
#include "object_manager.h"

namespace {

// The registered indicator of that name, or null.
PlayerTookDamageIndicator* Indicator(const char* name) {
    if (!name) return nullptr;
    return dynamic_cast<PlayerTookDamageIndicator*>(Module<ObjectManager>::Instance()->interObjList.Find(name));
}

}  // namespace

void InterfaceManager::ShowHitIndicator(Vector direction) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    Matrix view;
    {
        std::optional<ObjectLock> lock;
        if (!objects.IsLockedByThisThread()) lock.emplace(objects);
        if (!objects.HasGameObject(GameObject::kPlayerName)) return;
        view = objects.cameraObject.viewMat;
    }
    const HitSides sides = ChooseHitSides(view, direction);
    if (PlayerTookDamageIndicator* primary = Indicator(sides.primary)) primary->Restart(0.0f);
    if (PlayerTookDamageIndicator* secondary = Indicator(sides.secondary))
        secondary->Restart(secondary->duration * 0.25f);
}

void InterfaceManager::ShowEnemyHit() {
    if (auto* crosshair = dynamic_cast<Crosshair*>(Module<ObjectManager>::Instance()->interObjList.Find(Crosshair::kDisplayName)))
        crosshair->ShowHit();
}
