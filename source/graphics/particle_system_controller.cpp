// The particle controller's registry of emitters, its store and the frame's
// update; the effect catalogue is in particle_system_controller/.
#include "graphics/particle_system_controller.h"

#include <algorithm>
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

// v += rate * dt over all four components, written out so that the step of
// every live particle, every frame, needs no call.
inline void AddScaled(Vector& v, const Vector& rate, float dt) {
    v.x += rate.x * dt;
    v.y += rate.y * dt;
    v.z += rate.z * dt;
    v.w += rate.w * dt;
}

}  // namespace

// ---- ParticleEmitter ----------------------------------------------------------

ParticleEmitter::ParticleEmitter(std::string name) : name(std::move(name)) {}

void ParticleEmitter::IntegrateParticle(Particle& p, float dt) {
    AddScaled(p.velocity, p.acceleration, dt);
    AddScaled(p.position, p.velocity, dt);
    const float turned = float(double(p.rotation + p.spin * dt) - kPi);
    p.rotation = float(double(float(std::fmod(double(turned), kTwoPi))) + kPi);
    AddScaled(p.color, p.colorRate, dt);
    p.color.x = Clamp01(p.color.x);
    p.color.y = Clamp01(p.color.y);
    p.color.z = Clamp01(p.color.z);
    p.color.w = Clamp01(p.color.w);
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
    if (Unregister(id) > 0) FreeParticlesOf({id});
}

void ParticleSystemController::Clear() {
    RemoveEmitters(ListIds());
}

std::vector<int32_t> ParticleSystemController::ListIds() const {
    std::vector<int32_t> ids;
    ids.reserve(idToIndex.size());
    for (const auto& entry : idToIndex) ids.push_back(entry.first);
    return ids;
}

// As RemoveEmitter for each id in turn, with one pass over the store for all.
void ParticleSystemController::RemoveEmitters(std::vector<int32_t> ids) {
    std::vector<int32_t> withParticles;
    for (int32_t id : ids)
        if (Unregister(id) > 0) withParticles.push_back(id);
    FreeParticlesOf(std::move(withParticles));
}

int32_t ParticleSystemController::Unregister(int32_t id) {
    const auto found = idToIndex.find(id);
    if (found == idToIndex.end()) {
        Sys().Log("id = " + std::to_string(id) + "\n");
        Sys().Error(SOURCE_POS + kMissingEmitterError);
        return -1;
    }
    const int32_t index = found->second;
    const int32_t live = emitters[std::size_t(index)]->liveParticles;
    idToIndex.erase(found);
    // A duplicate name still maps to the emitter registered first under it:
    // removing the later one must not unregister that one.
    const auto named = nameToId.find(emitters[std::size_t(index)]->name);
    if (named != nameToId.end() && named->second == id) nameToId.erase(named);
    for (auto& entry : idToIndex)
        if (entry.second > index) --entry.second;
    emitters.erase(emitters.begin() + index);
    return live;
}

void ParticleSystemController::FreeParticlesOf(std::vector<int32_t> ids) {
    if (ids.empty()) return;
    std::sort(ids.begin(), ids.end());
    const int32_t lowest = ids.front(), highest = ids.back();
    for (std::size_t i = 0; i < particles.size(); ++i) {
        // A free slot stays free; ids out of the batch's range need no search.
        Particle& particle = particles[i];
        if (particle.isFree || particle.emitterId < lowest || particle.emitterId > highest) continue;
        if (!std::binary_search(ids.begin(), ids.end(), particle.emitterId)) continue;
        particle.isFree = true;
        NoteFreed(i);
    }
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
    RemoveEmitters(std::move(finished));
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
        ++emitter.liveParticles;
    }
}

void ParticleSystemController::StepParticles(float time, float dt) {
    // Neighbouring slots mostly share an emitter: remember the last look-up.
    int32_t lastId = -1;
    ParticleEmitter* owner = nullptr;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        if (particle.isFree) continue;
        if (!owner || particle.emitterId != lastId) {
            const auto found = idToIndex.find(particle.emitterId);
            owner = found == idToIndex.end() ? nullptr : emitters[std::size_t(found->second)].get();
            lastId = particle.emitterId;
        }
        if (!owner) {
            particle.isFree = true;  // its emitter is gone: nothing may step it
            NoteFreed(i);
            continue;
        }
        owner->Update(particle, time, dt);
        if (!particle.isFree) continue;
        --owner->liveParticles;
        NoteFreed(i);
    }
}
