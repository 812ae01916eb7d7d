// ParticleSystemController: the registry of emitters by id and name, slot
// reuse and growth of the store, the order of a frame, following an object,
// the integration step, and deep copies (also one a script reads).
#include <gtest/gtest.h>

#include "core/lua_probe.h"
#include "geom/geom_expect.h"
#include "graphics/particle_fixture.h"

using namespace particle_test;

namespace {

// An emitter that releases `count` particles of `life` seconds at once and is
// finished when told or when none is left alive.
class Probe : public ParticleEmitter {
public:
    explicit Probe(std::string name) : ParticleEmitter(std::move(name)) {}
    unsigned GetParticleCount() override { return std::exchange(toEmit, 0u); }
    void InitParticle(Particle& p, int32_t serial) override {
        p.serial = serial;
        p.age = 0.0f;
        p.lifetime = life;
        p.acceleration = Vector(0, 0, 0, 0);
        ++alive;
    }
    void Update(Particle& p, float, float dt) override {
        if (p.age < p.lifetime) return IntegrateParticle(p, dt);
        p.isFree = true;
        --alive;
    }
    bool IsFinished() override { return finished || (toEmit == 0 && alive == 0); }
    std::unique_ptr<ParticleEmitter> Clone() const override { return std::make_unique<Probe>(*this); }

