// The head-up display's widgets one at a time in the game's window: the
// gauges, the hit wedges, the crosshair's red phase and the minimap's blips,
// read back from the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game_logic/addressees.h"
#include "interface/crosshair.h"
#include "interface/hit_indicator.h"
#include "interface/minimap.h"
#include "interface/status_bar.h"
#include "interface/hud_window.h"
#include "platform/clock.h"
#include "support/log_capture.h"

namespace {

using namespace hud_window;

const ScreenColor kBlack{0, 0, 0};
const ScreenColor kGaugeBack = Over(0.8f, 0.8f, 0.8f, 0.5f);
const ScreenColor kHullOnBack = Over(1.0f, 0.1f, 0.1f, 0.9f, kGaugeBack);
const ScreenColor kHullOnBlack = Over(1.0f, 0.1f, 0.1f, 0.9f);
const ScreenColor kShieldOnBack = Over(0.1f, 0.8f, 0.9f, 0.9f, kGaugeBack);
const ScreenColor kDisc = Over(0.7843f, 0.7843f, 0.7843f, 0.7843f);  // the minimap's flat white picture

// The minimap of the display: 300 x 300 at (774, 518), its middle at (924, 668).
const int kMapX = 924, kMapY = 668;

class HudWidgets : public HudWindow {
protected:
    // A gauge of the player's statistics, registered alone.
    static StatusBar* AddGauge(const std::string& stat, const std::string& object = "player") {
        auto* bar = static_cast<StatusBar*>(Ui().CreateInterfaceObject(InterfaceManager::kStatusBar, Vector()));
        bar->SetSize(250.0f, 40.0f);
        bar->objectName = object;
        bar->statName = stat;
        bar->name = "gauge";
        Ui().AddInterfaceObject(bar);
        return bar;
    }
    static MiniMap* AddMinimap() {
        auto* map = static_cast<MiniMap*>(Ui().CreateInterfaceObject(InterfaceManager::kMiniMap, Vector()));
        map->SetPosition(Vector(774.0f, 518.0f, 0.0f, 0.0f));
        map->SetSize(300.0f, 300.0f);
        map->color = Color4{0.7843f, 0.7843f, 0.7843f, 0.7843f};
        map->mapScale = 0.125f;
        map->texture = Store().GetResourceHandle("tex_minimap");
        map->name = "minimap";
        Ui().AddInterfaceObject(map);
        return map;
    }
};

// The hull gauge is 0.1 W (upper, y 0.05 H) to 0.15 W (lower, y 0.01 H)
// wide on either side of the middle; at y = 30 that is 116.4 pixels, at
// y = 37, 104.7, at y = 9, 151.4. The shield's is 86.9 at y = 54.
TEST_F(HudWidgets, TheGaugesFillTheirShareOfTheBackgroundOrNothing) {
    AddMachine("player", Vector(0, 0, 0, 1));
    struct Row {
        const char* what;
        const char* stat;
        float value, maximum;
        const char* object;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"full hull", "health", 100, 100, "player",
         {{402, 30, kHullOnBack}, {622, 30, kHullOnBack}, {452, 30, kHullOnBack}, {634, 30, kBlack}}},
        {"half hull: edges 0.05 W above and 0.075 W below from the middle", "health", 50, 100, "player",
         {{464, 37, kHullOnBack}, {455, 37, kGaugeBack}, {583, 9, kHullOnBack}, {592, 9, kGaugeBack}}},
        {"above the maximum: wider than the background", "health", 120, 100, "player",
         {{640, 30, kHullOnBlack}, {657, 30, kBlack}, {384, 30, kHullOnBlack}}},
        {"maximum 0: background only", "health", 50, 0, "player", {{452, 30, kGaugeBack}, {572, 30, kGaugeBack}}},
        {"a hull below 0: background only", "health", -20, 100, "player", {{452, 30, kGaugeBack}, {572, 30, kGaugeBack}}},
        {"full shield", "shield", 40, 40, "player", {{512, 54, kShieldOnBack}, {596, 54, kShieldOnBack}, {603, 54, kBlack}}},
        {"a missing object", "health", 100, 100, "nobody", {{452, 30, kBlack}, {512, 54, kBlack}}},
        {"an unknown statistic", "armour", 100, 100, "player", {{452, 30, kBlack}, {512, 54, kBlack}}},
    };
    for (const Row& row : rows) {
        StatsComp& stats = StatsOf("player");
        stats.hp = int32_t(row.value);
        stats.healthMax = int32_t(row.maximum);
        stats.sp = row.value;
        stats.shield = row.maximum;
        AddGauge(row.stat, row.object);
        Frame();
        ExpectShown(row.probes, 4, row.what);
        Ui().ClearInterfaceObjects();
    }
}

