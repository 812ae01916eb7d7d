#include "platform/sound_placement.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 Load(const float v[3]) { return {v[0], v[1], v[2]}; }
Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(Vec3 v) { return std::sqrt(Dot(v, v)); }

Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// False when v is too short (or not finite) to give a direction.
bool Normalize(Vec3& v) {
    float length = Length(v);
    if (!(length > 1e-6f) || !std::isfinite(length)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

// The listener's forward and right axes; a camera looking straight up or
// down along its top vector still gets a usable frame.
void ListenerAxes(const SoundListener& listener, Vec3& forward, Vec3& right) {
    forward = Load(listener.forward);
    Vec3 top = Load(listener.top);
    if (!Normalize(forward)) forward = {0.0f, 0.0f, -1.0f};
    right = Cross(forward, top);
    if (!Normalize(right)) {
        right = Cross(forward, Vec3{0.0f, 1.0f, 0.0f});
        if (!Normalize(right)) right = {1.0f, 0.0f, 0.0f};
    }
}

}  // namespace

float DistanceGain(float distance, float rolloff) {
    rolloff = std::clamp(std::isfinite(rolloff) ? rolloff : 1.0f, 0.0f, kMaxRolloff);
    if (!(distance > kSoundMinDistance)) return 1.0f;
    if (!std::isfinite(distance)) return rolloff > 0.0f ? 0.0f : 1.0f;
    return kSoundMinDistance / (kSoundMinDistance + rolloff * (distance - kSoundMinDistance));
}

SoundPlacement PlaceSound(const SoundListener& listener, const float position[3],
                          float rolloff) {
    Vec3 offset = Sub(Load(position), Load(listener.position));
    Vec3 forward, right;
    ListenerAxes(listener, forward, right);

    SoundPlacement placement;
    float ahead = Dot(offset, forward);
    float side = Dot(offset, right);
    if (std::isfinite(ahead) && std::isfinite(side) && (ahead != 0.0f || side != 0.0f)) {
        float degrees = std::atan2(side, ahead) * 180.0f / 3.14159265f;
        placement.angle = (static_cast<int>(std::lround(degrees)) + 360) % 360;
    }
    float gain = DistanceGain(Length(offset), rolloff);
    placement.distance = std::clamp(static_cast<int>(std::lround(255.0f * (1.0f - gain))), 0, 255);
    return placement;
}

}  // namespace platform
