// The ten particle emitters the effect catalogue makes: how many particles
// each releases and when, how a new particle starts, how a live one ages and
// when the emitter is done. Bursts (explosions, splashes, rising dust) emit
// their whole budget in their first frame and finish when the last particle
// has died; the trails follow an object, emit at most one particle a frame
// within a budget while it lives, and linger a while after it has gone.
//
// Threads: main thread only, called from the ParticleSystemController's
// update, which holds the object lock while the trails ask whether their
// object still exists. Emitters take no lock and allocate nothing.
//
// Random draws use the project-wide generator in the order the fields are
// listed in each InitParticle, x before y before z within a vector, so a
// seeded run gives the same particles with any compiler.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/particle_system_controller.h"

// The common rules of the burst classes: the whole budget in the first frame,
// a particle dies once its age reaches its lifetime (and is not stepped
// then), and the emitter is finished when no particle is left alive.
class BurstEmitter : public ParticleEmitter {
public:
    BurstEmitter(std::string name, uint32_t count, const Vector& startColor);

    unsigned GetParticleCount() override { return particlesToEmit; }
    void Update(Particle& particle, float time, float dt) override;
    bool IsFinished() override { return particlesAlive == 0; }

    uint32_t particlesToEmit;
    uint32_t particlesAlive;
};

class ExplosionDebris : public BurstEmitter {
public:
    explicit ExplosionDebris(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    // Past colorSwitch of its life a piece takes fadeColor and keeps it.
    void Update(Particle& particle, float time, float dt) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionDebris>(*this); }

    float colorSwitch = 0.34f;  // fraction of a particle's lifetime
    Vector fadeColor;           // endColor as of the latest emission
};

class ExplosionSparks : public BurstEmitter {
public:
    explicit ExplosionSparks(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionSparks>(*this); }
};

// One puff of particlesTotal x size particles in the first frame; the first
// particle past colorSwitch of its life starts fading to grey smoke.
class ExplosionSmoke : public ParticleEmitter {
public:
    explicit ExplosionSmoke(std::string name);
    unsigned GetParticleCount() override;
    void InitParticle(Particle& particle, int32_t serial) override;
    void Update(Particle& particle, float time, float dt) override;
    bool IsFinished() override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionSmoke>(*this); }

    uint32_t particlesToEmit = 13;
    uint32_t particlesTotal = 13;
    uint32_t particlesDead = 0;
    bool fadeStarted = false;
    float colorSwitch = 0.2f;
};

// Only the first particle past half its life reverses its fade and growth.
class ExplosionFlash : public BurstEmitter {
public:
    explicit ExplosionFlash(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    void Update(Particle& particle, float time, float dt) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionFlash>(*this); }

    bool reverseArmed = true;
};

class ExplosionDust : public BurstEmitter {
public:
    explicit ExplosionDust(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionDust>(*this); }
};

class ExplosionShockwave : public BurstEmitter {
public:
    explicit ExplosionShockwave(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<ExplosionShockwave>(*this); }
};

class BulletSplash : public BurstEmitter {
public:
    explicit BulletSplash(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<BulletSplash>(*this); }
};

class DustRise : public BurstEmitter {
public:
    explicit DustRise(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<DustRise>(*this); }
};

// The common rules of the two trails. particlesToEmit is a budget: a dying
// particle is handed back to it, so it bounds the live particles.
class TrailEmitter : public ParticleEmitter {
public:
    TrailEmitter(std::string name, uint32_t budget, double lingerTime, float colorSwitch);

    // 0 while the followed object does not exist, else at most 1. Expects the
    // object lock to be held.
    unsigned GetParticleCount() override;
    // Past colorSwitch of its life a particle takes endColor and keeps it.
    void Update(Particle& particle, float time, float dt) override;
    // False while the followed object exists; afterwards counts lingerTime
    // down by the System's frame time and is true once it is below zero.
    // Expects the object lock to be held.
    bool IsFinished() override;

    float particleLife = 3.0f;  // seconds, before the random part
    uint32_t particlesToEmit;
    double lingerTime;          // seconds left after the object has gone
    float colorSwitch;
};

class DebrisTrail : public TrailEmitter {
public:
    explicit DebrisTrail(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<DebrisTrail>(*this); }
};

class SmokeTrail : public TrailEmitter {
public:
    explicit SmokeTrail(std::string name);
    void InitParticle(Particle& particle, int32_t serial) override;
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<SmokeTrail>(*this); }
};

// A particle count from a budget times a size, truncated; a negative or NaN
// product gives 0 and a huge one kMaxScaledCount, never a wrapped count.
constexpr unsigned kMaxScaledCount = 4000;
unsigned ScaledParticleCount(uint32_t count, float scale);
