#include "objects/ground_plane_object.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "resource_manager.h"
#include "system.h"

namespace {

// Hover rule constants: how far a body may sink below or rise above its
// hover height, the band in which the spring acts, and the limits.
const float kSinkLimit = 2.0f;
const float kRiseLimit = 10000.0f;
const float kSpringBand = 0.5f;
const float kOffsetLimit = 3.0f;
const float kSpring = 65.0f;
const float kDamping = 10.0f;
const float kSpeedLimit = 200.0f;

// The interval [low, high] along one axis: `at` is clamped into it and
// `speed` cut so that a step of dt ends in it. An empty interval holds nothing.
void KeepStepWithin(float& at, float& speed, float low, float high, float dt) {
    if (!(low < high)) return;
    at = ClampFloat(at, low, high);
    if (dt > 0.0f) speed = ClampFloat(speed, (low - at) / dt, (high - at) / dt);
}

}  // namespace

GroundPlaneObject::GroundPlaneObject() : scale(0, 0, 0, 0), pos(0, 0, 0, 0) {}

Matrix GroundPlaneObject::GetMatrix() const {
    Matrix placement;
    placement.Zero();
    placement.m[0][0] = scale.x;
    placement.m[1][1] = scale.y;
    placement.m[2][2] = scale.z;
    placement.m[3][3] = 1.0f;
    placement.m[3][0] = pos.x;
    placement.m[3][1] = pos.y;
    placement.m[3][2] = pos.z;
    return placement;
}

const Texture* GroundPlaneObject::FindMap(const Handle& handle) {
    if (handle.id.empty()) return nullptr;
    return Module<ResourceManager>::Instance()->get<Texture>(handle);
}

bool GroundPlaneObject::ToTexel(const Texture& map, const Vector& point, float& fx,
                                float& fz) const {
    if (!map.data || map.width == 0 || map.height == 0) return false;
    if (scale.x == 0.0f || scale.z == 0.0f) return false;
    const float w = float(map.width);
    const float h = float(map.height);
    fx = w / scale.x * (point.x - pos.x);
    fz = h / scale.z * (point.z - pos.z);
    // Written so that a not-a-number coordinate also lands off the map.
    return fx >= 0.0f && fx < w && fz >= 0.0f && fz < h;
}

float GroundPlaneObject::GetHeight(const Vector& point) const {
    const Texture* map = FindMap(heightMapHandle);
    float fx = 0.0f, fz = 0.0f;
    if (!map || !ToTexel(*map, point, fx, fz)) return pos.y;
    // Image rows run against world z.
    float luminance = map->GetInterpAvgLuminance(fx, float(map->height) - fz);
    return luminance * scale.y + pos.y;
}

Vector GroundPlaneObject::GetColor(const Vector& point) const {
    const Texture* map = FindMap(colorMapHandle);
    float fx = 0.0f, fz = 0.0f;
    if (!map || !ToTexel(*map, point, fx, fz)) return Vector(0.3f, 0.3f, 0.3f, 1.0f);
    unsigned column = unsigned(fx);
    unsigned row = unsigned(float(map->height) - fz);
    if (row > map->height - 1) row = map->height - 1;
    // GetPixel is bounds-checked and reads missing channels of narrow pixels
    // as 0 instead of running into the next pixel.
    uint32_t texel = map->GetPixel(column, row);
    const float toUnit = 1.0f / 255.0f;
    return Vector(float(texel & 0xFFu) * toUnit, float((texel >> 8) & 0xFFu) * toUnit,
                  float((texel >> 16) & 0xFFu) * toUnit, 1.0f);
}

void GroundPlaneObject::KeepAboveGround(Vector& position, Vector& velocity, float hover) const {
    const float dt = float(Module<System>::Instance()->frameTime.load());
    const float target = GetHeight(position) + hover;

    position.y = ClampFloat(position.y, target - kSinkLimit, target + kRiseLimit);
    const float offset = ClampFloat(position.y - target, -kOffsetLimit, kOffsetLimit);

    if (position.y <= target + kSpringBand) {
        velocity.y -= kSpring * dt * offset * std::fabs(offset);
        // Damping may slow the body to a stop but never reverse it.
        const float limit = std::fabs(velocity.y);
        velocity.y += ClampFloat(-kDamping * dt * velocity.y, -limit, limit);
    }
    velocity.y = ClampFloat(velocity.y, -kSpeedLimit, kSpeedLimit);
}

void GroundPlaneObject::KeepStepInsideRim(Vector& position, Vector& velocity, float reach, float hover,
                                          float dt) const {
    const float inset = kRimInset + reach;
    KeepStepWithin(position.x, velocity.x, pos.x + inset, pos.x + scale.x - inset, dt);
    KeepStepWithin(position.z, velocity.z, pos.z + inset, pos.z + scale.z - inset, dt);
    if (!(dt > 0.0f)) return;
    const Vector stepEnd(position.x + velocity.x * dt, position.y, position.z + velocity.z * dt, 0.0f);
    // Half the hover height: steps of a frame at 1/60 s never come near it,
    // so only a long step's fall, or its climb into a slope, is cut short
    // (and the hover rule lifts the body the rest of the way next frame).
    const float lowest = GetHeight(stepEnd) + 0.5f * hover;
    if (position.y + velocity.y * dt < lowest) velocity.y = std::max(velocity.y, (lowest - position.y) / dt);
}
