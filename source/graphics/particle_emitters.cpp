// The burst emitters: explosion debris, sparks, smoke, flash, dust and shock
// wave, and the bullet splash with its rising dust. The trails are in
// particle_emitters/trails.cpp.
#include "graphics/particle_emitters.h"

#include <cmath>
#include <utility>

#include "graphics/particle_emitters/draws.h"

using namespace particle_draws;

namespace {

// ±(1.5 + 4u): the magnitude first, then a separate draw for the sign.
float RandomSpin() {
    const float magnitude = 1.5f + 4.0f * RandFloat();
    return platform::Rand() % 2 == 0 ? magnitude : -magnitude;
}

// Three turns about x, y and z by quaternions of a unit axis and no sine
// factor: not of unit length, so each turn also stretches the vector by
// 1 + cos² of its angle. The fling of debris and sparks relies on that.
Vector RandomTurn(Vector velocity) {
    const Vector axes[] = {Vector(1, 0, 0, 0), Vector(0, 1, 0, 0), Vector(0, 0, 1, 0)};
    float angles[3];
    for (float& angle : angles) angle = kTwoPi * RandFloat() * 0.5f;
    for (int i = 0; i < 3; ++i) velocity = Quaternion(std::cos(angles[i]), axes[i]).Rotate(velocity);
    return velocity;
}

// The thrown velocity of debris and sparks: 4.5 size (u + 0.5) per axis, turned.
Vector FlungVelocity(float size) {
    const float x = RandFloat() + 0.5f;
    const float y = RandFloat() + 0.5f;
    const float z = RandFloat() + 0.5f;
    return RandomTurn(Vector(x, y, z, 0.0f) * (4.5f * size));
}

// startColor's red, green and blue, each moved by a fresh 0.02 s, with alpha.
Vector Speckled(const Vector& color, float alpha) {
    const Vector shift = SignedTriple() * 0.02f;
    return Vector(color.x + shift.x, color.y + shift.y, color.z + shift.z, alpha);
}

}  // namespace

unsigned ScaledParticleCount(uint32_t count, float scale) {
    const float product = float(count) * scale;
    if (!(product > 0.0f)) return 0;  // negative, zero or NaN
    if (product >= float(kMaxScaledCount)) return kMaxScaledCount;
    return unsigned(product);
}

// ---- BurstEmitter -------------------------------------------------------------

BurstEmitter::BurstEmitter(std::string name, uint32_t count, const Vector& color)
    : ParticleEmitter(std::move(name)), particlesToEmit(count), particlesAlive(count) {
    startColor = color;
}

void BurstEmitter::Update(Particle& particle, float, float dt) {
    if (particle.age < particle.lifetime) {
        IntegrateParticle(particle, dt);
        return;
    }
    particle.isFree = true;
    if (particlesAlive > 0) --particlesAlive;
}

// ---- ExplosionDebris ----------------------------------------------------------

ExplosionDebris::ExplosionDebris(std::string name)
    : BurstEmitter(std::move(name), 7 + platform::Rand() % 3, Vector(1.0f, 0.66f, 0.02f, 1.0f)) {
    const float grey = 0.25f + 0.1f * RandFloat();
    endColor = Vector(grey, grey, grey, 1.0f);
}

void ExplosionDebris::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 2.0f;
    fadeColor = endColor;
    Fade(p, startColor, fadeColor, colorSwitch * p.lifetime);
    p.width = p.height = 0.5f * size;
    p.widthRate = p.heightRate = 0.0f;
    p.spin = RandomSpin();
    p.rotation = RandomAngle();
    p.position = position + SignedTriple() * (2.0f * size);
    p.velocity = FlungVelocity(size);
    p.acceleration = Vector(0.0f, -6.7f, 0.0f, 0.0f);
    p.variant = RandomCell(12, 8);
}

