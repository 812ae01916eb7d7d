// Where a 3D sound is heard: turns the listener and a sound's world position
// into the mixer's pan angle and distance damping. Pure functions, any
// thread; used by the SDL_mixer layer.
#pragma once

namespace platform {

struct SoundListener {
    float position[3] = {0.0f, 0.0f, 0.0f};
    float forward[3] = {0.0f, 0.0f, -1.0f};
    float top[3] = {0.0f, 1.0f, 0.0f};
};

struct SoundPlacement {
    int angle = 0;     // degrees clockwise from straight ahead, 0..359
    int distance = 0;  // mixer damping, 0 (full volume) .. 255 (silent)
};

// Within this distance a sound is heard at full volume; beyond it the
// volume falls as minDistance / (minDistance + rolloff * (d - minDistance)).
constexpr float kSoundMinDistance = 10.0f;
constexpr float kMaxRolloff = 10.0f;

// The volume factor (0..1] at a distance for a roll-off factor (0..10).
float DistanceGain(float distance, float rolloff);

// World coordinates are right-handed: right = forward x top. A degenerate
// forward or top vector falls back to looking along -z with +y up.
SoundPlacement PlaceSound(const SoundListener& listener, const float position[3],
                          float rolloff);

}  // namespace platform
