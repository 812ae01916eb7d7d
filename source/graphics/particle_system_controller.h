// ParticleSystemController: the owner of every particle and particle emitter
// of the running game. There is one, held by value by the ObjectManager as
// particleSystemController. Particles live in one store whose slots are reused
// (never erased); emitters are registered by id and by name.
//
// This header holds the records and their construction only: registering,
// updating and removing emitters, the effect catalogue and the integration
// step come with the particle system, together with the deletion and copying
// rules for the emitters it owns (none exist before then). Main thread; the
// only lock it will take is the object lock, to follow an object.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "geom/geom.h"

class ParticleEmitter;

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

class ParticleSystemController {
public:
    static constexpr std::size_t kReservedParticles = 4000;

    // Room for kReservedParticles so ordinary play never reallocates the store.
    ParticleSystemController() { particles.reserve(kReservedParticles); }

    std::vector<Particle> particles;                // the store; only ever appended to
    std::unordered_map<int32_t, int32_t> idToIndex; // emitter id -> index in emitters
    std::unordered_map<std::string, int32_t> nameToId;
    int32_t particleCounter = 0;  // particles emitted so far; never reset
    int32_t nextEmitterId = 0;    // ids are never reused within a run
    std::vector<ParticleEmitter*> emitters;  // registration order; owned
};
