// The radar's corner of the head-up display over level 1 in the real game,
// with the game's own interface pictures: nothing but the radar's own drawing
// shows in the radar's area, and the boost gauge, whose arc lies inside the
// radar's disc, lays flat squares there rather than small copies of the
// radar's picture.
//
// Each picture is drawn by the game's frames with the world paused (the
// scene stands still) and some of the display's widgets taken out; a picture
// counts once two frames in a row show it alike.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "interface/hud_play.h"
#include "interface/status_bar.h"
#include "objects/components.h"

namespace {

using namespace hud_play;
using hud_window::Describe;
using test_support::ScreenColor;

const char* const kRadar = "minimap";
const char* const kBoostGauge = StatusBar::kBoost;
constexpr float kBoostSquareAlpha = 0.5f;  // each gauge square's own alpha
constexpr int kGreyLevels = 3;             // what two drawings of one picture may differ by

int Difference(const ScreenColor& a, const ScreenColor& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

using Picture = std::vector<ScreenColor>;

class RadarArea : public HudPlay {
protected:
    RadarArea() : HudPlay({}) {}

    void SetUp() override {
        StartLevelOne(log);
        if (HasFatalFailure()) return;
        started = true;
        Sys().Pause(true);
        const InterfaceObject* radar = Registry().Find(kRadar);
        ASSERT_NE(radar, nullptr);
        const int left = int(radar->position.x), bottom = int(radar->position.y);
        const int right = std::min(Sys().width, int(radar->position.x + radar->width));
        const int top = std::min(Sys().height, int(radar->position.y + radar->height));
        for (int y = bottom; y < top; ++y)
            for (int x = left; x < right; ++x) area.emplace_back(x, y);
        ASSERT_FALSE(area.empty());
    }

    void TearDown() override {
        if (!started) return;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        Sys().Pause(false);
        ShutDownGame();
    }

    // The radar's area as the display draws it with only the `shown` widgets
    // registered; the others go back afterwards, in their order. Empty when
    // no two frames in a row agreed within a generous bound.
    Picture DrawnWith(const std::set<std::string>& shown) {
        std::vector<InterfaceObject*> display = Registry().TakeAll();
        for (InterfaceObject* widget : display)
            if (shown.count(widget->name)) Registry().Insert(widget);
        Picture settled, last;
        RunUntil(
            [&] {
                Picture now = ShownAt(area);
                if (!now.empty() && !last.empty() && Agree(now, last, 0)) settled = now;
                last = std::move(now);
                return !settled.empty();
            },
            600);
        Registry().TakeAll();
        for (InterfaceObject* widget : display) Registry().Insert(widget);
        return settled;
    }

    static bool Agree(const Picture& a, const Picture& b, int tolerance) {
        for (size_t i = 0; i < a.size(); ++i)
            if (Difference(a[i], b[i]) > tolerance) return false;
        return true;
    }

    // Every widget the display registered.
    static std::set<std::string> Display() {
        std::set<std::string> names;
        for (const auto& entry : Registry()) names.insert(entry.name);
        return names;
    }

    // The player's boost at that share of its maximum, held there: the
    // player's own update still runs while the world is paused.
    void SetBoost(float share) {
        Logic().boostRechargeDelay = 1e9;
        ObjectLock lock(Objects());
        StatsComp& stats = *Objects().GetGameObject(GameObject::kPlayerName)->GetStatsComp();
        stats.bp = stats.boost * share;
    }

    std::string Where(size_t i) const {
        return "(" + std::to_string(area[i].first) + ", " + std::to_string(area[i].second) + ")";
    }

    test_support::LogCapture log;
    std::vector<std::pair<int, int>> area;  // the radar's rectangle in the window, interface pixels (y up)
    bool started = false;
};

// The whole display in play against the radar drawn alone over the same
// scene: they agree everywhere in the radar's area, blips and arrowhead
// included, except under the boost gauge's squares (a widget of its own,
// placed inside the disc), found as the pixels the gauge alone changes.
TEST_F(RadarArea, ShowsTheRadarAloneExceptUnderTheBoostGauge) {
    SetBoost(1.0f);
    const Picture scene = DrawnWith({});
    const Picture gauge = DrawnWith({kBoostGauge});
    const Picture radar = DrawnWith({kRadar});
    const Picture display = DrawnWith(Display());
    const Picture sceneAgain = DrawnWith({});
    for (const Picture* picture : {&scene, &gauge, &radar, &display, &sceneAgain})
        ASSERT_EQ(picture->size(), area.size()) << "a picture never settled";
    ASSERT_TRUE(Agree(scene, sceneAgain, 1)) << "the paused scene moved";

    size_t underGauge = 0, differing = 0, shownFirst = 0;
    for (size_t i = 0; i < area.size(); ++i) {
        if (Difference(gauge[i], scene[i]) > kGreyLevels) {
            ++underGauge;
            continue;
        }
        if (Difference(display[i], radar[i]) > kGreyLevels && differing++ == 0) shownFirst = i;
    }
    EXPECT_GT(underGauge, 0u) << "a full boost gauge shows";
    EXPECT_EQ(differing, 0u) << "pixels of the radar's area that differ from the radar alone, the first at "
                             << Where(shownFirst) << ": " << Describe(display[shownFirst]) << " instead of "
                             << Describe(radar[shownFirst]);
}

// One square of the boost gauge, drawn alone over the scene, lays a single
// flat shade at its alpha: what it adds to the dimmed scene is the same at
// every pixel it covers. The radar's picture on it would show its rings,
// cross and rim instead.
TEST_F(RadarArea, TheBoostGaugesSquareIsAFlatShade) {
    SetBoost(1.5f / 30.0f);
    const Picture scene = DrawnWith({});
    const Picture gauge = DrawnWith({kBoostGauge});
    const Picture sceneAgain = DrawnWith({});
    for (const Picture* picture : {&scene, &gauge, &sceneAgain})
        ASSERT_EQ(picture->size(), area.size()) << "a picture never settled";
    ASSERT_TRUE(Agree(scene, sceneAgain, 1)) << "the paused scene moved";

    const float keep = 1.0f - kBoostSquareAlpha;
    auto added = [&](size_t i) {
        return ScreenColor{gauge[i].r - int(std::lround(keep * float(scene[i].r))),
                           gauge[i].g - int(std::lround(keep * float(scene[i].g))),
                           gauge[i].b - int(std::lround(keep * float(scene[i].b)))};
    };
    std::vector<size_t> covered;
    for (size_t i = 0; i < area.size(); ++i)
        if (Difference(gauge[i], scene[i]) > kGreyLevels) covered.push_back(i);
    ASSERT_GT(covered.size(), 400u) << "one square of 30 x 30 pixels shows";
    const ScreenColor shade = added(covered.front());
    size_t off = 0, shownFirst = 0;
    for (size_t i : covered)
        if (Difference(added(i), shade) > kGreyLevels && off++ == 0) shownFirst = i;
    EXPECT_EQ(off, 0u) << "of " << covered.size() << " pixels of the square, the first off its shade "
                       << Describe(shade) << " at " << Where(shownFirst) << " adds " << Describe(added(shownFirst));
}

}  // namespace
