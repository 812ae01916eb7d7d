// Trigger pulls as the player controller and the behaviour states make them,
// under the object lock, on a paused clock: the rate test, the player's count,
// hot spots, fans, ammunition, refused pulls, the projectiles' components and
// the firing sound through the recording sound layer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "aistuff/state_expire.h"
#include "behavior_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "geom/geom_expect.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/random.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/animated_mechs.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"
#include "system.h"
#include "weapons.h"
#include "weapons/launch.h"

namespace {

using sound_test::RecordingSoundLayer;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
BehaviorManager& Behavior() { return *Module<BehaviorManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }
uint32_t& ShotsFired() { return Module<GameLogic>::Instance()->shotsFired; }

const double kNow = 1000.0;
const Vector kForward(0, 0, -1);
const char* const kSamples[] = {"sample_shot_laser1", "sample_shot_laser2", "sample_missile_fire"};

// A weapon as the level load or a pattern makes one, last fired long ago.
template <class W>
W MakeWeapon(const std::string& owner, const std::string& bone = Weapon::kCameraMuzzle) {
    W weapon;
    weapon.owner = owner;
    weapon.bulletName = owner + "Bullet";
    weapon.bulletPrototype.faction = owner == GameObject::kPlayerName ? 2 : 1;
    weapon.AddHotSpot(0, 1, 0, bone);
    weapon.speed = 100.0f;
    weapon.rate = 0.5f;
    weapon.expire = 2.0;
    weapon.num = 1;
    weapon.baseDamage = 7.9f;
    weapon.lastFireTime = kNow - 10.0;
    return weapon;
}

class FireTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ResourceManager& store = *Module<ResourceManager>::Instance();
        ASSERT_TRUE(test_support::LoadMechContent());
        for (const char* name : {"mesh_missile", "tex_missile"}) ASSERT_EQ(store.LoadResource(name), 0);
        for (int i = 0; i < 3; ++i) {
            Sound sound;
            sound.sample = RecordingSoundLayer::FakeSample(i);
            sound.name = kSamples[i];
            ASSERT_EQ(store.add<Sound>(kSamples[i], sound), 0);
        }
    }
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Objects().Init();
        Objects().cameraObject.viewMat = Matrix();
        Module<SoundManager>::Instance()->Init();
        Sys().pausedTime.store(kNow);
        Sys().paused.store(true);
        Reset();
    }
    void TearDown() override {
        Module<SoundManager>::Instance()->Kill();
        Reset();
        Sys().paused.store(false);
        Objects().Kill();
        Module<EventManager>::Instance()->Kill();
    }
    // An empty world but for the "player" and a "drone", nothing queued or counted.
    void Reset() {
        Behavior().ClearPendingObjects();
        Objects().particleSystemController.Clear();
        {
            ObjectLock lock;
            Objects().ClearGameObjects();
        }
        ASSERT_TRUE(Objects().AddGameObject(GameObject("player")) && Objects().AddGameObject(GameObject("drone")));
        ShotsFired() = 0;
        layer.soundPlays.clear();
        layer.placements.clear();
        log.Restart();
    }
    static void Pull(Weapon& weapon, const Vector& dir = kForward) {
        ObjectLock lock;
        weapon.Fire(dir);
    }
    static std::vector<GameObject> Queued() { return {Behavior().pendingObjects.begin(), Behavior().pendingObjects.end()}; }
    // The samples played, by their index in kSamples.
    std::vector<int> Played() const {
        std::vector<int> played;
        for (const auto& call : layer.soundPlays)
            for (int i = 0; i < 3; ++i)
                if (call.what == RecordingSoundLayer::FakeSample(i)) played.push_back(i);
        return played;
    }
    RecordingSoundLayer layer;
    test_support::LogCapture log;
};

