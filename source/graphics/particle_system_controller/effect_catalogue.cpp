// The effect catalogue: effect numbers 0 to 18 as sets of configured
// emitters. Explosions come in four colour schemes (orange 0-2, cyan 3-5,
// magenta 6-8, a random tint 9-11); in each scheme the last type is the basic
// set (smoke, flash, dust, shock wave), the first adds debris and sparks, and
// the middle one does the same with debris fading to the colour of the
// ground. 13 is a bullet splash, 14 a burst of sparks, 17 and 18 the trails
// of a missile. 12, 15, 16 and every other number make nothing.
#include <cmath>
#include <string>

#include "graphics/particle_emitters.h"
#include "graphics/particle_system_controller.h"
#include "object_manager.h"
#include "platform/random.h"
#include "resource_manager.h"

namespace {

// Name prefixes, by class.
constexpr const char* kDebrisPrefix = "ExplosionDebrisEmitter";
constexpr const char* kSparksPrefix = "ExplosionSparkEmitter";
constexpr const char* kSmokePrefix = "ExplosionSmokeEmitter";
constexpr const char* kFlashPrefix = "ExplosionFlashEmitter";
constexpr const char* kDustPrefix = "ExplosionDustEmitter";
constexpr const char* kShockwavePrefix = "ExplosionShockWaveEmitter";
constexpr const char* kSplashPrefix = "BulletSplashEmitter";
constexpr const char* kDustRisePrefix = "DustRiseEmitter";
constexpr const char* kDebrisTrailPrefix = "DebrisTrail";
constexpr const char* kSmokeTrailPrefix = "SmokeTrail";

constexpr int32_t kRandomTintFirst = 9;
constexpr int32_t kBulletSplash = 13;
constexpr int32_t kSparkBurst = 14;
constexpr int32_t kMissileTrail = 17;
constexpr int32_t kSmokeTrail = 18;

// The colours of one explosion scheme.
struct ExplosionColours {
    Vector smoke, smokeEnd, flash, dust, shockwave;
    bool basicSetHasSparks;  // the cyan basic set carries sparks of its own
    Vector debris, sparks;
};

const ExplosionColours kSchemes[] = {
    {Vector(1, 0.7f, 0.02f, 1), Vector(1, 0.6f, 0.02f, 0.8f), Vector(1, 0.99f, 0.8f, 0.6f),
     Vector(0.95f, 0.15f, 0.11f, 0.9f), Vector(1, 0.7f, 0.4f, 0.3f), false, Vector(1, 0.66f, 0.02f, 1),
     Vector(1, 1, 0.7f, 0.9f)},
    {Vector(0.01f, 1, 0.9f, 1), Vector(0.01f, 0.75f, 1, 0.8f), Vector(0.73f, 0.95f, 1, 1),
     Vector(0, 0.67f, 0.99f, 0.9f), Vector(0.73f, 0.95f, 1, 0.3f), true, Vector(0.06f, 1, 0.99f, 1),
     Vector(0.7f, 1, 1, 0.9f)},
    {Vector(1, 0, 1, 1), Vector(0.75f, 0, 0.75f, 0.8f), Vector(1, 0.8f, 1, 1), Vector(1, 0.57f, 0.98f, 0.9f),
     Vector(0.7f, 1, 1, 0.3f), false, Vector(1, 0.36f, 0.99f, 1), Vector(1, 0.7f, 1, 0.9f)},
};

// One trail of a missile: size = size argument x multiplier / divisor.
struct TrailSpec {
    bool debris;  // a DebrisTrail, else a SmokeTrail
    float multiplier, divisor;
    Vector start, end;
    float particleLife;
};

const TrailSpec kMissileTrails[] = {
    {true, 1, 10.3f, Vector(1, 0.1f, 0, 1), Vector(0.3f, 0.1f, 0, 1), 0.5f},
    {false, 1, 6, Vector(1, 1, 0.2f, 0.9f), Vector(0.84f, 0.84f, 0.2f, 0.8f), 0.05f},
    {false, 2, 1, Vector(0.3f, 0.3f, 0.3f, 0.55f), Vector(0.2f, 0.2f, 0.2f, 0.3f), 0.01f},
    {false, 1, 1, Vector(0.3f, 0.3f, 0.3f, 1), Vector(0.2f, 0.2f, 0.2f, 0.9f), 1.0f},
    {false, 1, 4.5f, Vector(1, 0.1f, 0, 0.9f), Vector(0.5f, 0.1f, 0, 0.8f), 0.06f},
};
const TrailSpec kSmokeTrails[] = {
    {false, 1.5f, 1, Vector(0.3f, 0.3f, 0.3f, 0.55f), Vector(0.2f, 0.2f, 0.2f, 0.3f), 0.05f},
    {false, 1, 1, Vector(0.3f, 0.3f, 0.3f, 0.55f), Vector(0.2f, 0.2f, 0.2f, 0.3f), 3.0f},
    {false, 1, 1.5f, Vector(1, 1, 1, 0.6f), Vector(0.8f, 0.8f, 0.8f, 0.3f), 0.4f},
};

Vector GroundColour(const Vector& position) {
    return Module<ObjectManager>::Instance()->groundObject.GetColor(position);
}

Vector WithAlpha(const Vector& rgb, float alpha) { return Vector(rgb.x, rgb.y, rgb.z, alpha); }

// Registers an emitter of class T under a fresh name and places it. Null only
// if the fresh name were already taken, which the shared counter rules out.
template <class T>
T* Start(ParticleSystemController& controller, const char* prefix, float size, const Vector& position,
         const Vector& startColor) {
    const std::string name = Module<ResourceManager>::Instance()->MakeObjectName(prefix);
    ParticleEmitter* emitter = controller.GetEmitter(controller.AddEmitter<T>(name));
    if (!emitter) return nullptr;
    emitter->position = position;
    emitter->size = size;
    emitter->startColor = startColor;
    return static_cast<T*>(emitter);
}

void CreateBasicSet(ParticleSystemController& controller, const ExplosionColours& c, float size,
                    const Vector& at) {
    if (auto* smoke = Start<ExplosionSmoke>(controller, kSmokePrefix, size, at, c.smoke)) smoke->endColor = c.smokeEnd;
    Start<ExplosionFlash>(controller, kFlashPrefix, size, at, c.flash);
    Start<ExplosionDust>(controller, kDustPrefix, size, at, c.dust);
    Start<ExplosionShockwave>(controller, kShockwavePrefix, size, at, c.shockwave);
    if (c.basicSetHasSparks) Start<ExplosionSparks>(controller, kSparksPrefix, size, at, c.sparks);
}

// Debris, ending in the ground's colour when asked, then sparks.
void CreateShrapnel(ParticleSystemController& controller, const ExplosionColours& c, float size,
                    const Vector& at, bool groundDebris) {
    auto* debris = Start<ExplosionDebris>(controller, kDebrisPrefix, size, at, c.debris);
    if (debris && groundDebris) debris->endColor = GroundColour(at);
    Start<ExplosionSparks>(controller, kSparksPrefix, size, at, c.sparks);
}

// The three colours of the random tint: C1 and C2 for smoke, dust and debris,
// C3 (a near white) for flash, sparks and shock wave.
struct Tint {
    Vector c1, c2, c3;
};

Tint RandomTint() {
    const int k = platform::Rand() % 3;
    const float r1 = RandFloat();
    const float r2 = RandFloat();
    const float d = std::fabs(r1 - r2);
    const bool greater = r2 > r1;
    switch (k) {
        case 2:
            return {Vector(1, r2, r1, 0), Vector(0.8f, 0.75f * r2, 0.75f * r1, 0),
                    greater ? Vector(1, 1, 1 - d, 0) : Vector(1, 1 - d, 1, 0)};
        case 1:
            return {Vector(r2, 1, r1, 0), Vector(0.75f * r2, 0.8f, 0.75f * r1, 0),
                    greater ? Vector(1, 1, 1 - d, 0) : Vector(1 - d, 1, 1, 0)};
        default:
            return {Vector(r2, r1, 1, 0), Vector(0.75f * r2, 0.75f, 0.8f, 0),
                    greater ? Vector(1, 1 - d, 1, 0) : Vector(1 - d, 1, 1, 0)};
    }
}

// Types 9 (with debris and sparks), 10 (the same, debris to ground) and 11.
void CreateTintedExplosion(ParticleSystemController& controller, int32_t type, float size, const Vector& at) {
    const Tint tint = RandomTint();
    const bool shrapnel = type != kRandomTintFirst + 2;
    if (auto* smoke = Start<ExplosionSmoke>(controller, kSmokePrefix, size, at, WithAlpha(tint.c1, 1)))
        smoke->endColor = WithAlpha(tint.c2, 0.8f);
    Start<ExplosionFlash>(controller, kFlashPrefix, size, at, WithAlpha(tint.c3, 1));
    Start<ExplosionDust>(controller, kDustPrefix, size, at, WithAlpha(tint.c1, 0.9f));
    if (shrapnel) Start<ExplosionSparks>(controller, kSparksPrefix, size, at, WithAlpha(tint.c3, 0.9f));
    Start<ExplosionShockwave>(controller, kShockwavePrefix, size, at, WithAlpha(tint.c3, 0.3f));
    if (!shrapnel) return;
    auto* debris = Start<ExplosionDebris>(controller, kDebrisPrefix, size, at, WithAlpha(tint.c1, 1));
    if (debris && type == kRandomTintFirst + 1) debris->endColor = GroundColour(at);
}

template <std::size_t N>
void CreateTrails(ParticleSystemController& controller, const TrailSpec (&specs)[N], float size,
                  const std::string& follow, const Vector& at) {
    for (const TrailSpec& spec : specs) {
        const float scaled = size * spec.multiplier / spec.divisor;
        TrailEmitter* trail =
            spec.debris ? static_cast<TrailEmitter*>(Start<DebrisTrail>(controller, kDebrisTrailPrefix, scaled, at, spec.start))
                        : Start<SmokeTrail>(controller, kSmokeTrailPrefix, scaled, at, spec.start);
        if (!trail) continue;
        trail->endColor = spec.end;
        trail->followName = follow;
        trail->follow = true;
        trail->particleLife = spec.particleLife;
    }
}

}  // namespace

