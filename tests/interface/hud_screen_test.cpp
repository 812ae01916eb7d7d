// The head-up display's build without a window: its ten widgets with their
// names, places and settings, the messages each build posts (the wave line,
// a pending restart, the music level), and the hit indicators as the
// interface lights them, from a direction and from the in-game hit handling.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "event_manager.h"
#include "game_flow/hit_world.h"
#include "game_logic/addressees.h"
#include "input_manager.h"
#include "interface/crosshair.h"
#include "interface/game_message.h"
#include "interface/hit_indicator.h"
#include "interface/minimap.h"
#include "interface/number_counter.h"
#include "interface/status_bar.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
EventManager& Post() { return *Module<EventManager>::Instance(); }
InterfaceObjectList& Registry() { return Objects().interObjList; }

const char* const kIndicators[] = {PlayerTookDamageIndicator::kTop, PlayerTookDamageIndicator::kBottom,
                                   PlayerTookDamageIndicator::kLeft, PlayerTookDamageIndicator::kRight};

PlayerTookDamageIndicator& IndicatorNamed(const std::string& name) {
    auto* wedge = dynamic_cast<PlayerTookDamageIndicator*>(Registry().Find(name));
    EXPECT_NE(wedge, nullptr) << name;
    static PlayerTookDamageIndicator missing(0, Vector());
    return wedge ? *wedge : missing;
}

GameObject PlayerAt(const Vector& at) {
    GameObject player(GameObject::kPlayerName);
    player.trans = at;
    player.AttachComponent(StatsComp(100, 1.0f, 0.0f, 100.0f, 0));
    return player;
}

class HudScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all_first");  // the pictures' files; no window needed for the build
    }
    void SetUp() override {
        Post().Init();
        Module<InputManager>::Instance()->Init();
        Objects().Init();
        Ui().Init();
        for (const char* client : {addressee::kGameLogic, addressee::kSoundManager}) Post().RegisterClient(client);
        Module<System>::Instance()->width = 1024;
        Module<System>::Instance()->height = 768;
    }
    void TearDown() override {
        Ui().Kill();
        {
            ObjectLock lock(Objects());
            Objects().ClearGameObjects();
        }
        Objects().Kill();
        Post().Kill();
    }
    static void AddPlayer() { ASSERT_TRUE(Objects().AddGameObject(PlayerAt(Vector(0, 0, 0, 1)))); }
    static std::deque<Event> Sent(const char* client) { return Post().PollEvents(client); }
    static std::vector<std::string> TypesOf(const std::deque<Event>& events) {
        std::vector<std::string> types;
        for (const Event& event : events) types.push_back(event.eventType);
        return types;
    }
};

TEST_F(HudScreen, TheTenWidgetsTakeTheirNamesPlacesAndSizes) {
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Ingame);
    struct Row {
        const char* name;
        float x, y, width, height;
    };
    const Row rows[] = {
        {"health", 0, 0, 250, 40},          {"shield", 0, 40, 250, 15},
        {"boost", 0, 85, 250, 40},          {"minimap", 774, 518, 300, 300},
        {"crosshair", 448, 320, 128, 128},  {"CONSOLE", 824, 0, 50, 50},
        {"Top Indicator", 0, 1, 0, 0},      {"Bottom Indicator", 0, -1, 0, 0},
        {"Left Indicator", -1, 0, 0, 0},    {"Right Indicator", 1, 0, 0, 0},
    };
    ASSERT_EQ(Registry().size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const InterfaceObject* widget = Registry().At(i).widget;
        EXPECT_EQ(widget->name, row.name) << "registered in the table's order";
        EXPECT_EQ(widget->position.x, row.x) << row.name;
        EXPECT_EQ(widget->position.y, row.y) << row.name;
        EXPECT_EQ(widget->width, row.width) << row.name;
        EXPECT_EQ(widget->height, row.height) << row.name;
    }
}

