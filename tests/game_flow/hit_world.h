// The object table as the in-game frame's hit handling and upkeep see it,
// single-threaded: fresh event queues, the sound module over a recording
// layer with every hit sample stored as its own fake sample (so a play names
// its sample), no particles, nothing queued for registration, the run's
// statistics at zero, a flat ground at height 0 and the camera at the origin.
// Builders for the objects that meet: shots, explosions, enemies, the player,
// level geometry, pickups.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "game_states/hit_rules.h"
#include "game_states/hits.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"

namespace hit_world {

inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }
inline BehaviorManager& Behavior() { return *Module<BehaviorManager>::Instance(); }
inline ParticleSystemController& Particles() { return Objects().particleSystemController; }

// Effect 14 starts one emitter; its size tells the effects apart.
constexpr int32_t kOneEmitterEffect = 14;
constexpr int32_t kNoEffect = 12;  // makes nothing

inline effectData Effect(float size, int32_t type = kOneEmitterEffect) {
    effectData effect;
    effect.effectType = type;
    effect.effectSize = size;
    return effect;
}

// Fake sample n + 1 for kSamples[n].
const char* const kSamples[] = {hit_rules::kShieldHit1, hit_rules::kShieldHit2,    hit_rules::kShieldHit3,
                                hit_rules::kHullHit,    hit_rules::kExplosionLong, hit_rules::kExplosionShort,
                                "sample_health_pickup"};

inline GameObject Shot(const std::string& name, int32_t damage, const Vector& at, int32_t splash = 0,
                       float radius = 0.0f) {
    GameObject object(name);
    object.trans = at;
    BulletComp bullet;
    bullet.damage = damage;
    bullet.splash = splash;
    bullet.radius = radius;
    bullet.mechEffect = Effect(2.0f);
    bullet.buildingEffect = Effect(3.0f);
    bullet.groundEffect = Effect(4.0f);
    object.AttachComponent(bullet);
    return object;
}

// A machine with stats and a mesh (so it flashes); the player is one too.
inline GameObject Machine(const std::string& name, int32_t hp, float sp, const Vector& at) {
    GameObject object(name);
    object.trans = at;
    StatsComp stats(100, 1.0f, 0.0f, 1.0f, 0);
    stats.hp = hp;
    stats.sp = sp;
    stats.deathEffect = Effect(5.0f);
    object.AttachComponent(stats);
    object.AttachComponent(GraphicsComp());
    return object;
}

inline GameObject LevelPiece(const std::string& name, bool graphics) {
    GameObject object(name);
    object.isLevelObject = true;
    if (graphics) object.AttachComponent(GraphicsComp());
    return object;
}

class HitWorld : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Init();
        Objects().Init();
        ClearWorld();
        for (int n = 0; n < int(std::size(kSamples)); ++n) {
            Sound sound;
            sound.sample = sound_test::RecordingSoundLayer::FakeSample(n + 1);
            sound.name = kSamples[n];
            Store().add<Sound>(kSamples[n], sound);
        }
        Objects().cameraObject.target = Vector();
        Objects().groundObject = GroundPlaneObject();
        Module<SoundManager>::Instance()->Init();
        Logic().ResetStatistics();
        Logic().onGround = false;
    }
    void TearDown() override {
        Module<SoundManager>::Instance()->Kill();
        for (const char* name : kSamples)
            if (Store().IsStored(name)) Store().DeleteResource(name);
        ClearWorld();
        Objects().Kill();
        Module<EventManager>::Instance()->Kill();
    }
    static void ClearWorld() {
        {
            ObjectLock lock(Objects());
            Objects().ClearGameObjects();
        }
        Particles().Clear();
        Behavior().ClearPendingObjects();
    }

    // Registers the object and returns its number.
    static unsigned Add(const GameObject& object) {
        EXPECT_TRUE(Objects().AddGameObject(object)) << object.name;
        ObjectLock lock(Objects());
        return Objects().GetObjectNumber(object.name);
    }
    // The registered object; no other thread runs here.
    static GameObject& Live(const std::string& name) {
        ObjectLock lock(Objects());
        return *Objects().GetGameObject(name);
    }
    static unsigned Number(const std::string& name) {
        ObjectLock lock(Objects());
        return Objects().GetObjectNumber(name);
    }
    static bool Has(const std::string& name) {
        ObjectLock lock(Objects());
        return Objects().HasGameObject(name);
    }
    // One contact of objA with objB through the walk.
    void Touch(unsigned objA, unsigned objB, const Vector& normal = Vector()) {
        CollisionEvent contact;
        contact.objA = objA;
        contact.objB = objB;
        contact.contactNormal = normal;
        hits::HandleContacts({contact}, enemiesLeft);
    }
    // The samples played since the last call, by name, in order.
    std::vector<std::string> Played() {
        std::vector<std::string> names;
        for (std::size_t n = playsSeen; n < layer.soundPlays.size(); ++n)
            for (int k = 0; k < int(std::size(kSamples)); ++k)
                if (layer.soundPlays[n].what == sound_test::RecordingSoundLayer::FakeSample(k + 1))
                    names.push_back(kSamples[k]);
        playsSeen = layer.soundPlays.size();
        return names;
    }
    static std::deque<Event> Sent(const std::string& client) {
        return Module<EventManager>::Instance()->PollEvents(client);
    }

    sound_test::RecordingSoundLayer layer;
    test_support::LogCapture log;
    int enemiesLeft = 5;
    std::size_t playsSeen = 0;
};

}  // namespace hit_world
