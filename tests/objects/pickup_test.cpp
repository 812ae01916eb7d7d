// Pickups: what ApplyPickup changes on the collector, when it refuses, and the
// sound and "Game Message" it gives.
#include <gtest/gtest.h>

#include <deque>

#include "support/recording_sound_layer.h"
#include "event_manager.h"
#include "interface/game_message.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "weapons.h"

namespace {

using sound_test::RecordingSoundLayer;
const char* const kPickupSound = "sample_health_pickup";

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }
std::deque<Event> Messages() { return Module<EventManager>::Instance()->PollEvents(kGameMessageTo); }

class PickupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sound sound;
        sound.sample = RecordingSoundLayer::FakeSample(7);
        Resources().add<Sound>(kPickupSound, sound);
        Objects().cameraObject.target = Vector(1.0f, 2.0f, 3.0f, 0.0f);
        Messages();  // whatever earlier tests left behind
    }
    void TearDown() override {
        if (Resources().IsStored(kPickupSound)) Resources().DeleteResource(kPickupSound);
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
    }
    // A collector with hp of 100 hull points (-1: no StatsComp) and ammo of
    // 10 missiles (-1: no secondary weapon, -2: no WeaponComp).
    static GameObject& Add(const std::string& name, int hp, int ammo) {
        GameObject object(name);
        StatsComp stats(100, 1.0f, 0.0f, 1.0f, 0);
        stats.hp = hp;
        if (hp >= 0) object.AttachComponent(stats);
        WeaponComp weapons;
        if (ammo >= 0) {
            weapons.secondary = new Missile();
            weapons.secondary->ammo = ammo;
            weapons.secondary->maxAmmo = 10;
        }
        if (ammo > -2) object.AttachComponent(weapons);
        EXPECT_TRUE(Objects().AddGameObject(object));
        ObjectLock lock(Objects());
        return *Objects().GetGameObject(name);
    }
    // Applied under the object lock, as the in-game state does.
    static bool Apply(int32_t kind, int32_t value, const std::string& collector) {
        PickupComp pickup;
        pickup.kind = kind;
        pickup.value = value;
        ObjectLock lock(Objects());
        return pickup.ApplyPickup(collector);
    }
    static GMessage OnlyMessage() {
        std::deque<Event> events = Messages();
        if (events.size() != 1u || events[0].eventType != "Game Message" || events[0].from != "MissilePickup")
            ADD_FAILURE() << events.size();
        return events.empty() ? GMessage() : events[0].GetParam<GMessage>(kGameMessageData);
    }
    RecordingSoundLayer layer;
    test_support::LogCapture log;
};

TEST_F(PickupTest, HealthAndMissilesAreCappedAndTheMessageShowsTheRealGain) {
    GameObject& player = Add("player", 90, 8);
    EXPECT_TRUE(Apply(PickupComp::kHealth, 50, "player") && player.GetStatsComp()->hp == 100);
    const GMessage message = OnlyMessage();
    EXPECT_TRUE(message.text == "Health +10" && message.color.y == 1.0f) << "in green";
    ASSERT_TRUE(layer.soundPlays.size() == 1u && layer.placements.size() == 1u);
    EXPECT_FLOAT_EQ(layer.placements[0].position[2], 3.0f) << "played at the camera";
    EXPECT_TRUE(Apply(PickupComp::kAmmo, 5, "player") && player.GetWeaponComp()->secondary->ammo == 10);
    EXPECT_EQ(OnlyMessage().text, "Missiles +2");
}

TEST_F(PickupTest, FullStatsOrMissingComponentsRefuseAndOtherKindsAreUsedUpSilently) {
    Add("full", 100, 10);
    GameObject& hull = Add("hull only", 50, -2);
    GameObject& launcher = Add("launcher only", -1, 1);
    Add("unarmed", 50, -1);
    EXPECT_TRUE(!Apply(PickupComp::kHealth, 25, "full") && !Apply(PickupComp::kAmmo, 5, "full"));
    EXPECT_TRUE(!Apply(PickupComp::kHealth, 25, "nobody") && !Apply(PickupComp::kAmmo, 5, "hull only"));
    EXPECT_TRUE(!Apply(PickupComp::kAmmo, 5, "unarmed") && !Apply(PickupComp::kHealth, 25, "launcher only"));
    EXPECT_TRUE(Apply(PickupComp::kUnknown, 25, "hull only") && hull.GetStatsComp()->hp == 50);
    EXPECT_TRUE(launcher.GetWeaponComp()->secondary->ammo == 1 && Messages().empty() && layer.soundPlays.empty());
}

TEST_F(PickupTest, AMissingPickupSoundIsSkippedAndThePickupStillApplies) {
    Resources().DeleteResource(kPickupSound);
    GameObject& player = Add("player", 10, -1);
    EXPECT_TRUE(Apply(PickupComp::kHealth, 30, "player") && player.GetStatsComp()->hp == 40);
    EXPECT_TRUE(OnlyMessage().text == "Health +30" && layer.soundPlays.empty() &&
                log.Has("sample_health_pickup has not been loaded"));
}

}  // namespace
