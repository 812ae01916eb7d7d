// The head-up display over level 1 in the real game (hud_play.h), as the
// player sees it, read back from the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "interface/hit_indicator.h"
#include "interface/hud_play.h"
#include "objects/components.h"

namespace {

using namespace hud_play;
using hud_window::Describe;
using test_support::ScreenColor;

TEST_F(HudPlay, LevelOneShowsTheGaugesTheMapTheSightTheCounterAndAWedgeForAHit) {
    test_support::LogCapture log;
    StartLevelOne(log);
    if (HasFatalFailure()) return;
    ASSERT_EQ(Sys().width, 1024);
    ASSERT_EQ(Sys().height, 768);

    // A machine 200 units straight ahead of the camera: 25 pixels above the
    // player's arrow on the map.
    GameObject mech("hudMech");
    {
        ObjectLock lock;
        const Vector player = Objects().GetGameObject(GameObject::kPlayerName)->trans;
        const float yaw = Objects().cameraObject.yaw;
        mech.trans = Vector(player.x - 200.0f * std::sin(yaw), player.y, player.z - 200.0f * std::cos(yaw), 1.0f);
    }
    mech.AttachComponent(StatsComp(100, 1.0f, 0.0f, 100.0f, 0));
    ASSERT_TRUE(Objects().AddGameObject(mech));
    Frames(2);

    const std::vector<std::pair<int, int>> points = {
        {512, 30},    // the hull's fill
        {512, 54},    // the shield's fill
        {925, 671},   // the player's arrow, at (W - 100, H - 100)
        {924, 693},   // the machine ahead
        {780, 524},   // the minimap's disc, where no blip reaches
        {512, 384},   // the sight
        {840, 25},    // the missile picture
    };
    const std::vector<ScreenColor> shown = ShownAt(points);
    ASSERT_EQ(shown.size(), points.size());
    auto say = [&](size_t i) { return Describe(shown[i]); };
    EXPECT_TRUE(shown[0].r > 220 && shown[0].g < 60 && shown[0].b < 60) << "hull " << say(0);
    EXPECT_TRUE(shown[1].r < 60 && shown[1].g > 180 && shown[1].b > 200) << "shield " << say(1);
    EXPECT_TRUE(shown[2].r < 20 && shown[2].g < 20 && shown[2].b > 235) << "arrow " << say(2);
    EXPECT_TRUE(shown[3].r > 200 && shown[3].g < 90 && shown[3].b < 90) << "machine ahead " << say(3);
    for (int c : {shown[4].r, shown[4].g, shown[4].b}) EXPECT_TRUE(c >= 150 && c <= 216) << "disc " << say(4);
    EXPECT_TRUE(shown[5].g > 175 && shown[5].r < 80 && shown[5].b < 80) << "green sight " << say(5);
    EXPECT_TRUE(shown[6].r > 245 && shown[6].g > 245 && shown[6].b > 245) << "missile picture " << say(6);

    // "20/20" in the font's yellow right of the picture.
    std::vector<std::pair<int, int>> text;
    for (int x = 874; x < 990; x += 2)
        for (int y = 8; y < 40; y += 2) text.emplace_back(x, y);
    int yellow = 0;
    for (const ScreenColor& c : ShownAt(text)) yellow += c.r > 180 && c.g > 180 && c.b < 100;
    EXPECT_GT(yellow, 20) << "the missile count in yellow";

    // A hit travelling right, so from the left: the left wedge lights, and
    // is gone once its 2.5 s have passed.
    const ScreenColor before = ShownAt({{186, 384}}).at(0);
    Module<InterfaceManager>::Instance()->ShowHitIndicator(Objects().cameraObject.GetRight());
    Frames(1);
    const ScreenColor lit = ShownAt({{186, 384}}).at(0);
    EXPECT_TRUE(lit.r > 230 && lit.g < 40) << "left wedge " << Describe(lit);
    EXPECT_TRUE(ShownAt({{837, 384}}).at(0).r < 230) << "the right one stays dark";
    auto* wedge = dynamic_cast<PlayerTookDamageIndicator*>(Registry().Find(PlayerTookDamageIndicator::kLeft));
    ASSERT_NE(wedge, nullptr);
    ASSERT_TRUE(RunUntil([&] { return wedge->color.a == 0.0f; }, 1200)) << "faded after 2.5 s of frames";
    Frames(1);
    const ScreenColor gone = ShownAt({{186, 384}}).at(0);
    // The scene behind may have changed meanwhile (the level's machines
    // move): no more red over it than before the hit.
    EXPECT_LE(gone.r - gone.g, before.r - before.g + 25) << "gone: " << Describe(gone) << " before " << Describe(before);

    ShutDownGame();
}

}  // namespace