void ParticleSystemController::CreateEffect(int32_t type, float size, const std::string& follow,
                                            const Vector& position, const Vector&) {
    if (type >= 0 && type < kRandomTintFirst) {
        const ExplosionColours& scheme = kSchemes[type / 3];
        const int32_t variant = type % 3;
        if (variant == 2) {
            CreateBasicSet(*this, scheme, size, position);
            return;
        }
        CreateEffect(type - variant + 2, size, "", position, Vector());
        CreateShrapnel(*this, scheme, size, position, variant == 1);
        return;
    }
    switch (type) {
        case kRandomTintFirst:
        case kRandomTintFirst + 1:
        case kRandomTintFirst + 2:
            CreateTintedExplosion(*this, type, size, position);
            return;
        case kBulletSplash: {
            const Vector ground = GroundColour(position);
            Start<BulletSplash>(*this, kSplashPrefix, size, position, ground);
            Start<DustRise>(*this, kDustRisePrefix, size, position, ground);
            return;
        }
        case kSparkBurst:
            Start<ExplosionSparks>(*this, kSparksPrefix, size, position, Vector(1, 1, 0.7f, 0.9f));
            return;
        case kMissileTrail:
            CreateTrails(*this, kMissileTrails, size, follow, position);
            return;
        case kSmokeTrail:
            CreateTrails(*this, kSmokeTrails, size, follow, position);
            return;
        default:
            return;  // 12, 15, 16 and unknown numbers: nothing
    }
}