TEST_F(HudScreen, EachWidgetCarriesItsSettings) {
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Ingame);
    auto* boost = dynamic_cast<StatusBar*>(Registry().Find("boost"));
    ASSERT_NE(boost, nullptr);
    EXPECT_EQ(boost->statName, "boost");
    EXPECT_EQ(boost->objectName, "player");
    EXPECT_EQ(boost->label.text, "BP");
    ASSERT_EQ(boost->children.size(), 1u);
    EXPECT_EQ(boost->children[0]->width, 40.0f) << "vertical: the outline turned";
    EXPECT_EQ(boost->children[0]->height, 250.0f);
    EXPECT_EQ(boost->children[0]->position.y, 85.0f);
    auto* health = dynamic_cast<StatusBar*>(Registry().Find("health"));
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->label.text, " HP");
    EXPECT_EQ(health->children[0]->width, 250.0f);

    auto* map = dynamic_cast<MiniMap*>(Registry().Find("minimap"));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->mapScale, 0.125f);
    EXPECT_EQ(map->texture.id, "tex_minimap");
    auto* sight = dynamic_cast<Crosshair*>(Registry().Find("crosshair"));
    ASSERT_NE(sight, nullptr);
    EXPECT_EQ(sight->hitDuration, 150.0f);
    EXPECT_GE(sight->hitElapsed, sight->hitDuration) << "idle, so green from its first frame";
    EXPECT_EQ(sight->texture.id, "tex_smaller_crosshair");
    EXPECT_EQ(sight->hitTexture.id, "tex_smaller_hit");

    auto* counter = dynamic_cast<NumberCounter*>(Registry().Find("CONSOLE"));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->text.text, "20/20");
    EXPECT_EQ(counter->text.position.x, 874.0f);
    EXPECT_EQ(counter->text.position.y, 10.0f);
    EXPECT_EQ(counter->counterKind, "weapon");
    EXPECT_EQ(counter->texture.id, "tex_missile_icon");
    for (const char* name : kIndicators) {
        const PlayerTookDamageIndicator& wedge = IndicatorNamed(name);
        EXPECT_EQ(wedge.duration, 2.5f) << name;
        EXPECT_GE(wedge.elapsed, wedge.duration) << name << " starts idle";
        EXPECT_EQ(wedge.color.a, 0.0f) << name;
    }
}

TEST_F(HudScreen, TheWaveLineIsDeletedThenPostedAgainFromTheKeptText) {
    AddPlayer();
    struct Row {
        const char* kept;
        std::vector<std::string> posted;
    };
    const Row rows[] = {{"", {kGameMessageDeleteEvent}},
                        {"2 of 3", {kGameMessageDeleteEvent, kGameMessageEvent}}};
    for (const Row& row : rows) {
        Ui().waveCountText = row.kept;
        Ui().BuildInterface(InterfaceState::Ingame);
        const std::deque<Event> posted = Sent(addressee::kInterfaceManager);
        ASSERT_EQ(TypesOf(posted), row.posted) << "\"" << row.kept << "\"";
        EXPECT_EQ(posted[0].GetParam<std::string>(InterfaceManager::kParamName), "Wave Message");
        if (posted.size() < 2) continue;
        const GMessage line = posted[1].GetParam<GMessage>(kGameMessageData);
        EXPECT_EQ(line.key, "Wave Message");
        EXPECT_EQ(line.text, "Wave 2 of 3");
        EXPECT_EQ(line.color.y, 1.0f);
        EXPECT_EQ(line.color.x + line.color.z, 0.0f);
        EXPECT_EQ(line.position.x, 0.05f);
        EXPECT_EQ(line.position.y, 0.05f);
        EXPECT_EQ(line.scale, 0.8f);
        EXPECT_FALSE(line.typeOut);
        EXPECT_TRUE(line.persistent);
    }
}

TEST_F(HudScreen, APendingRestartGivesExactlyOneRestartAndTheMusicLevelIsSentAtEveryBuild) {
    AddPlayer();
    Ui().restartPending = true;
    Ui().BuildInterface(InterfaceState::Ingame);
    EXPECT_FALSE(Ui().restartPending);
    EXPECT_EQ(TypesOf(Sent(addressee::kGameLogic)), std::vector<std::string>{"Restart"});
    EXPECT_EQ(TypesOf(Sent(addressee::kSoundManager)), std::vector<std::string>{"Adjust Music Volume"});
    Ui().BuildInterface(InterfaceState::Ingame);
    EXPECT_TRUE(Sent(addressee::kGameLogic).empty()) << "consumed by the first build";
    EXPECT_EQ(Sent(addressee::kSoundManager).size(), 1u);
}

TEST_F(HudScreen, WithoutAPlayerNoWidgetsButTheThreeMessagesStillGo) {
    Ui().restartPending = true;
    Ui().waveCountText = "1 of 3";
    Ui().BuildInterface(InterfaceState::Ingame);
    EXPECT_TRUE(Registry().empty());
    EXPECT_EQ(Sent(addressee::kInterfaceManager).size(), 2u);
    EXPECT_EQ(Sent(addressee::kGameLogic).size(), 1u);
    EXPECT_EQ(Sent(addressee::kSoundManager).size(), 1u);
    EXPECT_EQ(Ui().currentState, InterfaceState::Ingame);
}