// The boost arc's square i is centred 115 pixels from (W - 100, H - 100) at
// i x 4.5 degrees round the left from straight below; the squares are 30
// pixels and overlap. Each row names the last square's centre and a point
// that only one more square would cover.
TEST_F(HudWidgets, TheBoostArcShowsOneSquarePerThirtiethOfTheMeter) {
    AddMachine("player", Vector(0, 0, 0, 1));
    auto centre = [](int i) {
        const double theta = i * 1.5 * M_PI / 60.0;
        return std::pair<int, int>(int(std::lround(924 - 115 * std::sin(theta))), int(std::lround(668 - 115 * std::cos(theta))));
    };
    struct Row {
        float percent;
        int squares;
        std::pair<int, int> beyond;  // inside square `squares` only
    };
    const Row rows[] = {{100.0f, 30, {855, 760}}, {3.4f, 1, {904, 545}}, {3.3f, 0, {924, 553}}};
    for (const Row& row : rows) {
        StatsOf("player").bp = row.percent;
        StatsOf("player").boost = 100.0f;
        AddGauge("boost");
        Frame();
        std::vector<std::pair<int, int>> points = {row.beyond};
        if (row.squares > 0) points.push_back(centre(row.squares - 1));
        const std::vector<ScreenColor> shown = ShownAt(points);
        ASSERT_EQ(shown.size(), points.size());
        EXPECT_TRUE(Near(shown[0], kBlack, 2)) << row.percent << "%: " << Describe(shown[0]);
        if (row.squares > 0) {
            EXPECT_TRUE(shown[1].b > 100 && shown[1].b > shown[1].r + 30) << row.percent << "%: " << Describe(shown[1]);
        }
        Ui().ClearInterfaceObjects();
    }
}

// Each side's wedge, probed just inside its outer and its inner edge, right
// after a restart and half way through the fade (both after one frame of
// 1/60 s); a position off the four sides draws nothing.
TEST_F(HudWidgets, AWedgeFadesFromItsOuterEdgeOnItsOwnSideOnly) {
    struct Side {
        const char* name;
        Vector position;
        std::pair<int, int> outer, inner;
    };
    const Side sides[] = {{"left", Vector(-1, 0, 0, 0), {186, 384}, {223, 384}},
                          {"right", Vector(1, 0, 0, 0), {837, 384}, {801, 384}},
                          {"top", Vector(0, 1, 0, 0), {512, 628}, {512, 589}},
                          {"bottom", Vector(0, -1, 0, 0), {512, 116}, {512, 155}}};
    const float step = 1.0f / 60.0f;
    struct Phase {
        const char* what;
        float startAt;  // elapsed before the frame's Activate
        float outerAlpha, innerAlpha;
    };
    const Phase phases[] = {{"restarted", 0.0f, 1.0f - step / 2.5f, 0.5f - step / 2.5f},
                            {"half way", 1.25f - step, 0.5f, 0.0f}};
    for (const Side& side : sides) {
        for (const Phase& phase : phases) {
            auto* wedge = static_cast<PlayerTookDamageIndicator*>(
                Ui().CreateInterfaceObject(InterfaceManager::kPlayerTookDamageIndicator, side.position));
            wedge->color = Color4{1, 0, 0, 0};
            wedge->duration = 2.5f;
            wedge->Restart(phase.startAt);
            Ui().AddInterfaceObject(wedge);
            Frame();
            ExpectShown({{side.outer.first, side.outer.second, Over(1, 0, 0, phase.outerAlpha)},
                         {side.inner.first, side.inner.second, Over(1, 0, 0, phase.innerAlpha)}},
                        9, std::string(side.name) + " " + phase.what);
            Ui().ClearInterfaceObjects();
        }
    }
    for (const Vector& off : {Vector(0, 0, 0, 0), Vector(2, 0, 0, 0), Vector(-1.0001f, 0.5f, 0, 0)}) {
        auto* wedge = static_cast<PlayerTookDamageIndicator*>(
            Ui().CreateInterfaceObject(InterfaceManager::kPlayerTookDamageIndicator, off));
        wedge->color = Color4{1, 0, 0, 0};
        wedge->duration = 2.5f;
        wedge->Restart(0.0f);
        Ui().AddInterfaceObject(wedge);
        Frame();
        std::vector<Probe> probes;
        for (const Side& side : sides) probes.push_back({side.outer.first, side.outer.second, kBlack});
        ExpectShown(probes, 2, "off the sides at x " + std::to_string(off.x));
        Ui().ClearInterfaceObjects();
    }
}