TEST_F(FireTest, APullPassesAtExactlyTheRateOnlyThePlayersCountAndOnlyThePlayersMissilesSpendAmmunition) {
    // kind: l laser, m missile, f flame thrower. The player's empty launcher
    // passes (counts, moves lastFireTime) yet shoots nothing and stays silent;
    // its last missile (ammunition equal to the volley of one) still goes.
    struct Case { const char* owner; char kind; double sinceLast; float rate; int ammo, ammoAfter; bool passes, shoots; };
    const Case cases[] = {
        {"player", 'l', 0.5, 0.5f, 0, 0, true, true},  {"player", 'l', 0.4999, 0.5f, 0, 0, false, false},
        {"player", 'l', 1e9, NAN, 0, 0, false, false}, {"drone", 'l', 0.5, 0.5f, 0, 0, true, true},
        {"player", 'm', 0.5, 0.5f, 2, 1, true, true},  {"player", 'm', 0.5, 0.5f, 1, 0, true, true},
        {"player", 'm', 0.5, 0.5f, 0, 0, true, false}, {"drone", 'm', 0.5, 0.5f, 0, 0, true, true},
        {"player", 'f', 0.5, 0.5f, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.owner) + " " + c.kind + " " + std::to_string(c.sinceLast) + " ammo " + std::to_string(c.ammo));
        Reset();
        SimpleSpread laser = MakeWeapon<SimpleSpread>(c.owner);
        Missile launcher = MakeWeapon<Missile>(c.owner);
        FlameThrower flamer = MakeWeapon<FlameThrower>(c.owner);
        launcher.ammo = c.ammo;
        Weapon& weapon = c.kind == 'm' ? static_cast<Weapon&>(launcher) : c.kind == 'f' ? static_cast<Weapon&>(flamer) : laser;
        weapon.rate = c.rate;
        weapon.lastFireTime = kNow - c.sinceLast;
        Pull(weapon);
        EXPECT_EQ(ShotsFired(), c.passes && c.owner == std::string("player") ? 1u : 0u);
        EXPECT_EQ(weapon.lastFireTime, c.passes ? kNow : kNow - c.sinceLast);
        EXPECT_EQ(Queued().size(), c.shoots ? 1u : 0u);
        EXPECT_EQ(layer.soundPlays.size(), c.shoots ? 1u : 0u);
        EXPECT_EQ(launcher.ammo, c.ammoAfter);
        if (c.kind == 'm') {
            EXPECT_EQ(Played(), c.shoots ? std::vector<int>{2} : std::vector<int>{});
        }
    }
    // The rows above ran paused on the stored time; a running game reads the clock.
    SimpleSpread laser = MakeWeapon<SimpleSpread>("player");
    Sys().paused.store(false);
    laser.lastFireTime = Sys().GetTime() - 1.0;
    const double before = Sys().GetTime();
    Pull(laser);
    EXPECT_TRUE(laser.lastFireTime >= before && laser.lastFireTime <= Sys().GetTime());
}

TEST_F(FireTest, AlternatingHotSpotsGoOneTwoZeroOneAFanLeavesTogetherAndOneSampleSoundsAtItsCentre) {
    SimpleSpread laser = MakeWeapon<SimpleSpread>("player");
    laser.hotspots.clear();
    laser.hotSpotCount = 0;
    for (float x : {10.0f, 20.0f, 30.0f}) laser.AddHotSpot(x, 1, 0, Weapon::kCameraMuzzle);
    laser.alternate = true;
    laser.num = 3;
    laser.spreadHorizontal = 0.2f;
    std::vector<int> samples;  // the parity of the pull's one random draw
    unsigned seed = 0;
    for (int expected : {1, 2, 0, 1, 2, 0}) {
        platform::SeedRandom(++seed);
        samples.push_back(platform::Rand() % 2);
        platform::SeedRandom(seed);
        Behavior().ClearPendingObjects();
        laser.lastFireTime = kNow - laser.rate;
        Pull(laser);
        EXPECT_EQ(laser.hotSpotIndex, expected);
        ASSERT_EQ(Queued().size(), 3u);
        for (const GameObject& shot : Queued()) EXPECT_EQ(shot.trans.x, 10.0f * (expected + 1));
        ASSERT_EQ(layer.placements.size(), seed);
        EXPECT_TRUE(VectorNear(Vector(layer.placements.back().position, 3), Vector(10.0f * (expected + 1), 1, 0)));
    }
    EXPECT_EQ(ShotsFired(), 6u);  // once a pull, not once a shot
    EXPECT_EQ(Played(), samples);
}

TEST_F(FireTest, AWeaponThatCannotFireIsRefusedBeforeAnythingHappens) {
    Missile none = MakeWeapon<Missile>("player"), outside = none, ownerless = none, boneless = none;
    none.hotspots.clear();
    outside.hotSpotIndex = 1;
    ownerless.owner = "gone";
    boneless.owner = "drone";  // no GraphicsComp for its bone muzzle
    boneless.hotspots[0].boneName = "gun_left";
    for (Missile* weapon : {&none, &outside, &ownerless, &boneless}) {
        weapon->ammo = 3;
        for (int pull = 0; pull < 2; ++pull) Pull(*weapon);
        EXPECT_TRUE(weapon->ammo == 3 && weapon->lastFireTime == kNow - 10.0);
    }
    EXPECT_TRUE(ShotsFired() == 0 && Queued().empty() && layer.soundPlays.empty());
    EXPECT_EQ(log.Count("does not fire"), 4) << log.Text();  // once each, not once a pull
    outside.alternate = true;  // the advance brings the index back into the list
    Pull(outside);
    EXPECT_TRUE(outside.hotSpotIndex == 0 && Queued().size() == 1u);
}

