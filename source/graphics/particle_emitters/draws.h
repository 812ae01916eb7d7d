// The random draws and colour fades the emitter classes share. Every random
// component is drawn into its own statement, x before y before z, so that the
// order of draws never depends on the compiler's order of evaluating
// arguments.
#pragma once

#include "geom/geom.h"
#include "graphics/particle_system_controller.h"
#include "platform/random.h"

namespace particle_draws {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

// (s, s, s, 0), three fresh values in -1..1.
inline Vector SignedTriple() {
    const float x = RandSignedFloat();
    const float y = RandSignedFloat();
    const float z = RandSignedFloat();
    return Vector(x, y, z, 0.0f);
}

// (u, u, u, 0), three fresh values in 0..1.
inline Vector UnitTriple() {
    const float x = RandFloat();
    const float y = RandFloat();
    const float z = RandFloat();
    return Vector(x, y, z, 0.0f);
}

inline float RandomAngle() { return kTwoPi * RandFloat(); }

// An atlas cell in first .. first + count - 1.
inline int32_t RandomCell(int32_t first, int32_t count) { return first + platform::Rand() % count; }

// Every emission: age 0, the serial, and one less left to emit.
inline void BeginParticle(Particle& particle, int32_t serial, uint32_t& toEmit) {
    particle.age = 0.0f;
    particle.serial = serial;
    if (toEmit > 0) --toEmit;
}

// colour = from, changing by (to - from) / over per second, each component.
inline void Fade(Particle& particle, const Vector& from, const Vector& to, float over) {
    particle.color = from;
    particle.colorRate = Vector((to.x - from.x) / over, (to.y - from.y) / over, (to.z - from.z) / over,
                                (to.w - from.w) / over);
}

}  // namespace particle_draws
