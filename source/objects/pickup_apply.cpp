// PickupComp::ApplyPickup: a collected pickup restores hull points or adds
// missiles, plays the pickup sound and shows a line on the head-up display.
// Main thread, with the object lock held by the caller (the in-game state's
// hit handling); takes no lock itself.
#include <cstdint>
#include <string>

#include "event_manager.h"
#include "interface/game_message.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "objects/game_object.h"
#include "objects/world_comps.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "weapons.h"

namespace {

constexpr const char* kPickupSender = "MissilePickup";
constexpr const char* kPickupSound = "sample_health_pickup";

// The amount a pickup raises, its cap and the message's words.
struct PickupTarget {
    int32_t* amount = nullptr;
    int32_t maximum = 0;
    const char* label = "";
};

// Null amount when the collector lacks the component the kind needs.
PickupTarget FindTarget(GameObject& collector, int32_t kind) {
    PickupTarget target;
    if (kind == PickupComp::kHealth) {
        if (StatsComp* stats = collector.GetStatsComp())
            target = {&stats->hp, stats->healthMax, "Health +"};
    } else if (kind == PickupComp::kAmmo) {
        WeaponComp* weapons = collector.GetWeaponComp();
        if (weapons && weapons->secondary)
            target = {&weapons->secondary->ammo, weapons->secondary->maxAmmo, "Missiles +"};
    }
    return target;
}

// Adds value to the amount, never above the maximum; returns the gain.
int32_t RaiseAmount(int32_t& amount, int32_t maximum, int32_t value) {
    // Summed wide: a pattern file may give any value.
    const int64_t sum = static_cast<int64_t>(amount) + value;
    if (sum > maximum) {
        const int32_t gain = maximum - amount;
        amount = maximum;
        return gain;
    }
    amount = static_cast<int32_t>(sum);
    return value;
}

void PlayPickupSound(const Vector& at) {
    // A sound that is not loaded has been reported by the store; play nothing.
    Sound* stored = Module<ResourceManager>::Instance()->get<Sound>(Handle(kPickupSound));
    if (!stored) return;
    Sound sound = *stored;
    sound.position = at;
    Module<SoundManager>::Instance()->PlaySample(sound);
}

GMessage PickupMessage(const std::string& text) {
    GMessage message;
    message.key = "pickupMessage";
    message.text = text;
    message.color = Vector(0.0f, 1.0f, 0.0f, 1.0f);
    message.position = Vector(0.2f, 0.9f, 0.0f, 0.0f);
    message.typeOut = true;
    message.letterTime = 0.1f;
    message.displayTime = 4.0f;
    return message;
}

void PostPickupMessage(const std::string& text) { PostGameMessage(kPickupSender, PickupMessage(text)); }

}  // namespace

bool PickupComp::ApplyPickup(std::string collectorName) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (!objects.HasGameObject(collectorName)) return false;
    if (kind != kHealth && kind != kAmmo) return true;  // unknown kinds are used up

    const PickupTarget target = FindTarget(*objects.GetGameObject(collectorName), kind);
    if (!target.amount || *target.amount >= target.maximum) return false;

    PlayPickupSound(objects.cameraObject.target);
    const int32_t gain = RaiseAmount(*target.amount, target.maximum, value);
    PostPickupMessage(target.label + std::to_string(gain));
    return true;
}
