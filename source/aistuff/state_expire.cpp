#include "aistuff/state_expire.h"

#include <cmath>

#include "aistuff/state_owner.h"
#include "object_manager.h"
#include "system.h"

namespace {

double Now() { return Module<System>::Instance()->GetTime(); }

}  // namespace

StateExpire::StateExpire(const std::string& owner, double lifetime) : lifetime(lifetime), lastTime(Now()) {
    stateName = "expire";
    ownerName = owner;
    finished = false;
}

void StateExpire::Update() {
    GameObject* owner = state_owner::Find(ownerName);
    if (!owner) return;
    // A NaN lifetime would never compare as used up and the shot would live
    // for ever; an infinite one likewise.
    if (!std::isfinite(lifetime) || lifetime <= 0.0) {
        state_owner::StopAll(ownerName);
        Module<ObjectManager>::Instance()->KillGameObject(*owner);
        return;
    }
    const double now = Now();
    lifetime -= now - lastTime;
    lastTime = now;
}

void StateExpire::Exit() { state_owner::StopAll(ownerName); }
