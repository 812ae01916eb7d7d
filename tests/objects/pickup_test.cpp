// Pickups: what ApplyPickup changes on the collector, when it refuses, the
// sound it plays and the "Game Message" it posts.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "core/recording_sound_layer.h"
#include "event_manager.h"
#include "interface/game_message.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "weapons.h"

using sound_test::RecordingSoundLayer;

namespace {

const char* const kPickupSound = "sample_health_pickup";

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }

std::deque<Event> InterfaceEvents() {
    return Module<EventManager>::Instance()->PollEvents(kGameMessageTo);
}

PickupComp Pickup(int32_t kind, int32_t value) {
    PickupComp pickup;
    pickup.kind = kind;
    pickup.value = value;
    return pickup;
}

class PickupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sound sound;
        sound.sample = RecordingSoundLayer::FakeSample(7);
        sound.name = kPickupSound;
        Resources().add<Sound>(kPickupSound, sound);
        Objects().cameraObject.target = Vector(1.0f, 2.0f, 3.0f, 0.0f);
        InterfaceEvents();  // whatever earlier tests left behind
    }

    void TearDown() override {
        if (Resources().IsStored(kPickupSound)) Resources().DeleteResource(kPickupSound);
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
    }

    // A collector with hull points hp of healthMax.
    static void AddHull(const std::string& name, int hp, int healthMax) {
        GameObject object(name);
        StatsComp stats(healthMax, 1.0f, 0.0f, 1.0f, 0);
        stats.hp = hp;
        object.AttachComponent(stats);
        ASSERT_TRUE(Objects().AddGameObject(object));
    }

    // A collector whose secondary weapon holds ammo of maxAmmo missiles.
    static void AddLauncher(const std::string& name, int ammo, int maxAmmo) {
        GameObject object(name);
        WeaponComp weapons;
        weapons.secondary = new Missile();
        weapons.secondary->ammo = ammo;
        weapons.secondary->maxAmmo = maxAmmo;
        object.AttachComponent(weapons);
        ASSERT_TRUE(Objects().AddGameObject(object));
    }

    // Applies under the object lock, as the in-game state does.
    static bool Apply(PickupComp pickup, const std::string& collector) {
        ObjectLock lock(Objects());
        return pickup.ApplyPickup(collector);
    }

    static int Hp(const std::string& name) {
        ObjectLock lock(Objects());
        return Objects().GetGameObject(name)->GetStatsComp()->hp;
    }
    static int Ammo(const std::string& name) {
        ObjectLock lock(Objects());
        return Objects().GetGameObject(name)->GetWeaponComp()->secondary->ammo;
    }

    // The one "Game Message" posted, read back as the interface would.
    static GMessage OnlyMessage() {
        std::deque<Event> events = InterfaceEvents();
        EXPECT_EQ(events.size(), 1u);
        if (events.empty()) return GMessage();
        EXPECT_EQ(events[0].from, "MissilePickup");
        EXPECT_EQ(events[0].eventType, "Game Message");
        return events[0].GetParam<GMessage>(kGameMessageData);
    }

    RecordingSoundLayer layer;
    test_support::LogCapture log;
};

TEST_F(PickupTest, HealthIsCappedAtTheMaximumAndTheMessageShowsTheRealGain) {
    AddHull("player", 90, 100);
    EXPECT_TRUE(Apply(Pickup(PickupComp::kHealth, 50), "player"));
    EXPECT_EQ(Hp("player"), 100);

    const GMessage message = OnlyMessage();
    EXPECT_EQ(message.text, "Health +10");
    EXPECT_EQ(message.key, "pickupMessage");
    EXPECT_FLOAT_EQ(message.color.x, 0.0f);
    EXPECT_FLOAT_EQ(message.color.y, 1.0f);
    EXPECT_FLOAT_EQ(message.color.z, 0.0f);
    EXPECT_FLOAT_EQ(message.color.w, 1.0f);
    EXPECT_FLOAT_EQ(message.position.x, 0.2f);
    EXPECT_FLOAT_EQ(message.position.y, 0.9f);
    EXPECT_TRUE(message.typeOut);
    EXPECT_FLOAT_EQ(message.letterTime, 0.1f);
    EXPECT_FLOAT_EQ(message.displayTime, 4.0f);
    EXPECT_FALSE(message.persistent);

    // The pickup sound plays at the camera.
    ASSERT_EQ(layer.soundPlays.size(), 1u);
    EXPECT_EQ(layer.soundPlays[0].what, RecordingSoundLayer::FakeSample(7));
    ASSERT_EQ(layer.placements.size(), 1u);
    EXPECT_FLOAT_EQ(layer.placements[0].position[0], 1.0f);
    EXPECT_FLOAT_EQ(layer.placements[0].position[2], 3.0f);
}