void ExplosionDebris::Update(Particle& p, float time, float dt) {
    if (p.age > colorSwitch * p.lifetime) {
        p.colorRate = Vector(0, 0, 0, 0);
        p.color = fadeColor;
    }
    BurstEmitter::Update(p, time, dt);
}

// ---- ExplosionSparks ----------------------------------------------------------

ExplosionSparks::ExplosionSparks(std::string name)
    : BurstEmitter(std::move(name), 16, Vector(1.0f, 1.0f, 0.7f, 0.9f)) {}

void ExplosionSparks::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 0.5f + RandFloat();
    p.color = startColor;
    p.colorRate = Vector(0, 0, 0, 0);
    p.width = p.height = size;
    p.widthRate = p.heightRate = 0.0f;
    p.spin = RandomSpin();
    p.rotation = RandomAngle();
    p.position = position + SignedTriple() * (2.0f * size);
    p.velocity = FlungVelocity(size);
    p.acceleration = Vector(0, 0, 0, 0);
    p.variant = 22;
}

// ---- ExplosionSmoke -----------------------------------------------------------

ExplosionSmoke::ExplosionSmoke(std::string name) : ParticleEmitter(std::move(name)) {
    startColor = Vector(1.0f, 0.7f, 0.02f, 1.0f);
    endColor = Vector(1.0f, 0.6f, 0.02f, 0.8f);
}

unsigned ExplosionSmoke::GetParticleCount() { return ScaledParticleCount(particlesToEmit, size); }

void ExplosionSmoke::InitParticle(Particle& p, int32_t serial) {
    p.age = 0.0f;
    p.serial = serial;
    particlesToEmit = 0;  // one puff: nothing after the first frame
    p.lifetime = 0.5f;
    Fade(p, startColor, endColor, colorSwitch * p.lifetime);
    p.width = p.height = (3.0f + 2.5f * RandFloat()) * size;
    p.widthRate = p.heightRate = (1.0f + RandFloat()) * size / p.lifetime;
    p.rotation = RandomAngle();
    p.spin = 0.7f * RandSignedFloat();
    p.position = position + SignedTriple() * (5.0f * size);
    p.velocity = SignedTriple() * (3.0f * size);
    p.acceleration = Vector(0.0f, 0.3f, 0.0f, 0.0f);
    p.variant = RandomCell(0, 4);
}

void ExplosionSmoke::Update(Particle& p, float, float dt) {
    if (!fadeStarted && p.age > colorSwitch * p.lifetime) {
        fadeStarted = true;
        const float over = p.lifetime * (1.0f - colorSwitch);
        Fade(p, p.color, Vector(0.2f, 0.2f, 0.2f, 0.7f), over);
    }
    if (p.age < p.lifetime) {
        IntegrateParticle(p, dt);
        return;
    }
    p.isFree = true;
    ++particlesDead;
}

bool ExplosionSmoke::IsFinished() { return particlesDead >= ScaledParticleCount(particlesTotal, size); }

// ---- ExplosionFlash -----------------------------------------------------------

ExplosionFlash::ExplosionFlash(std::string name)
    : BurstEmitter(std::move(name), 5, Vector(1.0f, 0.7f, 0.02f, 0.6f)) {}

void ExplosionFlash::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 0.2f;
    startColor.w = 0.6f;
    Fade(p, Vector(1.0f, 1.0f, 1.0f, 0.6f), startColor, 0.5f * p.lifetime);
    p.width = p.height = (1.0f + RandFloat()) * size;
    p.widthRate = p.heightRate = (1.0f + RandFloat()) * size / (0.5f * p.lifetime);
    p.rotation = RandomAngle();
    p.spin = 0.0f;
    p.position = position + SignedTriple() * (0.8f * size);
    p.velocity = p.acceleration = Vector(0, 0, 0, 0);
    p.variant = RandomCell(4, 4);
}