// The sight (flat white picture) is green at alpha 0.7 until a hit; the red
// lasts 150 ms of frame time, however long the game has run.
TEST_F(HudWidgets, TheCrosshairIsGreenFromItsFirstFrameAndRedForAbout150Milliseconds) {
    const ScreenColor green = Over(0, 1, 0, 0.7f), red = Over(1, 0, 0, 0.7f);
    for (double clock : {10.0, 1000.0}) {
        platform::SetClockTime(clock);
        auto* sight = static_cast<Crosshair*>(
            Ui().CreateInterfaceObject(InterfaceManager::kCrosshair, Vector(448, 320, 0, 0)));
        sight->name = "crosshair";
        Ui().AddInterfaceObject(sight);
        Frame();
        ExpectShown({{512, 384, green}, {450, 322, green}, {446, 384, kBlack}}, 3, "first frame");
        Module<EventManager>::Instance()->PublishEvent(
            Event("test", addressee::kInterfaceManager, InterfaceManager::kEnemyHit));
        int redFrames = 0;
        for (int frame = 0; frame < 30; ++frame) {
            Frame();
            const ScreenColor shown = ShownAt(512, 384);
            if (Near(shown, green, 3)) break;
            EXPECT_TRUE(Near(shown, red, 3)) << Describe(shown);
            ++redFrames;
        }
        EXPECT_GE(redFrames, 8) << "clock at " << clock;
        EXPECT_LE(redFrames, 10) << "clock at " << clock;
        Ui().ClearInterfaceObjects();
    }
}

// With mapScale 0.125, 760 world units are the 95 pixels of the fade.
TEST_F(HudWidgets, ABlockAt95PixelsStillShowsFadedAndJustBeyondItIsLeftOut) {
    AddMachine("player", Vector(0, 0, 0, 1));
    AddMinimap();
    for (float away : {760.0f, 760.1f}) {
        // 100 pixels deep, reaching from 45 to 145 pixels left of the middle.
        AddBlock("block", Vector(-away, 0, 0, 0), Vector(400, 10, 80, 0));
        Frame();
        const std::vector<ScreenColor> shown = ShownAt({{kMapX - 48, kMapY}, {kMapX - 140, kMapY + 8}});
        ASSERT_EQ(shown.size(), 2u);
        if (away == 760.0f) {
            EXPECT_GT(shown[0].r, kDisc.r + 30) << "its near part, faded to about half: " << Describe(shown[0]);
        } else {
            EXPECT_TRUE(Near(shown[0], kDisc, 3)) << "skipped: " << Describe(shown[0]);
        }
        EXPECT_TRUE(Near(shown[1], kDisc, 6)) << "its far corner, beyond 95, transparent: " << Describe(shown[1]);
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
        Objects().RemoveDeadGameObjects();
    }
}

TEST_F(HudWidgets, AnActorAt85PixelsIsASquareAndFartherAnArrowOnTheRim) {
    AddMachine("player", Vector(0, 0, 0, 1));
    AddMinimap();
    const ScreenColor rim = Over(1, 0, 0, 1);
    struct Row {
        const char* what;
        Vector at;
        std::vector<Probe> probes;
    };
    const ScreenColor faintSquare = Over(1, 0, 0, 10.0f / 95.0f, kDisc);
    const Row rows[] = {
        {"85 pixels right: a faint square, no arrow", Vector(680, 0, 0, 1),
         {{kMapX + 85, kMapY, faintSquare}, {kMapX + 93, kMapY + 1, kDisc}}},
        {"just beyond, right: the arrow at 90 pointing right", Vector(681, 0, 0, 1),
         {{kMapX + 85, kMapY, kDisc}, {kMapX + 93, kMapY + 1, rim}, {kMapX + 87, kMapY - 6, kDisc}}},
        {"just beyond, left: the arrow at 90 pointing left", Vector(-681, 0, 0, 1),
         {{kMapX - 93, kMapY - 1, rim}, {kMapX - 87, kMapY + 6, kDisc}}},
        {"far behind: the arrow at the bottom", Vector(0, 0, 5000, 1), {{kMapX + 1, kMapY - 93, rim}}},
    };
    for (const Row& row : rows) {
        AddMachine("enemy", row.at);
        Frame();
        ExpectShown(row.probes, 4, row.what);
        ObjectLock lock(Objects());
        Objects().KillGameObject(*Objects().GetGameObject("enemy"));
        Objects().RemoveDeadGameObjects();
    }
}

