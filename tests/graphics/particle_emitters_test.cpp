// The emitter classes through the controller (counts from sizes, the rules
// that touch only the first particle, the colour switch, dying at the
// lifetime, the trails' cadence and linger) and the effect catalogue (which
// emitters each type makes, in order, with which colours, sizes and names).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "geom/geom_expect.h"
#include "graphics/particle_fixture.h"
#include "resource_manager.h"

using namespace particle_test;

namespace {

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

class Emitters : public ParticleTest {};

TEST_F(Emitters, SmokeEmitsItsBudgetTimesSizeOnceAndFinishesWithItsLastParticle) {
    struct Case { float size; int count; };
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c : {Case{1.5f, 19}, {1.0f, 13}, {-1.0f, 0}, {kNaN, 0}, {1e30f, int(kMaxScaledCount)}}) {
        ParticleSystemController smoke;
        ParticleEmitter* emitter = smoke.GetEmitter(smoke.AddEmitter<ExplosionSmoke>("smoke"));
        emitter->size = c.size;
        smoke.Update(0.0f, kStep);
        EXPECT_EQ(c.count, LiveCount(smoke)) << c.size;
        smoke.Update(0.0f, kStep);
        EXPECT_EQ(c.count, LiveCount(smoke)) << "nothing after the first frame";
        const int frames = c.count == 0 ? 0 : FramesUntilRemoved(smoke, 0);
        EXPECT_TRUE(c.count == 0 ? smoke.emitters.empty() : frames > 25 && frames < 32) << c.size << ": " << frames;
        EXPECT_EQ(0, LiveCount(smoke));
    }
}

// Steps until the first particle has started a step older than `age`.
void AgeTo(ParticleSystemController& c, float age) {
    while (c.particles[0].age <= age) c.Update(0.0f, kStep);
    c.Update(0.0f, kStep);
}

int CountIf(const ParticleSystemController& c, bool (*test)(const Particle&)) {
    int n = 0;
    for (const Particle& p : c.particles)
        if (!p.isFree && test(p)) ++n;
    return n;
}

TEST_F(Emitters, TheFirstParticleRulesOfFlashSmokeAndDust) {
    Add<ExplosionFlash>("flash");
    controller.Update(0.0f, kStep);
    AgeTo(controller, 0.1f);
    EXPECT_EQ(1, CountIf(controller, [](const Particle& p) { return p.heightRate < 0; }));
    EXPECT_EQ(1, CountIf(controller, [](const Particle& p) { return p.widthRate == p.heightRate && p.widthRate < 0; }));
    EXPECT_EQ(4, CountIf(controller, [](const Particle& p) { return p.widthRate > 0 && p.colorRate.y < 0; }));

    controller.Clear();
    Add<ExplosionSmoke>("smoke");
    controller.Update(0.0f, kStep);
    const int all = LiveCount(controller);
    AgeTo(controller, 0.1f);
    // Only the grey fade lowers red: the default smoke keeps red at 1.
    EXPECT_EQ(1, CountIf(controller, [](const Particle& p) { return p.colorRate.x < 0; }));
    EXPECT_EQ(all, LiveCount(controller));

    // Dust halves its alpha after the first particle; a reused slot starts still.
    controller = ParticleSystemController();
    Particle used;  // a slot left moving by an earlier particle
    used.acceleration = used.velocity = Vector(5, 5, 5, 0);
    controller.particles.push_back(used);
    Add<ExplosionShockwave>("ring").position = Vector(3, 4, 5);
    controller.Update(0.0f, kStep);
    EXPECT_TRUE(VectorNear(controller.particles[0].position, Vector(3, 4, 5)));
    controller.Clear();

    Add<ExplosionDust>("dust");
    controller.Update(0.0f, 0.0f);
    const Particle& first = controller.particles[0];
    EXPECT_NEAR((0.5f - 0.9f) / first.lifetime, first.colorRate.w, 1e-6f);
    for (int i = 1; i < 15; ++i) {
        EXPECT_TRUE(controller.particles[i].color.w == 0.5f && controller.particles[i].colorRate.w == 0.0f) << i;
    }
}

TEST_F(Emitters, APieceDiesUnsteppedAtItsLifetimeAndSwitchesColourOnlyPastTheSwitch) {
    ExplosionDebris debris("debris");
    Particle p;
    debris.InitParticle(p, 0);
    p.age = debris.colorSwitch * p.lifetime;
    debris.Update(p, 0.0f, 0.0f);
    EXPECT_NE(0.0f, p.colorRate.y) << "not at equality";
    p.age += 0.001f;
    debris.Update(p, 0.0f, 0.0f);
    EXPECT_TRUE(VectorNear(p.color, debris.endColor) && VectorNear(p.colorRate, Vector(0, 0, 0, 0)));

    const uint32_t alive = debris.particlesAlive;
    const Vector at = p.position;
    p.age = p.lifetime;
    p.velocity = Vector(1, 0, 0);
    debris.Update(p, 0.0f, 1.0f);
    EXPECT_TRUE(p.isFree && VectorNear(p.position, at)) << "freed, not integrated";
    EXPECT_EQ(alive - 1, debris.particlesAlive);
}

