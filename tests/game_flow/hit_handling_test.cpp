// The walk over a frame's contacts: shots and explosions against machines and
// level geometry, pickups and the foot, deaths with their announcements, and
// the drops of dead enemies.
#include <string>
#include <vector>

#include "collision_manager.h"
#include "game_flow/hit_world.h"
#include "game_states/ingame_state.h"
#include "interface/interface_state.h"
#include "platform/random.h"
#include "support/game_world.h"
#include "support/temp_folder.h"

namespace {

using namespace hit_world;
using Names = std::vector<std::string>;

// The drop patterns of this program: ammunition whose stamp throws (no
// stats values), health without a collision component.
const char* const kDropPatterns[][2] = {
    {"Pickup Ammo", "<object><type>Pickup</type><position x=\"0\" y=\"0\" z=\"0\"/><stats/></object>"},
    {"Pickup Health", "<object><type>Pickup</type><position x=\"0\" y=\"0\" z=\"0\"/>"
                      "<pickup type=\"health\" value=\"20\"/></object>"},
};

class Hits : public HitWorld {
protected:
    static void SetUpTestSuite() {
        static test_support::TempFolder folder;
        test_support::LoadPatternFiles(folder, kDropPatterns);
    }
    // The next draw of the project's generator will satisfy `wanted`.
    template <class Wanted>
    static void SeedForDraw(Wanted wanted) {
        for (unsigned seed = 1;; ++seed) {
            platform::SeedRandom(seed);
            if (!wanted(platform::Rand())) continue;
            platform::SeedRandom(seed);
            return;
        }
    }
    static int LiveWithPrefix(const std::string& prefix) {
        ObjectLock lock(Objects());
        int count = 0;
        for (const auto& entry : Objects().gameObjectList)
            if (!entry.second.isDead && entry.second.name.rfind(prefix, 0) == 0) ++count;
        return count;
    }
    // Kills a fresh machine of that name at `at` with one shot, drawing no
    // random numbers but the drop's.
    void KillMachine(const std::string& name, const Vector& at) {
        GameObject machine = Machine(name, 1, 0.0f, at);
        machine.GetStatsComp()->deathEffect = Effect(1.0f, kNoEffect);
        GameObject shot = Shot(name + "Shot", 10, at);
        hit_rules::BulletOf(shot)->mechEffect = Effect(1.0f, kNoEffect);
        Touch(Add(machine), Add(shot));
    }
};

TEST_F(Hits, AShotOnAMachineStrikesFlashesDamagesAndCountsWhoeverIsA) {
    for (const bool player : {false, true}) {
        for (const bool shotIsA : {false, true}) {
            ClearWorld();
            Logic().ResetStatistics();
            const std::string where = std::string(player ? "player" : "enemy") + (shotIsA ? ", shot A" : ", shot B");
            const unsigned target = Add(Machine(player ? "player" : "MediumMech1", 50, 10.0f, Vector(1, 0, 0)));
            const unsigned shot = Add(Shot("shot1", 30, Vector(1, 2, 3), 15, 50.0f));
            shotIsA ? Touch(shot, target) : Touch(target, shot);

            const GameObject& hit = Live(player ? "player" : "MediumMech1");
            EXPECT_EQ((Names{hit_rules::kShieldHit1, hit_rules::kShieldHit2}), Played()) << where;
            EXPECT_TRUE(hit.GetStatsComp()->hp == 30 && hit.GetStatsComp()->sp == 0.0f) << where;
            EXPECT_EQ(3, hit.GetGraphicsComp()->flashFrames) << where;
            EXPECT_TRUE(Live("shot1").isDead) << where;
            EXPECT_EQ(player ? 0u : 1u, Logic().shotsHit) << where;
            EXPECT_EQ(player ? 10u : 0u, Logic().damageShield) << where;
            EXPECT_EQ(player ? 20u : 0u, Logic().damageArmor) << where;
            ASSERT_EQ(1u, Particles().emitters.size()) << where << ": the shot's mech effect";
            EXPECT_EQ(2.0f, Particles().emitters[0]->size);
            EXPECT_EQ(3.0f, Particles().emitters[0]->position.z);

            ASSERT_EQ(1u, Behavior().pendingObjects.size()) << where << ": the shot's explosion";
            const GameObject& blast = Behavior().pendingObjects.front();
            const CollisionComp& sphere = *blast.GetCollisionComp();
            EXPECT_EQ(0u, blast.name.rfind("Explosion", 0)) << blast.name;
            EXPECT_TRUE(hit_rules::ExplosionOf(blast)->fresh && hit_rules::ExplosionOf(blast)->damage == 15 &&
                        hit_rules::ExplosionOf(blast)->radius == 50.0f);
            EXPECT_TRUE(sphere.hasBoundSphere && sphere.boundSphere.radius == 50.0f &&
                        sphere.boundSphere.center.y == 2.0f && !sphere.resolveContact &&
                        sphere.category == 4u && sphere.collidesWith == 3u);
            EXPECT_TRUE(blast.trans.x == 0.0f && blast.trans.y == 0.0f && blast.trans.z == 0.0f);
        }
    }
}

TEST_F(Hits, ShotsMeetingShotsOrExplosionsPassAndAShotPassesUnseenGeometry) {
    const unsigned shotA = Add(Shot("shotA", 5, Vector()));
    const unsigned shotB = Add(Shot("shotB", 5, Vector()));
    GameObject blast("blast");
    blast.AttachComponent(ExplosionComp());
    const unsigned explosion = Add(blast);
    const unsigned unseen = Add(LevelPiece("rock", false));
    Touch(shotA, shotB);
    Touch(shotA, explosion);
    Touch(explosion, shotB);
    Touch(shotA, unseen);
    EXPECT_TRUE(!Live("shotA").isDead && !Live("shotB").isDead && !Live("blast").isDead);
    EXPECT_TRUE(Played().empty() && Particles().emitters.empty() && Behavior().pendingObjects.empty());
}

TEST_F(Hits, VisibleGeometryBreaksAShotWithACoinForItsSoundAndEndsAnExplosion) {
    const unsigned wall = Add(LevelPiece("wall", true));
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        platform::SeedRandom(seed);
        const bool odd = platform::Rand() % 2 == 1;
        platform::SeedRandom(seed);
        const std::string name = "shot" + std::to_string(seed);
        Touch(Add(Shot(name, 5, Vector(0, 1, 0))), wall);
        EXPECT_TRUE(Live(name).isDead);
        EXPECT_EQ(odd ? Names{hit_rules::kShieldHit3} : Names{}, Played()) << seed;
        EXPECT_EQ(3.0f, Particles().emitters.back()->size) << "the building effect";
    }
    GameObject blast("blast");
    blast.AttachComponent(ExplosionComp());
    Touch(wall, Add(blast));
    EXPECT_TRUE(Live("blast").isDead && Played().empty() && Logic().shotsHit == 0u);
}