void ExplosionFlash::Update(Particle& p, float time, float dt) {
    if (reverseArmed && p.age > 0.5f * p.lifetime) {
        reverseArmed = false;
        p.colorRate = p.colorRate * -1.0f;
        p.heightRate = -p.heightRate;
        p.widthRate = p.heightRate;
    }
    BurstEmitter::Update(p, time, dt);
}

// ---- ExplosionDust ------------------------------------------------------------

ExplosionDust::ExplosionDust(std::string name)
    : BurstEmitter(std::move(name), 15, Vector(0.95f, 0.15f, 0.11f, 0.9f)) {}

void ExplosionDust::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 1.0f + 0.5f * RandFloat();
    const Vector from = startColor;
    startColor.w = 0.5f;  // so every later particle starts half clear
    Fade(p, from, startColor, p.lifetime);
    p.width = p.height = 5.0f * size;
    p.widthRate = p.heightRate = 0.0f;
    p.rotation = RandomAngle();
    p.spin = RandSignedFloat();
    p.position = position + SignedTriple() * (4.0f * size);
    p.velocity = SignedTriple() * (7.4f * size);
    p.acceleration = Vector(0.0f, 0.4f, 0.0f, 0.0f);
    p.variant = 21;
}

// ---- ExplosionShockwave -------------------------------------------------------

ExplosionShockwave::ExplosionShockwave(std::string name)
    : BurstEmitter(std::move(name), 1, Vector(1.0f, 0.6f, 0.02f, 0.4f)) {}

void ExplosionShockwave::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 0.4f;
    const Vector from = startColor;
    startColor.w = 0.0f;  // the ring fades out completely
    Fade(p, from, startColor, p.lifetime);
    p.width = p.height = 0.1f * size;
    p.widthRate = p.heightRate = (12.0f * size - 0.1f * size) / p.lifetime;
    p.rotation = RandomAngle();
    p.spin = 0.0f;
    p.position = position;
    p.velocity = p.acceleration = Vector(0, 0, 0, 0);
    p.variant = 20;
}

// ---- BulletSplash -------------------------------------------------------------

BulletSplash::BulletSplash(std::string name)
    : BurstEmitter(std::move(name), 5, Vector(1.0f, 0.7f, 0.02f, 0.8f)) {}

void BulletSplash::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 0.25f;
    p.color = Speckled(startColor, 0.8f);
    p.colorRate = Vector(0.0f, 0.0f, 0.0f, (0.7f - 0.8f) / p.lifetime);
    p.width = (1.0f + RandFloat()) * size;
    p.widthRate = (1.0f + RandFloat()) * size / (0.5f * p.lifetime);
    p.height = 4.0f * p.width;
    p.heightRate = 5.0f * p.widthRate;
    p.rotation = platform::Rand() % 2 == 0 ? kPi : 0.0f;
    p.spin = 0.0f;
    p.position = position + Vector(0.0f, -size, 0.0f, 0.0f);
    p.velocity = p.acceleration = Vector(0, 0, 0, 0);
    p.variant = RandomCell(4, 4);
}

// ---- DustRise -----------------------------------------------------------------

DustRise::DustRise(std::string name) : BurstEmitter(std::move(name), 7, Vector(0.95f, 0.15f, 0.11f, 0.9f)) {}

void DustRise::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = 2.5f + 2.0f * RandFloat();
    const Vector from = Speckled(startColor, 1.0f);
    startColor.w = 0.8f;
    Fade(p, from, startColor, p.lifetime);
    p.width = p.height = (4.0f + RandFloat()) * size;
    p.widthRate = p.heightRate = 0.0f;
    p.rotation = RandomAngle();
    p.spin = RandSignedFloat();
    p.position = position;
    p.velocity = Vector(0.0f, 57.4f * size * RandFloat(), 0.0f, 0.0f);
    p.acceleration = Vector(0.0f, -8.4f, 0.0f, 0.0f);
    p.variant = 21;
}