TEST_F(Emitters, TrailsEmitOnePerFrameWithinTheirBudgetThenLingerAfterTheirObject) {
    struct Trail { bool debris; int budget; float linger; };
    for (const Trail& t : {Trail{true, 20, 13.0f}, {false, 30, 1.5f}}) {
        ParticleSystemController c;
        AddObject("missile", Vector(0, 10, 0));
        const std::string name = t.debris ? c.AddEmitter<DebrisTrail>("trail") : c.AddEmitter<SmokeTrail>("trail");
        TrailEmitter& trail = static_cast<TrailEmitter&>(*c.GetEmitter(name));
        EXPECT_FLOAT_EQ(1.0f, trail.size) << "a trail's size is 1 unless set";
        trail.follow = true;
        trail.followName = "missile";
        for (int frame = 1; frame <= t.budget + 5; ++frame) {
            c.Update(0.0f, kStep);
            ASSERT_EQ(std::min(frame, t.budget), LiveCount(c)) << frame;
        }
        // Past their lives the particles are handed back and the trail goes on.
        while (LiveCount(c) == t.budget) c.Update(0.0f, kStep);
        EXPECT_GT(trail.particlesToEmit, 0u);
        const int32_t emitted = c.particleCounter;
        c.Update(0.0f, kStep);
        EXPECT_EQ(emitted + 1, c.particleCounter);

        ClearObjects();
        const int live = LiveCount(c);
        c.Update(0.0f, kStep);
        EXPECT_LE(LiveCount(c), live) << "nothing new once the object has gone";
        const int frames = FramesUntilRemoved(c, 0);
        EXPECT_NEAR(t.linger / kStep, frames, 3.0f) << t.debris;
    }
}

// ---- The catalogue --------------------------------------------------------------

// A name's class prefix: the name without its trailing counter digits.
std::string Prefix(const std::string& name) { return name.substr(0, name.find_last_not_of("0123456789") + 1); }

std::vector<std::string> Prefixes(const ParticleSystemController& c) {
    std::vector<std::string> prefixes;
    for (const auto& e : c.emitters) prefixes.push_back(Prefix(e->name));
    return prefixes;
}

class Catalogue : public ParticleTest {
protected:
    const Vector kAt{10, 0, 20};
    const Vector kGround{1.0f, 128.0f / 255.0f, 0.0f, 1.0f};

    void SetUp() override {
        ParticleTest::SetUp();
        Texture map(1, 1, 4);
        map.SetPixel(0, 0, 0xFF0080FFu);
        if (Store().IsStored(kMapName)) Store().DeleteResource(kMapName);
        ASSERT_EQ(0, Store().add(kMapName, map));
        GroundPlaneObject& ground = Objects().groundObject;
        ground.colorMapHandle = Handle(kMapName);
        ground.pos = Vector(0, 0, 0, 0);
        ground.scale = Vector(100, 1, 100, 0);
    }
    void TearDown() override {
        Objects().groundObject = GroundPlaneObject();
        Store().DeleteResource(kMapName);
        ParticleTest::TearDown();
    }
    ParticleEmitter& At(std::size_t index) { return *controller.emitters.at(index); }

    static constexpr const char* kMapName = "tex_particle_test_ground";
};

TEST_F(Catalogue, EachTypeMakesItsEmittersInOrderUnderFreshNames) {
    const std::string smoke = "ExplosionSmokeEmitter", flash = "ExplosionFlashEmitter", dust = "ExplosionDustEmitter",
                      ring = "ExplosionShockWaveEmitter", debris = "ExplosionDebrisEmitter",
                      sparks = "ExplosionSparkEmitter", trail = "SmokeTrail";
    const struct { int type; std::vector<std::string> classes; } rows[] = {
        {0, {smoke, flash, dust, ring, debris, sparks}}, {4, {smoke, flash, dust, ring, sparks, debris, sparks}},
        {10, {smoke, flash, dust, sparks, ring, debris}}, {11, {smoke, flash, dust, ring}},
        {13, {"BulletSplashEmitter", "DustRiseEmitter"}}, {14, {sparks}},
        {17, {"DebrisTrail", trail, trail, trail, trail}}, {18, {trail, trail, trail}},
        {12, {}}, {15, {}}, {16, {}}, {19, {}}, {-1, {}}};
    for (const auto& row : rows) {
        controller.Clear();
        const unsigned before = Store().GetObjectNum();
        controller.CreateEffect(row.type, 2.0f, "", kAt, Vector(9, 9, 9));
        EXPECT_EQ(Prefixes(controller), row.classes) << row.type;
        EXPECT_EQ(before + 1 + row.classes.size(), Store().GetObjectNum()) << "one counter value per emitter";
    }
}

TEST_F(Catalogue, DebrisAndSplashesTakeTheGroundAndTrailsFollowAtScaledSizes) {
    controller.CreateEffect(0, 2.5f, "", kAt, Vector());
    controller.CreateEffect(1, 2.5f, "", kAt, Vector());
    controller.CreateEffect(13, 1.0f, "", kAt, Vector());
    for (std::size_t i = 0; i < 12; ++i) EXPECT_TRUE(At(i).size == 2.5f && VectorNear(At(i).position, kAt)) << i;
    EXPECT_TRUE(VectorNear(At(4).startColor, Vector(1, 0.66f, 0.02f, 1)));
    EXPECT_NE(At(4).endColor.y, kGround.y) << "type 0 debris keeps its grey";
    EXPECT_TRUE(VectorNear(At(10).endColor, kGround)) << "type 1 debris fades to the ground";
    EXPECT_TRUE(VectorNear(At(12).startColor, kGround) && VectorNear(At(13).startColor, kGround));

    controller.Clear();
    controller.CreateEffect(17, 6.0f, "missile7", kAt, Vector());
    const float sizes[] = {6.0f / 10.3f, 1.0f, 12.0f, 6.0f, 6.0f / 4.5f};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(At(i).size == sizes[i] && At(i).follow && At(i).followName == "missile7") << i;
    EXPECT_FLOAT_EQ(0.06f, static_cast<TrailEmitter&>(At(4)).particleLife);
}

}  // namespace