TEST_F(Hits, AnExplosionHurtsOneTargetOnlyAndSoundsWhereItsSphereIs) {
    GameObject blast("Explosion1");
    ExplosionComp explosion;
    explosion.damage = 15;
    blast.AttachComponent(explosion);
    blast.AttachComponent(CollisionComp());
    blast.GetCollisionComp()->hasBoundSphere = true;
    blast.GetCollisionComp()->boundSphere.center = Vector(0, 5, 0);
    const unsigned blastNum = Add(blast);
    const unsigned first = Add(Machine("MediumMech1", 40, 0.0f, Vector()));
    const unsigned second = Add(Machine("MediumMech2", 40, 0.0f, Vector()));
    CollisionEvent a, b;
    a.objA = b.objA = blastNum;
    a.objB = first;
    b.objB = second;
    hits::HandleContacts({a, b}, enemiesLeft);
    EXPECT_TRUE(Live("MediumMech1").GetStatsComp()->hp == 25 && Live("MediumMech2").GetStatsComp()->hp == 40);
    EXPECT_EQ(0, Live("MediumMech1").GetGraphicsComp()->flashFrames) << "only shots flash";
    EXPECT_EQ(Names{hit_rules::kHullHit}, Played());
    ASSERT_EQ(1u, layer.placements.size());
    EXPECT_EQ(5.0f, layer.placements[0].position[1]);
    EXPECT_TRUE(Live("Explosion1").isDead && Logic().shotsHit == 1u);
}

TEST_F(Hits, PickupsGoOnlyToThePlayerAndTheFootStandsOnLevelGeometry) {
    struct Row {
        const char* a;
        const char* b;
        int playerHp;
        bool used;
    };
    const Row rows[] = {
        {"pickup", "player", 50, true}, {"player", "pickup", 50, true}, {"pickup", "player", 100, false},
        {"pickup", "crate", 50, false}, {"pickup", "pickup2", 50, false},
    };
    for (const Row& row : rows) {
        ClearWorld();
        Add(Machine("player", row.playerHp, 0.0f, Vector()));
        Add(Machine("crate", 50, 0.0f, Vector()));
        for (const char* name : {"pickup", "pickup2"}) {
            GameObject pickup(name);
            PickupComp health;
            health.kind = PickupComp::kHealth;
            health.value = 20;
            pickup.AttachComponent(health);
            Add(pickup);
        }
        Touch(Number(row.a), Number(row.b));
        const std::string where = std::string(row.a) + " with " + row.b;
        EXPECT_EQ(row.used, Live("pickup").isDead) << where;
        EXPECT_EQ(row.used ? 70 : row.playerHp, Live("player").GetStatsComp()->hp) << where;
        EXPECT_TRUE(Live("crate").GetStatsComp()->hp == 50 && !Live("pickup2").isDead) << where;
    }
    const unsigned foot = Add(GameObject("playerFoot"));
    Touch(foot, Number("crate"));
    EXPECT_FALSE(Logic().onGround);
    Touch(Add(LevelPiece("ground", false)), foot);
    EXPECT_TRUE(Logic().onGround);
}