TEST_F(HudScreen, TheBuildReplacesTheOldDisplayWholeAtEveryReturn) {
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Ingame);
    ASSERT_TRUE(Registry().Contains("minimap"));
    const int firstId = Registry().Find("minimap")->id;
    Ui().BuildInterface(InterfaceState::Pause);
    EXPECT_FALSE(Registry().Contains("minimap"));
    Ui().BuildInterface(InterfaceState::Ingame);
    ASSERT_TRUE(Registry().Contains("minimap"));
    EXPECT_EQ(Registry().size(), 10u);
    EXPECT_GT(Registry().Find("minimap")->id, firstId) << "a new widget, with the next ids";
}

// "Enemy Hit" reaches only the widget named "crosshair".
TEST_F(HudScreen, EnemyHitTurnsTheCrosshairRedAndWithoutOneDoesNothing) {
    auto* other = new Crosshair(0, Vector());
    other->name = "sight";
    Ui().AddInterfaceObject(other);
    Post().PublishEvent(Event("test", addressee::kInterfaceManager, InterfaceManager::kEnemyHit));
    test_support::LogCapture log;
    Ui().Update();
    EXPECT_GE(other->hitElapsed, other->hitDuration);
    EXPECT_EQ(other->color.r, 0.0f) << "green, as every idle frame leaves it";
    EXPECT_EQ(log.Text(), "");

    auto* sight = new Crosshair(100, Vector());
    sight->name = "crosshair";
    sight->color.a = 0.7f;
    Ui().AddInterfaceObject(sight);
    Module<System>::Instance()->frameTime.store(1.0 / 60);
    Post().PublishEvent(Event("test", addressee::kInterfaceManager, InterfaceManager::kEnemyHit));
    Ui().Update();
    EXPECT_EQ(sight->color.r, 1.0f);
    EXPECT_EQ(sight->color.g, 0.0f);
    EXPECT_EQ(sight->color.a, 0.7f) << "alpha kept";
    EXPECT_NEAR(sight->hitElapsed, 1000.0f / 60.0f, 1e-3) << "restarted, then one frame in milliseconds";
}

// Directions through the camera: D = (-(right . v), back . v).
TEST(HitSides, TheLargerAxisLightsFullyTheOtherAboveHalfPartlyAndTiesGoUpOrDown) {
    const Matrix identity;  // right +x, back +z
    struct Row {
        Vector direction;
        const char* primary;
        const char* secondary;
    };
    const char *top = PlayerTookDamageIndicator::kTop, *bottom = PlayerTookDamageIndicator::kBottom;
    const char *left = PlayerTookDamageIndicator::kLeft, *right = PlayerTookDamageIndicator::kRight;
    const Row rows[] = {
        {Vector(1, 0, 0, 0), left, nullptr},     // travelling right: it came from the left
        {Vector(-1, 0, 0, 0), right, nullptr},
        {Vector(0, 0, 1, 0), top, nullptr},      // travelling backwards: it came from ahead
        {Vector(0, 0, -1, 0), bottom, nullptr},
        {Vector(1, 0, 1, 0), top, left},         // a tie goes to the vertical pair
        {Vector(-1, 0, -1, 0), bottom, right},
        {Vector(-1, 0, 0.6f, 0), right, top},    // 0.6 > half of 1
        {Vector(-1, 0, 0.4f, 0), right, nullptr},  // below half: the side alone
        {Vector(0.4f, 5, -1, 0), bottom, nullptr},  // height does not count
        {Vector(0, 1, 0, 0), nullptr, nullptr},   // straight from above
        {Vector(0, 0, 0, 0), nullptr, nullptr},
        {Vector(1e-8f, 0, 0, 0), nullptr, nullptr},
        {Vector(NAN, 0, 1, 0), nullptr, nullptr},
    };
    for (const Row& row : rows) {
        const HitSides sides = ChooseHitSides(identity, row.direction);
        const Vector& v = row.direction;
        EXPECT_STREQ(sides.primary, row.primary) << v.x << " " << v.y << " " << v.z;
        EXPECT_STREQ(sides.secondary, row.secondary) << v.x << " " << v.y << " " << v.z;
    }
    // A camera turned a quarter to the left looks along -x; its right is -z.
    CameraObject camera;
    camera.yaw = 1.5707963f;
    camera.Update();
    EXPECT_STREQ(ChooseHitSides(camera.viewMat, Vector(0, 0, 1, 0)).primary, right);
    EXPECT_STREQ(ChooseHitSides(camera.viewMat, Vector(1, 0, 0, 0)).primary, top);
}