TEST_F(PickupTest, MissilesFillTheSecondaryWeaponUpToItsMaximum) {
    AddLauncher("player", 8, 10);
    EXPECT_TRUE(Apply(Pickup(PickupComp::kAmmo, 5), "player"));
    EXPECT_EQ(Ammo("player"), 10);
    EXPECT_EQ(OnlyMessage().text, "Missiles +2");
    EXPECT_EQ(layer.soundPlays.size(), 1u);
}

TEST_F(PickupTest, AFullStatRefusesThePickupAndPostsNothing) {
    AddHull("hull", 100, 100);
    AddLauncher("launcher", 10, 10);
    EXPECT_FALSE(Apply(Pickup(PickupComp::kHealth, 25), "hull"));
    EXPECT_FALSE(Apply(Pickup(PickupComp::kAmmo, 5), "launcher"));
    EXPECT_EQ(Hp("hull"), 100);
    EXPECT_EQ(Ammo("launcher"), 10);
    EXPECT_TRUE(InterfaceEvents().empty());
    EXPECT_TRUE(layer.soundPlays.empty());
}

TEST_F(PickupTest, AnUnknownKindIsUsedUpWithoutEffect) {
    AddHull("player", 50, 100);
    EXPECT_TRUE(Apply(Pickup(PickupComp::kUnknown, 25), "player"));
    EXPECT_EQ(Hp("player"), 50);
    EXPECT_TRUE(InterfaceEvents().empty());
    EXPECT_TRUE(layer.soundPlays.empty());
}

TEST_F(PickupTest, ACollectorThatIsMissingOrLacksTheNeededComponentRefusesIt) {
    AddHull("hull only", 50, 100);
    AddLauncher("launcher only", 1, 10);
    GameObject unarmed("unarmed");
    unarmed.AttachComponent(WeaponComp());  // no secondary weapon
    ASSERT_TRUE(Objects().AddGameObject(unarmed));

    EXPECT_FALSE(Apply(Pickup(PickupComp::kHealth, 25), "nobody"));
    EXPECT_FALSE(Apply(Pickup(PickupComp::kAmmo, 5), "hull only"));
    EXPECT_FALSE(Apply(Pickup(PickupComp::kHealth, 25), "launcher only"));
    EXPECT_FALSE(Apply(Pickup(PickupComp::kAmmo, 5), "unarmed"));
    EXPECT_FALSE(Apply(Pickup(PickupComp::kUnknown, 5), "nobody"));

    EXPECT_EQ(Hp("hull only"), 50);
    EXPECT_EQ(Ammo("launcher only"), 1);
    EXPECT_TRUE(InterfaceEvents().empty());
    EXPECT_TRUE(layer.soundPlays.empty());
}

TEST_F(PickupTest, AMissingPickupSoundIsSkippedAndThePickupStillApplies) {
    Resources().DeleteResource(kPickupSound);
    AddHull("player", 10, 100);
    EXPECT_TRUE(Apply(Pickup(PickupComp::kHealth, 30), "player"));
    EXPECT_EQ(Hp("player"), 40);
    EXPECT_EQ(OnlyMessage().text, "Health +30");
    EXPECT_TRUE(layer.soundPlays.empty());
    EXPECT_TRUE(log.Has("sample_health_pickup has not been loaded"));
}

}  // namespace