// 200 units ahead are 25 pixels above the player's arrow, whichever way the
// camera faces; the arrow itself always points up.
TEST_F(HudWidgets, AMechStraightAheadShowsAboveThePlayersArrowAtAnyHeading) {
    AddMachine("player", Vector(0, 0, 0, 1));
    AddMinimap();
    const ScreenColor nearSquare = Over(1, 0, 0, 70.0f / 95.0f, kDisc), arrow = Over(0, 0, 1, 1);
    struct Row {
        float yaw;
        Vector ahead;
    };
    for (const Row& row : {Row{0.0f, Vector(0, 0, -200, 1)}, Row{1.5707963f, Vector(-200, 0, 0, 1)}}) {
        Objects().cameraObject.yaw = row.yaw;
        AddMachine("mech", row.ahead);
        Frame();
        ExpectShown({{kMapX, kMapY + 25, nearSquare}, {kMapX + 1, kMapY + 3, arrow}, {kMapX, kMapY - 25, kDisc},
                     {kMapX + 1, kMapY - 8, kDisc}},
                    4, "yaw " + std::to_string(row.yaw));
        ObjectLock lock(Objects());
        Objects().KillGameObject(*Objects().GetGameObject("mech"));
        Objects().RemoveDeadGameObjects();
    }
}

// The full map has no range limits: a block past 95 pixels still shows its
// near part, and an actor past 85 stays a square, where the minimap draws
// a rim arrow.
TEST_F(HudWidgets, TheFullMapDrawsBlocksAndSquaresWhateverTheirDistance) {
    AddMachine("player", Vector(0, 0, 0, 1));
    auto* map = new FullMap(0, Vector(0, 0, 7, 9));
    EXPECT_EQ(map->width, 200.0f);
    map->SetPosition(Vector(774.0f, 518.0f, 0.0f, 0.0f));
    EXPECT_EQ(map->position.z, 0.0f) << "all four components, unlike the minimap";
    map->SetSize(300.0f, 300.0f);
    map->color = Color4{0.7843f, 0.7843f, 0.7843f, 0.7843f};
    map->mapScale = 0.125f;
    map->texture = Store().GetResourceHandle("tex_minimap");
    map->name = "fullmap";
    Ui().AddInterfaceObject(map);
    AddBlock("block", Vector(-760.1f, 0, 0, 0), Vector(400, 10, 80, 0));
    AddMachine("enemy", Vector(681, 0, 0, 1));
    Frame();
    const std::vector<ScreenColor> shown = ShownAt({{kMapX - 48, kMapY}, {kMapX + 85, kMapY}, {kMapX + 93, kMapY + 1}});
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_GT(shown[0].r, kDisc.r + 30) << "the block's near part: " << Describe(shown[0]);
    EXPECT_TRUE(shown[1].r > shown[1].g + 15) << "a faint square: " << Describe(shown[1]);
    EXPECT_TRUE(Near(shown[2], kDisc, 4)) << "no rim arrow: " << Describe(shown[2]);
}

TEST_F(HudWidgets, WithoutAPlayerTheMapShowsItsBackgroundOnly) {
    AddMachine("enemy", Vector(0, 0, -80, 1));
    AddMinimap();
    Frames(2);
    ExpectShown({{kMapX + 1, kMapY + 3, kDisc}, {kMapX, kMapY + 10, kDisc}, {800, 540, kDisc}}, 3, "no player");
    AddMachine("player", Vector(0, 0, 0, 1));
    Frame();
    EXPECT_FALSE(Near(ShownAt(kMapX, kMapY + 10), kDisc, 3)) << "blips as soon as the player exists";
}

}  // namespace

namespace {

// Without the minimap's picture the build reports it once; the frames then
// log nothing (the minimap keeps the build's empty handle, and the boost
// gauge draws flat).
TEST_F(HudWidgets, AMissingMinimapPictureIsReportedOnceAndTheLogThenStaysStill) {
    AddMachine("player", Vector(0, 0, 0, 1));
    ASSERT_EQ(Store().DeleteResource("tex_minimap"), 0);
    test_support::LogCapture log;
    Ui().BuildInterface(InterfaceState::Ingame);
    EXPECT_EQ(log.Count("tex_minimap not loaded"), 1) << log.Text();
    Frames(2);
    EXPECT_EQ(log.Count("tex_minimap is not loaded"), 0) << log.Text();
    const std::string settled = log.Text();
    Frames(100);
    EXPECT_EQ(log.Text(), settled) << "nothing more over 100 frames";
    EXPECT_TRUE(Near(ShownAt(kMapX + 1, kMapY + 3), Over(0, 0, 1, 1), 3)) << "the map still draws, untextured";
    EXPECT_EQ(Store().LoadResource("tex_minimap"), 0);
    Store().LoadContextCategory("all_first");
}

}  // namespace
