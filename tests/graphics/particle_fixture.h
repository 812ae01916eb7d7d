// Shared set-up of the particle tests: a seeded generator, the log captured,
// an empty object table, a fixed frame time, and helpers that count and step
// the particles of a controller.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "graphics/particle_emitters.h"
#include "graphics/particle_system_controller.h"
#include "object_manager.h"
#include "platform/random.h"
#include "support/log_capture.h"
#include "system.h"

namespace particle_test {

constexpr float kStep = 1.0f / 60.0f;

inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// Live particles of the emitter with that id (of every emitter for -1).
inline int LiveCount(const ParticleSystemController& c, int32_t id = -1) {
    int live = 0;
    for (const Particle& p : c.particles)
        if (!p.isFree && (id < 0 || p.emitterId == id)) ++live;
    return live;
}

// Frames of kStep until the emitter is gone; -1 when it outlives `limit` frames.
inline int FramesUntilRemoved(ParticleSystemController& c, int32_t id, int limit = 2000) {
    for (int frame = 1; frame <= limit; ++frame) {
        c.Update(0.0f, kStep);
        if (c.idToIndex.count(id) == 0) return frame;
    }
    return -1;
}

inline void AddObject(const std::string& name, const Vector& at) {
    GameObject object(name);
    object.trans = at;
    ASSERT_TRUE(Objects().AddGameObject(object));
}

inline void ClearObjects() {
    ObjectLock lock;
    Objects().ClearGameObjects();
}

class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SeedRandom(1234);
        Module<System>::Instance()->frameTime.store(kStep);
        ClearObjects();
    }
    void TearDown() override { ClearObjects(); }

    // Registers an emitter of class T and returns it, placed at the origin.
    template <class T>
    T& Add(const std::string& name) {
        return static_cast<T&>(*controller.GetEmitter(controller.AddEmitter<T>(name)));
    }

    test_support::LogCapture log;
    ParticleSystemController controller;
};

}  // namespace particle_test
