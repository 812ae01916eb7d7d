// The particle controller's registry of emitters, its store and the frame's
// update; the effect catalogue is in particle_system_controller/.
#include "graphics/particle_system_controller.h"

#include <cmath>
#include <utility>

#include "object_manager.h"
#include "system.h"
#include "system/source_position.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

// The single-precision values of pi and 2 pi, applied in double precision.
constexpr double kPi = 3.1415927f;
constexpr double kTwoPi = 6.2831855f;

float Clamp01(float value) { return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value); }

}  // namespace

// ---- ParticleEmitter ----------------------------------------------------------

ParticleEmitter::ParticleEmitter(std::string name) : name(std::move(name)) {}

void ParticleEmitter::IntegrateParticle(Particle& p, float dt) {
    p.velocity = p.velocity + p.acceleration * dt;
    p.position = p.position + p.velocity * dt;
    const float turned = float(double(p.rotation + p.spin * dt) - kPi);
    p.rotation = float(double(float(std::fmod(double(turned), kTwoPi))) + kPi);
    p.color = p.color + p.colorRate * dt;
    p.color = Vector(Clamp01(p.color.x), Clamp01(p.color.y), Clamp01(p.color.z), Clamp01(p.color.w));
    p.width += p.widthRate * dt;
    p.height += p.heightRate * dt;
    p.age += dt;
}

// ---- Construction and copies ------------------------------------------------------

ParticleSystemController::ParticleSystemController() { particles.reserve(kReservedParticles); }

ParticleSystemController::ParticleSystemController(const ParticleSystemController& other)
    : particles(other.particles),
      idToIndex(other.idToIndex),
      nameToId(other.nameToId),
      particleCounter(other.particleCounter),
      nextEmitterId(other.nextEmitterId),
      freeSearchStart(other.freeSearchStart) {
    particles.reserve(kReservedParticles);
    emitters.reserve(other.emitters.size());
    for (const auto& emitter : other.emitters) emitters.push_back(emitter->Clone());
}

ParticleSystemController::ParticleSystemController(ParticleSystemController&& other) noexcept
    : particles(std::move(other.particles)),
      idToIndex(std::move(other.idToIndex)),
      nameToId(std::move(other.nameToId)),
      particleCounter(other.particleCounter),
      nextEmitterId(other.nextEmitterId),
      emitters(std::move(other.emitters)),
      freeSearchStart(other.freeSearchStart) {
    other.particles.clear();
    other.freeSearchStart = 0;
    other.idToIndex.clear();
    other.nameToId.clear();
    other.emitters.clear();
}

ParticleSystemController& ParticleSystemController::operator=(ParticleSystemController other) noexcept {
    std::swap(particles, other.particles);
    std::swap(idToIndex, other.idToIndex);
    std::swap(nameToId, other.nameToId);
    std::swap(particleCounter, other.particleCounter);
    std::swap(nextEmitterId, other.nextEmitterId);
    std::swap(emitters, other.emitters);
    std::swap(freeSearchStart, other.freeSearchStart);
    return *this;
}

ParticleSystemController::~ParticleSystemController() { Clear(); }

// ---- Registry -------------------------------------------------------------------

void ParticleSystemController::CheckNewEmitterName(const std::string& name) const {
    if (!name.empty() && nameToId.count(name) == 0) return;
    Sys().Log("name = " + name + "\n");
    Sys().Error(SOURCE_POS + kBadNameError);
}

std::string ParticleSystemController::RegisterEmitter(std::unique_ptr<ParticleEmitter> emitter) {
    emitter->id = nextEmitterId++;
    emitters.push_back(std::move(emitter));
    const ParticleEmitter& added = *emitters.back();
    idToIndex[added.id] = int32_t(emitters.size() - 1);
    nameToId.emplace(added.name, added.id);  // an earlier emitter keeps its name
    return added.name;
}

ParticleEmitter* ParticleSystemController::GetEmitter(const std::string& name) {
    const auto found = nameToId.find(name);
    if (found == nameToId.end()) {
        Sys().Log("name = " + name + "\n");
        Sys().Error(SOURCE_POS + kMissingEmitterError);
        return nullptr;
    }
    return GetEmitter(found->second);
}

