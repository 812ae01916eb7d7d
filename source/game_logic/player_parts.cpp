#include "game_logic/player_parts.h"

#include <set>

#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

namespace {

std::set<std::string>& ReportedParts() {
    static std::set<std::string> reported;
    return reported;
}

GameObject* FindObject(ObjectManager& objects, const std::string& name) {
    if (objects.HasGameObject(name)) return objects.GetGameObject(name);
    WarnMissingPart(name);
    return nullptr;
}

}  // namespace

void WarnMissingPart(const std::string& what) {
    if (ReportedParts().insert(what).second)
        Module<System>::Instance()->Warning(SOURCE_POS + what +
                                            " is missing; what needs it is skipped until the next level");
}

void ForgetMissingParts() { ReportedParts().clear(); }

bool FindPlayerParts(ObjectManager& objects, PlayerParts& parts) {
    parts = PlayerParts();
    parts.player = FindObject(objects, GameObject::kPlayerName);
    parts.foot = FindObject(objects, kPlayerFootName);
    if (parts.player) {
        parts.stats = parts.player->GetStatsComp();
        parts.body = parts.player->GetPhysicsComp();
        if (!parts.stats) WarnMissingPart("the player's StatsComp");
        if (!parts.body) WarnMissingPart("the player's PhysicsComp");
    }
    return parts.player && parts.foot && parts.stats && parts.body;
}