    unsigned toEmit = 0;
    float life = 1.0f;
    int alive = 0;
    bool finished = false;
};

class Controller : public ParticleTest {
protected:
    Probe& Emitting(const std::string& name, unsigned count, float life = 1.0f) {
        Probe& probe = Add<Probe>(name);
        probe.toEmit = count;
        probe.life = life;
        return probe;
    }
};

TEST_F(Controller, RemovalKeepsTheOthersReachableAndADuplicateNameKeepsTheFirst) {
    for (const char* name : {"a", "b", "c"}) controller.AddEmitter<Probe>(name);
    controller.RemoveEmitter(0);
    EXPECT_EQ(0, controller.idToIndex.at(1));
    EXPECT_EQ(1, controller.idToIndex.at(2));
    EXPECT_EQ("c", controller.GetEmitter("c")->name);
    EXPECT_EQ(controller.GetEmitter(1), controller.GetEmitter("b"));

    controller.AddEmitter<Probe>("b");  // id 3
    controller.AddEmitter<Probe>("");   // id 4
    EXPECT_EQ(2, log.Count(ParticleSystemController::kBadNameError));
    EXPECT_TRUE(log.Has("name = b"));
    EXPECT_EQ(1, controller.nameToId.at("b")) << "the earlier emitter keeps its name";
    controller.RemoveEmitter(3);
    EXPECT_EQ(1, controller.nameToId.at("b")) << "removing the duplicate leaves the first registered";

    log.Restart();
    EXPECT_EQ(nullptr, controller.GetEmitter("nobody"));
    EXPECT_EQ(nullptr, controller.GetEmitter(99));
    controller.RemoveEmitter(99);
    EXPECT_EQ(3, log.Count(ParticleSystemController::kMissingEmitterError));
    EXPECT_TRUE(log.Has("id = 99"));

    controller.Clear();
    controller.Clear();
    EXPECT_TRUE(controller.emitters.empty() && controller.idToIndex.empty() && controller.nameToId.empty());
    EXPECT_EQ(5, controller.GetEmitter(controller.AddEmitter<Probe>("d"))->id) << "ids are never reused";
}

TEST_F(Controller, AFinishedEmitterGetsOneLastStepThenItsSlotsAreReusedLowestFirst) {
    Probe& done = Emitting("done", 5);
    done.finished = true;
    controller.Update(0.0f, kStep);
    EXPECT_EQ(0u, controller.particles.size()) << "finished at once: emits nothing";
    EXPECT_TRUE(controller.emitters.empty());

    Probe& first = Emitting("first", 3);
    const int32_t firstId = first.id;
    Emitting("second", 2);
    controller.Update(0.0f, kStep);
    ASSERT_EQ(5, LiveCount(controller));
    EXPECT_EQ(0, controller.particles[0].serial);
    EXPECT_EQ(4, controller.particles[4].serial);

    first.finished = true;
    const Vector before = controller.particles[0].position;
    controller.particles[0].velocity = Vector(60, 0, 0, 0);
    controller.Update(0.0f, kStep);
    EXPECT_NEAR(before.x + 1.0f, controller.particles[0].position.x, 1e-5f) << "stepped once more";
    EXPECT_EQ(0, LiveCount(controller, firstId)) << "then removed with its emitter";
    EXPECT_EQ(2, LiveCount(controller));

    Probe& third = Emitting("third", 2);
    controller.Update(0.0f, kStep);
    EXPECT_EQ(third.id, controller.particles[0].emitterId);
    EXPECT_EQ(third.id, controller.particles[1].emitterId);
    EXPECT_TRUE(controller.particles[2].isFree);
    EXPECT_EQ(7, controller.particleCounter);
}

TEST_F(Controller, TheStoreGrowsPastItsFirstBlockAndStopsAtItsCap) {
    Emitting("many", 4000, 10.0f);
    controller.Update(0.0f, kStep);
    Emitting("one more", 1, 0.1f);
    controller.Update(0.0f, kStep);
    EXPECT_EQ(4001u, controller.particles.size());
    for (int frame = 0; frame < 10; ++frame) controller.Update(0.0f, kStep);
    EXPECT_EQ(4001u, controller.particles.size()) << "slots are never removed";
    EXPECT_TRUE(controller.particles[4000].isFree);

    // A full store: refused particles count as emitted and dead at once.
    Emitting("flood", unsigned(ParticleSystemController::kMaxParticles), 10.0f);
    Probe& late = Emitting("late", 3, 10.0f);
    const int32_t lateId = late.id;
    controller.Update(0.0f, kStep);
    EXPECT_EQ(ParticleSystemController::kMaxParticles, controller.particles.size());
    EXPECT_EQ(0, LiveCount(controller, lateId));
    controller.Update(0.0f, kStep);
    EXPECT_EQ(0u, controller.idToIndex.count(lateId)) << "its emitter still finishes";
}

TEST_F(Controller, AFollowingEmitterKeepsTheLastPositionOfItsObject) {
    AddObject("missile", Vector(1, 2, 3));
    Probe& probe = Emitting("trail", 1, 100.0f);
    probe.follow = true;
    probe.followName = "missile";
    controller.Update(0.0f, kStep);
    EXPECT_TRUE(VectorNear(probe.position, Vector(1, 2, 3)));
    {
        ObjectLock lock;
        Objects().GetGameObject("missile")->trans = Vector(4, 5, 6);
    }
    controller.Update(0.0f, kStep);
    EXPECT_TRUE(VectorNear(probe.position, Vector(4, 5, 6)));
    ClearObjects();
    controller.Update(0.0f, kStep);
    EXPECT_TRUE(VectorNear(probe.position, Vector(4, 5, 6)));
    EXPECT_FALSE(Objects().IsLockedByThisThread());

    controller.particles[0].emitterId = 77;  // an emitter that is gone
    controller.Update(0.0f, kStep);
    EXPECT_TRUE(controller.particles[0].isFree) << "freed, not stepped";
}

TEST(ParticleIntegration, StepsInOrderAndKeepsColourAndRotationInRange) {
    Particle p;
    p.velocity = Vector(1, 0, 0, 1);
    p.acceleration = Vector(2, 0, 0, 0);
    p.color = Vector(-0.5f, 0.5f, 2.0f, 0.9f);
    p.colorRate = Vector(0, 0, 0, 1);
    p.width = p.widthRate = 2.0f;
    p.rotation = 10.0f;
    ParticleEmitter::IntegrateParticle(p, 0.0f);
    EXPECT_TRUE(VectorNear(p.color, Vector(0, 0.5f, 1, 0.9f))) << "clamped even at dt 0";
    EXPECT_NEAR(3.7168f, p.rotation, 1e-4f);
    EXPECT_EQ(0.0f, p.age);

    ParticleEmitter::IntegrateParticle(p, 0.5f);
    EXPECT_TRUE(VectorNear(p.velocity, Vector(2, 0, 0, 1)));
    EXPECT_TRUE(VectorNear(p.position, Vector(1, 0, 0, 0.5f))) << "moves with the new velocity, w too";
    EXPECT_TRUE(p.color.w == 1.0f && p.width == 3.0f && p.age == 0.5f);

    struct Turn { float rotation, spin, expected; };
    for (const Turn& turn : {Turn{3.0f, 1.0f, 4.0f}, {-3.0f, -1.0f, 2.2831852f}, {0.0f, 0.0f, 0.0f}}) {
        Particle q;
        q.rotation = turn.rotation;
        q.spin = turn.spin;
        ParticleEmitter::IntegrateParticle(q, 1.0f);
        EXPECT_NEAR(turn.expected, q.rotation, 1e-6f) << turn.rotation;
    }
}

TEST_F(Controller, ACopyIsDeepSoDestroyingItLeavesTheOriginalWhole) {
    Emitting("kept", 3, 10.0f);
    controller.Update(0.0f, kStep);
    {
        ParticleSystemController copy(controller);
        EXPECT_NE(copy.GetEmitter("kept"), controller.GetEmitter("kept"));
        EXPECT_EQ(copy.GetEmitter("kept")->id, controller.GetEmitter("kept")->id);
        copy.Update(0.0f, kStep);
        ParticleSystemController assigned;
        assigned = copy;
        assigned.Clear();
    }
    static_cast<Probe*>(controller.GetEmitter("kept"))->toEmit = 1;
    controller.Update(0.0f, kStep);
    EXPECT_EQ(4, LiveCount(controller));
}

class ControllerFromScripts : public lua_test::LuaTest {};

TEST_F(ControllerFromScripts, ACopyReadByAScriptIsCollectedWithoutTouchingTheOriginal) {
    ParticleSystemController& live = Objects().particleSystemController;
    live.Clear();
    live.CreateEffect(14, 1.0f, "", Vector(0, 0, 0), Vector());
    EXPECT_EQ("true", lua_test::LuaEval("local c = bind.Module_ObjectManager_Instance().particleSystemController\n"
                                        "local read = c ~= nil\n"
                                        "c = nil\ncollectgarbage('collect')\nreturn read"));
    live.Update(0.0f, kStep);
    EXPECT_EQ(16, LiveCount(live));
    live.Clear();
}

}  // namespace