TEST_F(FireTest, ATargetAtTheMuzzleFiresNothingYetThePullSoundsThere) {
    GameObject mech = test_support::StampMech("mech");
    mech.GetGraphicsComp()->skeleton.UpdateBonePositions();
    ASSERT_TRUE(Objects().AddGameObject(mech));
    Weapon& guns = *mech.GetWeaponComp()->primary;
    guns.alternate = false;
    weapons::Muzzle muzzle;
    {
        ObjectLock lock;
        std::string reason;
        ASSERT_TRUE(weapons::LocateMuzzle(guns, 0, muzzle, reason));
    }
    Pull(guns, muzzle.position);
    EXPECT_TRUE(Queued().empty() && guns.lastFireTime == kNow);
    ASSERT_EQ(layer.placements.size(), 1u);
    EXPECT_TRUE(VectorNear(Vector(layer.placements[0].position, 3), Vector(muzzle.position.x, muzzle.position.y, muzzle.position.z), 1e-4f));
}

TEST_F(FireTest, ShotsAreNamedArmedAndFilteredByFactionAndMuzzle) {
    ASSERT_TRUE(Objects().AddGameObject(test_support::StampMech("mech")));
    SimpleSpread player = MakeWeapon<SimpleSpread>("player");
    SimpleSpread enemy = MakeWeapon<SimpleSpread>("mech", "gun_left");
    std::vector<GameObject> shots;
    {
        ObjectLock lock;
        shots = {player.SpawnShot(kForward), player.SpawnShot(kForward), enemy.SpawnShot(Vector(0, 0, 100))};
    }
    const auto counter = [](const GameObject& shot) { return std::stoul(shot.name.substr(12)); };
    ASSERT_EQ(shots[0].name.rfind("playerBullet", 0), 0u);
    EXPECT_EQ(counter(shots[1]), counter(shots[0]) + 1);
    struct Expect { const char* texture; uint32_t targets, notTargets; };
    const Expect expects[] = {{"tex_shot_red", 2 | 8, 1}, {"tex_shot_red", 2 | 8, 1}, {"tex_shot_blue", 1 | 8, 2}};
    for (size_t i = 0; i < shots.size(); ++i) {
        const GameObject& shot = shots[i];
        const auto* billboard = static_cast<const BillboardComp*>(shot.GetComponent(CompIndex::Billboard));
        const auto* bullet = static_cast<const BulletComp*>(shot.GetComponent(CompIndex::Bullet));
        ASSERT_TRUE(billboard && bullet && shot.GetPhysicsComp() && shot.GetBehaviorComp()) << shot.name;
        EXPECT_EQ(billboard->texture.GetID(), expects[i].texture);
        EXPECT_TRUE(billboard->width == 1.0f && billboard->height == 1.0f && bullet->damage == 7);
        const CollisionComp& collision = *shot.GetCollisionComp();
        EXPECT_TRUE(collision.hasBoundSphere && collision.boundSphere.radius == 0.1f && !collision.resolveContact);
        EXPECT_EQ(collision.category, 4u);
        EXPECT_EQ(collision.collidesWith & (expects[i].targets | expects[i].notTargets), expects[i].targets);
        const auto* expiry = dynamic_cast<const StateExpire*>(shot.GetBehaviorComp()->sm.Top());
        ASSERT_NE(expiry, nullptr);
        EXPECT_TRUE(expiry->lifetime == 2.0 && expiry->ownerName == shot.name && shot.GetBehaviorComp()->sm.name == shot.name);
    }
}

TEST_F(FireTest, EveryMissileOfAFanIsStampedFromItsPatternAndTrailed) {
    Missile launcher = MakeWeapon<Missile>("player");
    launcher.ammo = 10;
    launcher.num = 3;
    launcher.spreadHorizontal = 0.5f;
    Pull(launcher);
    const std::vector<GameObject> missiles = Queued();
    ASSERT_EQ(missiles.size(), 3u);
    EXPECT_EQ(launcher.ammo, 7);
    for (const GameObject& missile : missiles) {
        ASSERT_TRUE(missile.GetGraphicsComp() && missile.GetPhysicsComp());
        EXPECT_EQ(missile.GetGraphicsComp()->modelMesh.GetID(), "mesh_missile");
        EXPECT_NEAR(missile.GetPhysicsComp()->linearVel.Mag(), 100.0f, 1e-3f);
        EXPECT_TRUE(VectorNear(missile.rot.Rotate(Vector(0, 0, 1)), kForward));  // only the velocity turns
        int trails = 0;
        for (const auto& emitter : Objects().particleSystemController.emitters)
            trails += emitter->follow && emitter->followName == missile.name;
        EXPECT_GE(trails, 1) << missile.name;
    }
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
}

}  // namespace