TEST_F(Hits, AnEnemysDeathIsCountedAnnouncedShownAndLogged) {
    const unsigned mech = Add(Machine("MediumMech7", 10, 0.0f, Vector(4, 0, 4)));
    Touch(mech, Add(Shot("shot1", 10, Vector(4, 1, 4))));
    EXPECT_TRUE(enemiesLeft == 4 && Logic().enemiesKilled == 1u && Live("MediumMech7").isDead);
    for (const char* client : {"InterfaceManager", "GameLogic"}) {
        const std::deque<Event> sent = Sent(client);
        ASSERT_EQ(1u, sent.size()) << client;
        EXPECT_TRUE(sent[0].eventType == "Enemy Death" && sent[0].from == "MediumMech7: IngameState") << client;
        EXPECT_EQ(4, sent[0].GetParam<int>("numEnemies")) << client;
    }
    EXPECT_EQ((Names{hit_rules::kShieldHit1, hit_rules::kHullHit, hit_rules::kExplosionShort}), Played());
    ASSERT_EQ(2u, Particles().emitters.size());
    EXPECT_TRUE(Particles().emitters[1]->size == 5.0f && Particles().emitters[1]->position.y == 0.0f)
        << "the death effect where the enemy stood";
    EXPECT_TRUE(test_support::InOrder(log.Text(), {"enemiesKilled = 1", "enemyName = MediumMech7: IngameState"}));
    EXPECT_LE(LiveWithPrefix("PickupAmmo"), 1);
}

TEST_F(Hits, ThePlayerAnnouncesItsDeathAfterEveryHitThatLeavesItAtZero) {
    const unsigned player = Add(Machine("player", 5, 0.0f, Vector()));
    for (int hit = 1; hit <= 2; ++hit) {
        Touch(Add(Shot("shot" + std::to_string(hit), 10, Vector())), player);
        const std::deque<Event> toInterface = Sent("InterfaceManager");
        const std::deque<Event> toLogic = Sent("GameLogic");
        ASSERT_TRUE(toInterface.size() == 1u && toLogic.size() == 1u) << hit;
        EXPECT_EQ("State Change", toInterface[0].eventType);
        EXPECT_EQ(InterfaceState::GameOver, toInterface[0].GetParam<InterfaceState::Type>("state"));
        EXPECT_TRUE(toLogic[0].eventType == "Player Death" && toLogic[0].to == "GameLogic");
    }
    EXPECT_TRUE(enemiesLeft == 5 && Logic().enemiesKilled == 0u && !Live("player").isDead);
}

TEST_F(Hits, OneDrawPerDeathAndAFailedStampLeavesNoPickup) {
    SeedForDraw([](int draw) { return draw < 2949; });
    KillMachine("HeavyMech2", Vector(1, 2, 3));
    ASSERT_EQ(1, LiveWithPrefix("PickupHealth")) << "a pattern without collision";
    {
        ObjectLock lock(Objects());
        for (const auto& entry : Objects().gameObjectList) {
            const GameObject& drop = entry.second;
            if (drop.name.rfind("PickupHealth", 0) != 0) continue;
            EXPECT_TRUE(drop.trans.x == 1.0f && drop.trans.y == 2.0f && drop.trans.z == 3.0f && drop.trans.w == 1.0f);
            EXPECT_EQ(PickupComp::kHealth, hit_rules::PickupOf(drop)->kind);
        }
    }
    SeedForDraw([](int draw) { return draw >= 2950; });
    KillMachine("HeavyMech3", Vector());
    SeedForDraw([](int draw) { return draw >= 4260; });
    KillMachine("MediumMech4", Vector());
    EXPECT_TRUE(LiveWithPrefix("PickupHealth") == 1 && LiveWithPrefix("PickupAmmo") == 0);

    SeedForDraw([](int draw) { return draw < 4259; });
    log.Restart();
    KillMachine("MediumMech5", Vector());
    EXPECT_EQ(0, LiveWithPrefix("PickupAmmo"));
    EXPECT_TRUE(log.Has("could not be made from pattern Pickup Ammo")) << log.Text();
}

// The last list stays published while collision does not run (a paused
// game): the in-game frame answers each pass once.
TEST_F(Hits, TheInGameFrameAnswersEachCollisionPassOnce) {
    CollisionComp sphere;
    sphere.hasBoundSphere = true;
    GameObject foot("playerFoot"), ground = LevelPiece("ground", false);
    sphere.category = 16;
    sphere.collidesWith = 8;
    foot.AttachComponent(sphere);
    sphere.category = 8;
    sphere.collidesWith = 0;
    ground.AttachComponent(sphere);
    Add(foot);
    Add(ground);
    CollisionManager& collision = *Module<CollisionManager>::Instance();
    collision.Init();
    IngameState ingame;  // no player: only the contacts act
    collision.Update();
    ingame.Update();
    EXPECT_TRUE(Logic().onGround);
    Logic().onGround = false;
    ingame.Update();
    EXPECT_FALSE(Logic().onGround) << "a pass already answered";
    collision.Update();
    ingame.Update();
    EXPECT_TRUE(Logic().onGround);
    collision.Kill();
}

}  // namespace