TEST_F(HudScreen, ShowHitIndicatorRestartsThePrimaryAndAQuarterIntoTheSecondary) {
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Ingame);
    Objects().cameraObject.viewMat = Matrix();
    Ui().ShowHitIndicator(Vector(1, 0, 1, 0));
    EXPECT_EQ(IndicatorNamed(PlayerTookDamageIndicator::kTop).elapsed, 0.0f);
    EXPECT_EQ(IndicatorNamed(PlayerTookDamageIndicator::kLeft).elapsed, 0.625f);
    EXPECT_GE(IndicatorNamed(PlayerTookDamageIndicator::kRight).elapsed, 2.5f);
    EXPECT_GE(IndicatorNamed(PlayerTookDamageIndicator::kBottom).elapsed, 2.5f);

    // The caller's hold is used (the hit handling holds the lock): no second
    // take, which would be logged.
    test_support::LogCapture log;
    {
        ObjectLock lock(Objects());
        Ui().ShowHitIndicator(Vector(0, 0, -1, 0));
    }
    EXPECT_EQ(IndicatorNamed(PlayerTookDamageIndicator::kBottom).elapsed, 0.0f);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(HudScreen, WithoutAPlayerOrWithoutTheWedgesAHitLightsNothing) {
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Ingame);
    {
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
    }
    Ui().ShowHitIndicator(Vector(1, 0, 0, 0));
    for (const char* name : kIndicators) EXPECT_GE(IndicatorNamed(name).elapsed, 2.5f) << name;
    AddPlayer();
    Ui().BuildInterface(InterfaceState::Title);
    Ui().ShowHitIndicator(Vector(1, 0, 0, 0));  // nothing registered to light
    EXPECT_FALSE(Registry().Contains(PlayerTookDamageIndicator::kLeft));
}

// The in-game hit handling hands the player's hits to the indicators: the
// contact normal as the direction, turned round when the shot is object A.
class HudHits : public hit_world::HitWorld {
protected:
    void SetUp() override {
        HitWorld::SetUp();
        Module<InputManager>::Instance()->Init();
        Ui().Init();
        Objects().cameraObject.viewMat = Matrix();
    }
    void TearDown() override {
        Ui().Kill();
        HitWorld::TearDown();
    }
    float Elapsed(const char* name) { return IndicatorNamed(name).elapsed; }
    void Rearm() {
        for (const char* name : kIndicators) IndicatorNamed(name).elapsed = 2.5f;
    }
};

TEST_F(HudHits, APlayerHitLightsTheSideTheShotCameFromAnEnemyHitLightsNothing) {
    const unsigned player = Add(hit_world::Machine("player", 100, 0.0f, Vector()));
    Ui().BuildInterface(InterfaceState::Ingame);
    ASSERT_TRUE(Registry().Contains(PlayerTookDamageIndicator::kLeft));
    const Vector normal(-1, 0, 0, 0);  // against the shot's motion: it travels +x

    Touch(Add(hit_world::Shot("shot1", 5, Vector())), player, normal);  // the shot is A: turned round
    EXPECT_EQ(Elapsed(PlayerTookDamageIndicator::kLeft), 0.0f);
    EXPECT_GE(Elapsed(PlayerTookDamageIndicator::kRight), 2.5f);

    Rearm();
    Touch(player, Add(hit_world::Shot("shot2", 5, Vector())), normal);  // the shot is B: as it stands
    EXPECT_EQ(Elapsed(PlayerTookDamageIndicator::kRight), 0.0f);
    EXPECT_GE(Elapsed(PlayerTookDamageIndicator::kLeft), 2.5f);

    Rearm();
    const unsigned enemy = Add(hit_world::Machine("MediumMech1", 100, 0.0f, Vector(10, 0, 0, 1)));
    Touch(Add(hit_world::Shot("shot3", 5, Vector())), enemy, normal);
    for (const char* name : kIndicators) EXPECT_GE(Elapsed(name), 2.5f) << name;
    EXPECT_EQ(hit_world::Logic().shotsHit, 1u);
}

}  // namespace
