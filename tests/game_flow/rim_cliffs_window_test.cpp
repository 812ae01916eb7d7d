// The rim's cliffs read as rock up close, in the real game in this process
// (game_in_window.h) on the real content: on each level the player is set
// down at rest against the middle of each of the four rims, as near the
// cliff as the game lets it stand, and turned to face it. Looking level, as
// a player walking into the rim does, the view's middle (600 x 300 pixels,
// centred over the dashboard) has a mean grey of at least 40 of 255,
// whether the cliff or the ground's own rim rising before its foot fills
// it. Looking level or as little up as shows the cliff's face over the
// whole of that middle (the depth drawn there puts every sampled pixel on
// the face), the face reads at least as bright, and the four faces keep the
// order of their sun: a face whose inner
// normal lies nearer the direction towards the level's sun (its first
// light, read from the running game, so that a level's sun may move) is the
// brighter. Machines are taken away as they come, so that only rock fills
// the view.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "game_flow/game_in_window.h"
#include "game_logic.h"
#include "game_logic/player_parts.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/screen_pixels.h"
#include "support/target_image.h"

namespace {

using game_flow_test::kHeight;
using game_flow_test::kWidth;
using game_flow_test::Playing;

constexpr int kMiddleWidth = 600, kMiddleHeight = 300;
constexpr int kDashboardTop = kHeight * 4 / 5;  // the dashboard fills the bottom fifth
// The view's middle: centred over the dashboard.
constexpr int kLeft = (kWidth - kMiddleWidth) / 2, kTop = (kDashboardTop - kMiddleHeight) / 2;
constexpr double kLeastFaceShare = 0.97;
constexpr float kUpStep = 0.1f, kMostUp = 0.8f;  // radians
constexpr double kLeastGrey = 40.0;
constexpr const char* kSender = "RimCliffsTest";

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

struct LevelRow {
    const char* name;
    const char* key;  // IngameState's level key
    bool (*playing)();
};
void PrintTo(const LevelRow& level, std::ostream* out) { *out << level.name; }

const LevelRow kLevels[] = {
    {"level1", IngameState::kFirstLevel, Playing<LevelOne>},
    {"level2", IngameState::kSecondLevel, Playing<LevelTwo>},
    {"level3", IngameState::kThirdLevel, Playing<LevelThree>},
};

// A rim by the inner normal of its cliff's face (+x east, +z north): the
// player is set down half a map beyond the map's middle against it.
struct Rim {
    const char* name;
    float inwardX, inwardZ;
};
const Rim kRims[] = {{"east", -1, 0}, {"west", 1, 0}, {"north", 0, -1}, {"south", 0, 1}};

// What the player saw of one rim.
struct RimView {
    const Rim* rim;
    double sunFacing;  // the face's inner normal . the direction towards the sun
    double levelGrey;  // mean grey of the view's middle looking level
    double grey;       // mean grey of the view's middle showing the face
    float up;          // radians the view looked up to see the face there
};

class RimCliffs : public game_flow_test::GameInWindow<::testing::TestWithParam<LevelRow>> {
protected:
    // Through the title into play on the level, as the title's own messages
    // would.
    void StartAt(const LevelRow& level) {
        StartToTheTitle();
        if (HasFatalFailure()) return;
        state_events::PushState(kSender, GameStateName::Ingame);
        state_events::ChangeLevel(kSender, level.key);
        ASSERT_TRUE(RunUntil(level.playing, 6000)) << log.Text();
    }

    // The player kept whole and the level's machines taken away as they
    // come; the player set down at rest against the middle of the rim, as
    // near its cliff as the game lets it stand, and turned to face it,
    // looking up by `up` radians.
    static void HoldAgainst(const Rim& rim, float up) {
        game_flow_test::KillTheMachines();
        game_flow_test::KeepPlayerAlive();
        ObjectLock lock;
        ObjectManager& objects = Objects();
        GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
        const GroundPlaneObject& ground = objects.groundObject;
        const float half = ground.scale.x / 2.0f, fromMiddle = half - GroundPlaneObject::kRimInset - kPlayerReach;
        Vector at(ground.pos.x + half - rim.inwardX * fromMiddle, 0.0f, ground.pos.z + half - rim.inwardZ * fromMiddle,
                  0.0f);
        at.y = ground.GetHeight(at) + Logic().hoverHeight;
        player.trans = at;
        player.GetPhysicsComp()->linearVel = Vector();
        objects.cameraObject.yaw = std::atan2(rim.inwardX, rim.inwardZ);
        objects.cameraObject.pitch = -up;
    }

    // Held against the rim until the player stands still with the cockpit
    // at rest.
    static bool Settle(const Rim& rim, float up) {
        Vector last(1e9f, 0, 0);
        int stillFrames = 0;
        return RunUntil(
            [&] {
                Vector at;
                {
                    ObjectLock lock;
                    at = Objects().GetGameObject(GameObject::kPlayerName)->trans;
                }
                const bool still = std::fabs(at.x - last.x) + std::fabs(at.y - last.y) + std::fabs(at.z - last.z) < 0.05f;
                last = at;
                stillFrames = still ? stillFrames + 1 : 0;
                return stillFrames >= 3 && game_flow_test::CockpitAtRest();
            },
            60 * 60, [&rim, up] { HoldAgainst(rim, up); });
    }

