// ParticleSystemController: the owner of every particle and particle emitter
// of the running game. There is one, held by value by the ObjectManager as
// particleSystemController. Particles live in one store whose slots are reused
// (never erased or reordered: the store's order is the drawing order);
// emitters are registered by id and by name and owned by the controller.
// The effect catalogue (CreateEffect) is the only place where play makes
// emitters; the emitter classes are in graphics/particle_emitters.h.
//
// Threads: main thread only (the in-game state's update, weapons firing,
// level loading, the renderer reading the store). Not an event client.
// Update takes the object lock itself, once, around the steps that read
// followed objects: never call it while holding that lock. CreateEffect takes
// no lock and reads only the ground.
//
// Copies: a copy is deep (every emitter is cloned with its id and name), so
// destroying a copy, such as the one a script reads, never touches the
// original's emitters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "geom/geom.h"

// One slot of the particle store.
struct Particle {
    int32_t variant = 0;    // cell of the particle texture atlas
    int32_t serial = 0;     // the controller's particleCounter at emission
    int32_t emitterId = 0;  // id of the owning emitter
    Vector color;           // RGBA, kept in 0..1
    Vector position;
    float width = 0.0f;
    float height = 0.0f;
    float rotation = 0.0f;  // radians
    Vector colorRate;       // per second
    Vector velocity;
    Vector acceleration;
    float widthRate = 0.0f;
    float heightRate = 0.0f;
    float spin = 0.0f;      // radians per second
    float age = 0.0f;       // seconds since emission
    float lifetime = 0.0f;  // seconds
    bool isFree = true;     // the slot may be reused
};

// Base of the emitter classes: all effect-specific behaviour lives in them.
// The controller calls, per frame: IsFinished; if false, GetParticleCount and
// that many InitParticle; later one Update per live particle of the emitter.
class ParticleEmitter {
public:
    explicit ParticleEmitter(std::string name);
    virtual ~ParticleEmitter() = default;

    // How many particles to emit in this frame.
    virtual unsigned GetParticleCount() = 0;
    // Fills every field of one new particle except emitterId and isFree,
    // which the controller sets after the call.
    virtual void InitParticle(Particle& particle, int32_t serial) = 0;
    // Steps one live particle of this emitter: frees it (isFree) once its age
    // has reached its lifetime, else integrates it. `time` is unused.
    virtual void Update(Particle& particle, float time, float dt) = 0;
    // True when the emitter has nothing more to do and may be deleted.
    virtual bool IsFinished() = 0;
    // A copy of the emitter with its class and state; the caller owns it.
    virtual std::unique_ptr<ParticleEmitter> Clone() const = 0;

    // The step every emitter uses: velocity, position, rotation (kept in
    // -pi..3pi), colour (clamped to 0..1), size, then age.
    static void IntegrateParticle(Particle& particle, float dt);

    std::string name;
    int32_t id = 0;       // written by the controller at registration
    Vector position;      // world position; moved to the followed object
    float size = 1.0f;    // the effect's scale factor
    Vector startColor;
    Vector endColor;
    Vector auxVector;     // carried for scripts; no emitter reads it
    bool follow = false;  // when set, Update moves position to followName's object
    std::string followName;
    // Kept by the controller: its live particles, so that removing an emitter
    // whose particles have all died needs no pass over the store.
    int32_t liveParticles = 0;
};

class ParticleSystemController {
public:
    static constexpr std::size_t kReservedParticles = 4000;
    // The store never grows past this; a particle refused by a full store
    // counts as emitted and dead at once, so its emitter still finishes.
    static constexpr std::size_t kMaxParticles = 65536;

    static constexpr const char* kBadNameError = "duplicate or invalid particle emitter name";
    static constexpr const char* kMissingEmitterError = "particle emitter does not exist";

    // Room for kReservedParticles so ordinary play never reallocates the store.
    ParticleSystemController();
    ParticleSystemController(const ParticleSystemController& other);
    ParticleSystemController(ParticleSystemController&& other) noexcept;
    ParticleSystemController& operator=(ParticleSystemController other) noexcept;
    // Deletes every emitter.
    ~ParticleSystemController();

    // Registers a new emitter of class T under name and returns the name. An
    // empty or duplicate name is reported and still registered under a new
    // id; look-ups by that name keep finding the earlier emitter.
    template <class T>
    std::string AddEmitter(const std::string& name) {
        CheckNewEmitterName(name);
        return RegisterEmitter(std::make_unique<T>(name));
    }
    // The registered emitter, or null (reported) when there is none. The
    // controller keeps ownership; the pointer lives until the emitter is removed.
    ParticleEmitter* GetEmitter(const std::string& name);
    ParticleEmitter* GetEmitter(int32_t id);
    // Frees the emitter's particles and deletes it; an unknown id is reported.
    void RemoveEmitter(int32_t id);
    // Removes every emitter; the store keeps its size, the counters their values.
    void Clear();
    // The lowest free slot, else a new slot appended with zero vectors; null
    // when the store is full. Does not change isFree.
    Particle* AllocateParticle();

    // One frame: follow, emit, step every live particle, delete finished
    // emitters. Takes the object lock itself (see the header comment).
    void Update(float time, float dt);

    // Starts the emitters of effect `type` (0..18; others make nothing) at
    // position, following the object named follow when that is not empty.
    // The last argument is accepted and ignored. Each emitter is named by
    // ResourceManager::MakeObjectName (particle_system_controller/effect_catalogue.cpp).
    void CreateEffect(int32_t type, float size, const std::string& follow, const Vector& position,
                      const Vector& unused);

    std::vector<Particle> particles;                // the store; only ever appended to
    std::unordered_map<int32_t, int32_t> idToIndex; // emitter id -> index in emitters
    std::unordered_map<std::string, int32_t> nameToId;
    int32_t particleCounter = 0;  // particles emitted so far; never reset
    int32_t nextEmitterId = 0;    // ids are never reused within a run
    std::vector<std::unique_ptr<ParticleEmitter>> emitters;  // registration order

private:
    void CheckNewEmitterName(const std::string& name) const;
    std::string RegisterEmitter(std::unique_ptr<ParticleEmitter> emitter);

    void FollowObject(ParticleEmitter& emitter);
    void Emit(ParticleEmitter& emitter, float time);
    void StepParticles(float time, float dt);
    std::vector<int32_t> ListIds() const;
    void RemoveEmitters(std::vector<int32_t> ids);
    // RemoveEmitter without freeing the particles: the emitter's count of
    // live particles, or -1 (reported) for an id that is not registered.
    int32_t Unregister(int32_t id);
    void FreeParticlesOf(std::vector<int32_t> ids);
    void NoteFreed(std::size_t index);

    // No slot below this is free. Slots are freed only by the controller and
    // by the emitters it steps, which is what keeps this true.
    std::size_t freeSearchStart = 0;
};
