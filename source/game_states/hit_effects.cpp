// Sounds and particle effects of hits.
#include "game_states/hit_effects.h"

#include "module.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "sound_manager.h"

namespace hit_effects {

void PlayAt(const std::string& sample, const Vector& at) {
    Module<SoundManager>::Instance()->PlayStoredSample(sample, at);
}

void ShowEffect(const effectData& effect, const Vector& at) {
    Module<ObjectManager>::Instance()->particleSystemController.CreateEffect(effect.effectType, effect.effectSize,
                                                                            "", at, effect.param);
}

}  // namespace hit_effects
