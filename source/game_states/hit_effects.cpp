// Sounds and particle effects of hits, with the per-frame check of samples.
#include "game_states/hit_effects.h"

#include <unordered_set>

#include "module.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "system.h"

namespace hit_effects {

namespace {

// Names already warned about; main thread only.
std::unordered_set<std::string>& WarnedSamples() {
    static std::unordered_set<std::string> warned;
    return warned;
}

}  // namespace

void PlayAt(const std::string& sample, const Vector& at) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    if (!store.IsStored(sample)) {
        if (WarnedSamples().insert(sample).second)
            Module<System>::Instance()->Warning(SOURCE_POS + "sound " + sample +
                                                " is not loaded; hits play without it");
        return;
    }
    const Sound* stored = store.get<Sound>(Handle(sample));
    if (!stored) return;  // stored as another type: reported by the store
    Sound sound = *stored;
    sound.position = at;
    Module<SoundManager>::Instance()->PlaySample(sound);
}

void ShowEffect(const effectData& effect, const Vector& at) {
    Module<ObjectManager>::Instance()->particleSystemController.CreateEffect(effect.effectType, effect.effectSize,
                                                                            "", at, effect.param);
}

}  // namespace hit_effects
