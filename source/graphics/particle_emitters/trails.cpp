// The two trails that follow a moving object (a missile): a thin stream of
// glowing debris and the smoke puffs.
#include <utility>

#include "graphics/particle_emitters.h"
#include "graphics/particle_emitters/draws.h"
#include "object_manager.h"
#include "system.h"

using namespace particle_draws;

namespace {

// Expects the object lock to be held.
bool ObjectExists(const std::string& name) { return Module<ObjectManager>::Instance()->HasGameObject(name); }

}  // namespace

// ---- TrailEmitter -------------------------------------------------------------

TrailEmitter::TrailEmitter(std::string name, uint32_t budget, double linger, float switchAt)
    : ParticleEmitter(std::move(name)), particlesToEmit(budget), lingerTime(linger), colorSwitch(switchAt) {}

unsigned TrailEmitter::GetParticleCount() {
    if (!ObjectExists(followName)) return 0;
    return particlesToEmit < 1 ? particlesToEmit : 1;
}

void TrailEmitter::Update(Particle& p, float, float dt) {
    if (p.age > colorSwitch * p.lifetime) {
        p.colorRate = Vector(0, 0, 0, 0);
        p.color = endColor;
    }
    if (p.age < p.lifetime) {
        IntegrateParticle(p, dt);
        return;
    }
    p.isFree = true;
    ++particlesToEmit;  // handed back to the budget
}

bool TrailEmitter::IsFinished() {
    if (ObjectExists(followName)) return false;
    if (lingerTime < 0.0) return true;
    lingerTime -= Module<System>::Instance()->frameTime.load();
    return false;
}

// ---- DebrisTrail --------------------------------------------------------------

DebrisTrail::DebrisTrail(std::string name) : TrailEmitter(std::move(name), 20, 13.0, 0.78f) {
    startColor = Vector(1.0f, 0.66f, 0.02f, 1.0f);
    const float grey = 0.25f + 0.1f * RandFloat();
    endColor = Vector(grey, grey, grey, 1.0f);
}

void DebrisTrail::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = particleLife + 0.4f * RandFloat();
    Fade(p, startColor, endColor, colorSwitch * p.lifetime);
    p.width = p.height = p.widthRate = p.heightRate = 0.5f * size;
    p.rotation = RandomAngle();
    p.spin = 10.0f * RandFloat();
    p.position = position + UnitTriple() * 5.0f;
    p.velocity = UnitTriple() * 8.5f;
    p.acceleration = Vector(0.0f, -16.7f, 0.0f, 0.0f);
    p.variant = RandomCell(12, 8);
}

// ---- SmokeTrail ---------------------------------------------------------------

SmokeTrail::SmokeTrail(std::string name) : TrailEmitter(std::move(name), 30, 1.5, 0.5f) {
    startColor = Vector(1.0f, 0.7f, 0.02f, 1.0f);
    endColor = Vector(1.0f, 0.6f, 0.02f, 0.8f);
}

void SmokeTrail::InitParticle(Particle& p, int32_t serial) {
    BeginParticle(p, serial, particlesToEmit);
    p.lifetime = particleLife + 0.1f * RandFloat();
    Fade(p, startColor, endColor, colorSwitch * p.lifetime);
    p.width = p.height = size;
    p.widthRate = p.heightRate = (0.4f + 0.2f * RandFloat()) * size - size;  // the puff shrinks
    p.rotation = RandomAngle();
    p.spin = 10.0f * RandFloat();
    p.position = position + UnitTriple() * 3.0f;
    const float x = 0.5f * (RandFloat() - 0.5f);
    const float y = 5.0f * RandFloat();
    const float z = 0.5f * (RandFloat() - 0.5f);
    p.velocity = Vector(x, y, z, 0.0f);
    p.acceleration = Vector(0, 0, 0, 0);
    p.variant = RandomCell(0, 4);
}