    // The share of the view's middle (sampled on a grid) that shows the
    // cliff's inner face, kRimInset inside the ground's edge: the drawn depth
    // there puts the pixel on the face's plane. The ground's own rim, rising
    // against the cliff's foot, may hide the face's lowest part.
    static double FaceShare(const Rim& rim) {
        const test_support::TargetImage depth(graphics::CurrentTargets().depth, kWidth, kHeight);
        ObjectLock lock;
        const ObjectManager& objects = Objects();
        const Vector& eye = objects.cameraObject.target;
        const GroundPlaneObject& ground = objects.groundObject;
        const float inset = GroundPlaneObject::kRimInset;
        float toFace = 0.0f;
        if (rim.inwardX > 0.0f) toFace = eye.x - (ground.pos.x + inset);
        if (rim.inwardX < 0.0f) toFace = ground.pos.x + ground.scale.x - inset - eye.x;
        if (rim.inwardZ > 0.0f) toFace = eye.z - (ground.pos.z + inset);
        if (rim.inwardZ < 0.0f) toFace = ground.pos.z + ground.scale.z - inset - eye.z;
        // The projection's height scale: an eye point (0, 1, -1) lands at this
        // height of the window's middle (-1 to 1).
        const Vector unit = objects.perspectMat * Vector(0.0f, 1.0f, -1.0f, 1.0f);
        const float heightScale = unit.y / unit.w;
        // Positive pitch looks down: the view's forward and up axes lean
        // their horizontal parts by it.
        const float pitch = objects.cameraObject.pitch;
        int onFace = 0, samples = 0;
        for (int row = 0; row < 12; ++row)
            for (int column = 0; column < 24; ++column, ++samples) {
                const int x = kLeft + kMiddleWidth * (2 * column + 1) / 48;
                const int y = kTop + kMiddleHeight * (2 * row + 1) / 24;
                const float ahead = depth.DepthAt(x, kHeight - 1 - y);
                const float above = (1.0f - 2.0f * float(y) / float(kHeight)) / heightScale * ahead;
                const float across = ahead * std::cos(pitch) + above * std::sin(pitch);
                onFace += std::fabs(across - toFace) < 1.0f;
            }
        return double(onFace) / double(samples);
    }

    // The mean grey of the view's middle as the window shows it.
    static double MiddleGrey(const Rim& rim) {
        std::vector<std::pair<int, int>> middle;
        for (int y = kTop; y < kTop + kMiddleHeight; ++y)
            for (int x = kLeft; x < kLeft + kMiddleWidth; ++x) middle.push_back({x, y});
        const std::vector<test_support::ScreenColor> shown = test_support::ReadOwnWindowPixels(middle);
        EXPECT_EQ(shown.size(), middle.size()) << rim.name;
        double sum = 0.0;
        for (const auto& c : shown) sum += (c.r + c.g + c.b) / 3.0;
        return shown.empty() ? 0.0 : sum / double(shown.size());
    }

    // The player held against the rim looking level, then as little up as
    // makes the cliff's face fill the view's middle; that middle read back
    // both ways.
    RimView Look(const Rim& rim) {
        double share = 0.0, levelGrey = 0.0;
        float up = 0.0f;
        for (; up <= kMostUp; up += kUpStep) {
            EXPECT_TRUE(Settle(rim, up)) << rim.name << ": the player never stood still against the rim";
            if (up == 0.0f) levelGrey = MiddleGrey(rim);
            share = FaceShare(rim);
            if (share >= kLeastFaceShare) break;
        }
        EXPECT_GE(share, kLeastFaceShare) << rim.name << ": the cliff's face never filled the view's middle";
        const double grey = up == 0.0f ? levelGrey : MiddleGrey(rim);

        ObjectLock lock;
        const Vector& towards = Objects().lightObjectList.front().position;
        const double length = std::sqrt(towards.x * towards.x + towards.y * towards.y + towards.z * towards.z);
        return {&rim, (rim.inwardX * towards.x + rim.inwardZ * towards.z) / length, levelGrey, grey, up};
    }

};

TEST_P(RimCliffs, EachRimsCliffReadsAsRockUpCloseAndKeepsItsSunsOrder) {
    StartAt(GetParam());
    if (HasFatalFailure()) return;
    std::vector<RimView> views;
    for (const Rim& rim : kRims) {
        views.push_back(Look(rim));
        const RimView& view = views.back();
        std::printf("%s %-5s: sun facing %+.2f, mean grey %.1f looking level, %.1f looking up %.1f at the face\n",
                    GetParam().name, rim.name, view.sunFacing, view.levelGrey, view.grey, view.up);
        EXPECT_GE(view.levelGrey, kLeastGrey) << GetParam().name << " " << rim.name << ": reads as a void";
        EXPECT_GE(view.grey, kLeastGrey) << GetParam().name << " " << rim.name << ": its face reads as a void";
    }
    std::sort(views.begin(), views.end(), [](const RimView& a, const RimView& b) { return a.sunFacing < b.sunFacing; });
    for (size_t i = 1; i < views.size(); ++i)
        EXPECT_GT(views[i].grey, views[i - 1].grey)
            << GetParam().name << ": the " << views[i].rim->name << " face turns more to the sun than the "
            << views[i - 1].rim->name << " one, yet is no brighter";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Levels, RimCliffs, ::testing::ValuesIn(kLevels),
                         [](const ::testing::TestParamInfo<LevelRow>& info) { return std::string(info.param.name); });

}  // namespace