ParticleEmitter* ParticleSystemController::GetEmitter(int32_t id) {
    const auto found = idToIndex.find(id);
    if (found == idToIndex.end()) {
        Sys().Log("id = " + std::to_string(id) + "\n");
        Sys().Error(SOURCE_POS + kMissingEmitterError);
        return nullptr;
    }
    return emitters[std::size_t(found->second)].get();
}

void ParticleSystemController::RemoveEmitter(int32_t id) {
    const auto found = idToIndex.find(id);
    if (found == idToIndex.end()) {
        Sys().Log("id = " + std::to_string(id) + "\n");
        Sys().Error(SOURCE_POS + kMissingEmitterError);
        return;
    }
    const int32_t index = found->second;
    idToIndex.erase(found);
    // A duplicate name still maps to the emitter registered first under it:
    // removing the later one must not unregister that one.
    const auto named = nameToId.find(emitters[std::size_t(index)]->name);
    if (named != nameToId.end() && named->second == id) nameToId.erase(named);
    for (auto& entry : idToIndex)
        if (entry.second > index) --entry.second;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        if (particles[i].emitterId != id) continue;
        particles[i].isFree = true;
        NoteFreed(i);
    }
    emitters.erase(emitters.begin() + index);
}

void ParticleSystemController::Clear() {
    std::vector<int32_t> ids;
    ids.reserve(idToIndex.size());
    for (const auto& entry : idToIndex) ids.push_back(entry.first);
    for (int32_t id : ids) RemoveEmitter(id);
}

Particle* ParticleSystemController::AllocateParticle() {
    // Every slot below freeSearchStart is live, so the scan may begin there
    // and still finds the lowest free slot.
    for (; freeSearchStart < particles.size(); ++freeSearchStart)
        if (particles[freeSearchStart].isFree) return &particles[freeSearchStart];
    if (particles.size() >= kMaxParticles) return nullptr;
    particles.emplace_back();
    return &particles.back();
}

void ParticleSystemController::NoteFreed(std::size_t index) {
    if (index < freeSearchStart) freeSearchStart = index;
}

// ---- The frame ----------------------------------------------------------------------

void ParticleSystemController::Update(float time, float dt) {
    std::vector<int32_t> finished;
    if (!emitters.empty()) {
        // Following and the trails' tests read the object table.
        ObjectLock lock;
        for (const auto& emitter : emitters) {
            FollowObject(*emitter);
            if (emitter->IsFinished())
                finished.push_back(emitter->id);
            else
                Emit(*emitter, time);
        }
    }
    StepParticles(time, dt);
    for (int32_t id : finished) RemoveEmitter(id);
}

// Expects the object lock to be held.
void ParticleSystemController::FollowObject(ParticleEmitter& emitter) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (emitter.follow && objects.HasGameObject(emitter.followName))
        emitter.position = objects.GetGameObject(emitter.followName)->trans;
}

void ParticleSystemController::Emit(ParticleEmitter& emitter, float time) {
    for (unsigned n = emitter.GetParticleCount(); n > 0; --n) {
        Particle* slot = AllocateParticle();
        const int32_t serial = particleCounter++;
        if (!slot) {
            // The store is full: the particle is born and dies at once, so the
            // emitter's counts still reach their end.
            Particle refused;
            emitter.InitParticle(refused, serial);
            refused.age = refused.lifetime;
            emitter.Update(refused, time, 0.0f);
            continue;
        }
        emitter.InitParticle(*slot, serial);
        slot->isFree = false;
        slot->emitterId = emitter.id;
    }
}

void ParticleSystemController::StepParticles(float time, float dt) {
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        if (particle.isFree) continue;
        const auto owner = idToIndex.find(particle.emitterId);
        if (owner == idToIndex.end())
            particle.isFree = true;  // its emitter is gone: nothing may step it
        else
            emitters[std::size_t(owner->second)]->Update(particle, time, dt);
        if (particle.isFree) NoteFreed(i);
    }
}
