#include "sound_synth.h"

#include <functional>

#include "gen_common.h"
#include "music_loop.h"
#include "sound_effects.h"
#include "wav_writer.h"

const GeneratedSound kGeneratedSounds[] = {
    {"sample_shot_laser1", "resource/sounds/sample_shot_laser1.wav", false},
    {"sample_shot_laser2", "resource/sounds/sample_shot_laser2.wav", false},
    {"sample_missile_fire", "resource/sounds/sample_missile_fire.wav", false},
    {"sample_explosion_short", "resource/sounds/sample_explosion_short.wav", false},
    {"sample_explosion_long", "resource/sounds/sample_explosion_long.wav", false},
    {"sample_shield_hit1", "resource/sounds/sample_shield_hit1.wav", false},
    {"sample_shield_hit2", "resource/sounds/sample_shield_hit2.wav", false},
    {"sample_shield_hit3", "resource/sounds/sample_shield_hit3.wav", false},
    {"sample_hull_hit", "resource/sounds/sample_hull_hit.wav", false},
    {"sample_step", "resource/sounds/sample_step.wav", false},
    {"sample_landing", "resource/sounds/sample_landing.wav", false},
    {"sample_boost", "resource/sounds/sample_boost.wav", true},
    {"sample_health_pickup", "resource/sounds/sample_health_pickup.wav", false},
    {"sample_recharge_shield", "resource/sounds/sample_recharge_shield.wav", false},
    {"stream_BG Music", "resource/sounds/stream_bg_music.wav", true},
};
const int kGeneratedSoundCount = sizeof(kGeneratedSounds) / sizeof(kGeneratedSounds[0]);

namespace {

// The recipes, in the order of kGeneratedSounds' samples.
const std::function<synth::Signal()> EFFECTS[] = {
    effects::Laser1,
    effects::Laser2,
    effects::MissileLaunch,
    effects::ExplosionShort,
    effects::ExplosionLong,
    [] { return effects::ShieldHit(1); },
    [] { return effects::ShieldHit(2); },
    [] { return effects::ShieldHit(3); },
    effects::HullHit,
    effects::Step,
    effects::Landing,
    effects::BoostLoop,
    effects::HealthPickup,
    effects::ShieldRecharge,
};
constexpr int kEffectCount = sizeof(EFFECTS) / sizeof(EFFECTS[0]);
static_assert(sizeof(kGeneratedSounds) / sizeof(kGeneratedSounds[0]) == kEffectCount + 1,
              "one recipe per sample, then the music");

bool Write(const std::string& runDir, const GeneratedSound& sound,
           const std::vector<std::int16_t>& pcm, int channels) {
    std::string path = OutputPath(runDir, sound.file);
    return !path.empty() && WriteWav16(path, pcm, channels, synth::kRate);
}

}  // namespace

bool GenerateSounds(const std::string& runDir) {
    for (int i = 0; i < kEffectCount; ++i) {
        if (!Write(runDir, kGeneratedSounds[i], synth::ToPcm16(EFFECTS[i]()), 1)) return false;
    }
    music::StereoSignal loop = music::BackgroundLoop();
    return Write(runDir, kGeneratedSounds[kEffectCount], synth::ToPcm16(loop.left, &loop.right), 2);
}
