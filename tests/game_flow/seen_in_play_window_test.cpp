// What a player sees, in the real game in this process at 1024 x 768 on the
// real content: level 1's first view at rest, facing the basin's centre
// with sky over the far rim; at the start of each of level 1's waves
// and of level 3's first plaza wave, the player walked towards the nearest
// machine until it is within 300 units and turned to face it, every machine
// in view within 400 units shows the centre of its body clear of the
// cockpit (at rest), drawn there rather than hidden under the ground; and a
// pull of the laser's trigger shows its red bolts within ten frames. The
// clock is stopped and moved on a 60th of a second per frame; keys come from
// xdotool, as a player's would.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "event_manager.h"
#include "game_logic.h"
#include "game_flow/fitted_out.h"
#include "game_flow/game_in_window.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "graphics.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/cockpit_cover.h"
#include "support/screen_pixels.h"
#include "support/target_image.h"
#include "system.h"

namespace {

using test_support::CockpitCover;
using game_flow_test::kCockpitRest;
using game_flow_test::kHeight;
using game_flow_test::kWidth;
using game_flow_test::KeepPlayerAlive;
using game_flow_test::Playing;
using game_flow_test::Top;

constexpr float kApproach = 300.0f;     // walked until the nearest machine is this near
constexpr float kSeenWithin = 400.0f;   // machines this near are looked at
constexpr float kWalkPerFrame = 8.0f;   // a run, in fewer frames
constexpr float kPlazaX = 1000.0f, kPlazaZ = 1150.0f;  // where the player enters level 3's plaza
constexpr const char* kSender = "SeenInPlayTest";

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// A machine as the player sees it: where the centre of its body lands in
// the window (x from the left, y from the top), how far ahead of the eye.
struct Sighting {
    std::string name;
    float distance = 0.0f;  // along the ground, from the player
    bool inView = false;
    int x = 0, y = 0;
    float depth = 0.0f;     // eye-space distance ahead
    float radius = 0.0f;    // of its body
};

Vector BodyCentre(const GameObject& machine) {
    const CollisionComp* collision = machine.GetCollisionComp();
    return collision ? machine.trans + machine.rot.Rotate(collision->boundSphere.center) : machine.trans;
}

// Under the object lock.
std::vector<Sighting> LookAtMachines() {
    std::vector<Sighting> seen;
    ObjectManager& objects = Objects();
    const Vector eye = objects.GetGameObject(GameObject::kPlayerName)->trans;
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& object = entry.second;
        if (!object.GetStatsComp() || object.isDead || object.name == GameObject::kPlayerName) continue;
        Sighting s;
        s.name = object.name;
        const Vector centre = BodyCentre(object);
        s.distance = std::hypot(centre.x - eye.x, centre.z - eye.z);
        s.radius = object.GetCollisionComp() ? object.GetCollisionComp()->boundSphere.radius : 0.0f;
        const Vector inEye = objects.cameraObject.viewMat * Vector(centre.x, centre.y, centre.z, 1.0f);
        const Vector clip = objects.perspectMat * inEye;
        s.depth = -inEye.z;
        if (clip.w > 0.0f) {
            const float nx = clip.x / clip.w, ny = clip.y / clip.w;
            s.inView = std::fabs(nx) < 1.0f && std::fabs(ny) < 1.0f;
            s.x = int((nx * 0.5f + 0.5f) * kWidth);
            s.y = int((0.5f - ny * 0.5f) * kHeight);
        }
        seen.push_back(s);
    }
    return seen;
}

// The colours the sky box can show above the horizon: those of its
// picture's upper half (row 0 is the zenith's side; the lower half lies
// under the horizon, behind the ground), widened by the film grain and the
// texture's filtering.
class SkyColours {
public:
    explicit SkyColours(const Texture& sky) : known_(kCells * kCells * kCells, false) {
        std::vector<bool> texel(known_.size(), false);
        for (unsigned y = 0; y < sky.height / 2; ++y)
            for (unsigned x = 0; x < sky.width; ++x) {
                const uint32_t p = sky.GetPixel(x, y);
                texel[Index(Cell(int(p & 0xFF)), Cell(int(p >> 8 & 0xFF)), Cell(int(p >> 16 & 0xFF)))] = true;
            }
        for (int r = 0; r < kCells; ++r)
            for (int g = 0; g < kCells; ++g)
                for (int b = 0; b < kCells; ++b)
                    if (texel[Index(r, g, b)]) Widen(r, g, b);
    }
    bool Has(const test_support::ScreenColor& c) const { return known_[Index(Cell(c.r), Cell(c.g), Cell(c.b))]; }
    bool Empty() const { return std::find(known_.begin(), known_.end(), true) == known_.end(); }

private:
    static constexpr int kCellSize = 4, kCells = 256 / kCellSize, kReach = 2;  // about 8 levels a channel
    static int Cell(int level) { return std::clamp(level, 0, 255) / kCellSize; }
    static size_t Index(int r, int g, int b) { return (size_t(r) * kCells + size_t(g)) * kCells + size_t(b); }
    void Widen(int r, int g, int b) {
        for (int i = std::max(r - kReach, 0); i <= std::min(r + kReach, kCells - 1); ++i)
            for (int j = std::max(g - kReach, 0); j <= std::min(g + kReach, kCells - 1); ++j)
                for (int k = std::max(b - kReach, 0); k <= std::min(b + kReach, kCells - 1); ++k)
                    known_[Index(i, j, k)] = true;
    }
    std::vector<bool> known_;
};

// The share of the window that shows the sky box's colours clear of the
// cockpit (whose lit edges may come near them).
double SkyShare(const CockpitCover& cockpit) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    if (!store.IsStored(SkyBox::kTextureName)) return 0.0;
    const SkyColours sky(*store.get<Texture>(Handle(SkyBox::kTextureName)));
    if (sky.Empty()) return 0.0;
    std::vector<std::pair<int, int>> window;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) window.push_back({x, y});
    const std::vector<test_support::ScreenColor> shown = test_support::ReadOwnWindowPixels(window);
    size_t count = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        count += sky.Has(shown[i]) && !cockpit.At(window[i].first, window[i].second);
    return double(count) / double(window.size());
}

class SeenInPlay : public game_flow_test::GameInWindow<> {
protected:
    // From the start through the title into play on level 1, as "Start
    // Game" does, or on level 3 (the title's own messages, level 3 named).
    void StartAt(bool levelThree) {
        StartToTheTitle();
        if (HasFatalFailure()) return;
        if (levelThree) {
            state_events::PushState(kSender, GameStateName::Ingame);
            state_events::ChangeLevel(kSender, IngameState::kThirdLevel);
        } else {
            state_events::Publish(Event(kSender, addressee::kGameLogic, MenuMessage::kEnterGame));
        }
        ASSERT_TRUE(RunUntil(levelThree ? Playing<LevelThree> : Playing<LevelOne>, 6000)) << log.Text();
    }

    static int Machines() {
        ObjectLock lock;
        return int(LookAtMachines().size());
    }

    // Each frame the player turns to the nearest machine (its body's centre)
    // and takes a step towards it on the ground, until it is within
    // kApproach; then stands for the cockpit to come to rest.
    static bool WalkToTheNearest() {
        bool near = false;
        auto step = [&near] {
            KeepPlayerAlive();
            ObjectLock lock;
            ObjectManager& objects = Objects();
            GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
            const GameObject* nearest = nullptr;
            float best = 1e30f;
            for (const auto& entry : objects.gameObjectList) {
                const GameObject& object = entry.second;
                if (!object.GetStatsComp() || object.isDead || object.name == GameObject::kPlayerName) continue;
                const Vector d = BodyCentre(object) - player.trans;
                const float along = std::hypot(d.x, d.z);
                if (along < best) best = along, nearest = &object;
            }
            if (!nearest) return;
            const Vector d = BodyCentre(*nearest) - player.trans;
            near = best <= kApproach;
            if (!near) {
                player.trans.x += d.x / best * kWalkPerFrame;
                player.trans.z += d.z / best * kWalkPerFrame;
                player.trans.y = objects.groundObject.GetHeight(player.trans) + Logic().hoverHeight;
            }
            CameraObject& camera = objects.cameraObject;
            camera.yaw = std::atan2(-d.x, -d.z);
            camera.pitch = std::atan2(-d.y, best);
        };
        if (!RunUntil([&near] { return near; }, 60 * 60, step)) return false;
        for (int i = 0; i < 20; ++i) {
            step();
            Frame();
        }
        return true;
    }

    // With `size` machines of the wave come, the player walked up to the
    // nearest: every machine in view within kSeenWithin shows the centre of
    // its body clear of the cockpit at rest, and is drawn there (the depth
    // there is its own, not the ground's); at least one is.
    void LookAtTheWave(const std::string& wave, int size) {
        ASSERT_TRUE(RunUntil([size] { return Machines() >= size; }, 60 * 60, KeepPlayerAlive))
            << wave << ": " << Machines() << " machines";
        ASSERT_TRUE(WalkToTheNearest()) << wave;
        const CockpitCover cockpit(kWidth, kHeight, Vector(), kCockpitRest);
        const test_support::TargetImage depth(graphics::CurrentTargets().depth, kWidth, kHeight);
        int inReach = 0;
        ObjectLock lock;
        for (const Sighting& s : LookAtMachines()) {
            if (!s.inView || s.distance > kSeenWithin) continue;
            ++inReach;
            EXPECT_FALSE(cockpit.At(s.x, s.y)) << wave << ": " << s.name << " at " << s.x << "," << s.y << ", "
                                               << s.distance << " units away, behind the cockpit";
            // The geometry buffer's rows run from the bottom.
            const float drawn = depth.DepthAt(s.x, kHeight - 1 - s.y);
            EXPECT_LT(std::fabs(drawn - s.depth), s.radius * 1.5f)
                << wave << ": " << s.name << " at " << s.x << "," << s.y << " is not drawn there (depth " << drawn
                << ", its centre " << s.depth << ")";
        }
        std::printf("%-22s machines in view within %.0f units: %d\n", wave.c_str(), kSeenWithin, inReach);
        EXPECT_GE(inReach, 1) << wave;
    }
};

TEST_F(SeenInPlay, LevelOnesFirstViewAtRestFacesTheBasinsCentreWithSkyOverTheFarRim) {
    StartAt(false);
    if (HasFatalFailure()) return;
    // The player untouched, the cockpit settled.
    ASSERT_TRUE(RunUntil(game_flow_test::CockpitAtRest, 60 * 60)) << "the cockpit never came to rest";
    const float towardsCentre = flow_test::YawTowardsTheMiddle();
    float yaw = 0.0f, bob = 0.0f;
    Vector lag;
    {
        ObjectLock lock;
        lag = Objects().cockpit.moveOffset;
        bob = Objects().cockpit.bobPhase;
        yaw = Objects().cameraObject.yaw;
    }
    const double share = SkyShare(CockpitCover(kWidth, kHeight, lag, bob));
    std::printf("level 1's first view: yaw %.1f degrees, %.1f from the basin's centre; sky on %.1f%% of the window\n",
                yaw * 180.0 / M_PI, flow_test::DegreesApart(yaw, towardsCentre), share * 100.0);
    EXPECT_LE(flow_test::DegreesApart(yaw, towardsCentre), 10.0);
    EXPECT_GE(share, 0.05);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(SeenInPlay, EveryMachineInReachShowsClearOfTheCockpitAtEachWaveStartOfLevelOne) {
    StartAt(false);
    if (HasFatalFailure()) return;
    const int waves[] = {2, 4, 5};
    for (int wave = 0; wave < 3; ++wave) {
        if (wave > 0) {
            // The wave ended at once: its machines gone, none left to count.
            game_flow_test::KillTheMachines();
            ObjectLock lock;
            Top<IngameState>()->CurrentLevel().liveEnemies = 0;
        }
        LookAtTheWave("level 1 wave " + std::to_string(wave + 1), waves[wave]);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(SeenInPlay, EveryMachineInReachShowsClearOfTheCockpitAtTheFirstPlazaWaveOfLevelThree) {
    StartAt(true);
    if (HasFatalFailure()) return;
    // The plaza entered from its north end starts the first wave.
    auto& level = static_cast<LevelThree&>(Top<IngameState>()->CurrentLevel());
    ASSERT_TRUE(RunUntil([&level] { return level.wavesStarted; }, 60, [] {
        ObjectLock lock;
        GameObject& player = *Objects().GetGameObject(GameObject::kPlayerName);
        Vector at(kPlazaX, 0.0f, kPlazaZ, 0.0f);
        at.y = Objects().groundObject.GetHeight(at) + Logic().hoverHeight;
        player.trans = at;
    }));
    LookAtTheWave("level 3 plaza wave 1", 4);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The player's bolts in flight: where each lands in the window.
std::vector<std::pair<int, int>> BoltsInView() {
    std::vector<std::pair<int, int>> bolts;
    ObjectLock lock;
    ObjectManager& objects = Objects();
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& object = entry.second;
        if (object.isDead || object.name.rfind("playerBullet", 0) != 0) continue;
        const Vector clip =
            objects.perspectMat * (objects.cameraObject.viewMat * Vector(object.trans.x, object.trans.y, object.trans.z, 1.0f));
        if (clip.w <= 0.0f || std::fabs(clip.x / clip.w) >= 1.0f || std::fabs(clip.y / clip.w) >= 1.0f) continue;
        bolts.push_back({int((clip.x / clip.w * 0.5f + 0.5f) * kWidth), int((0.5f - clip.y / clip.w * 0.5f) * kHeight)});
    }
    return bolts;
}

// A bolt shows as a white-hot core in a red glow over the scene: a pixel of
// its glow is much redder than the scene was there before the pull, and
// stays warm (red above green and blue).
bool BoltGlow(const test_support::ScreenColor& now, const test_support::ScreenColor& before) {
    return now.r - before.r > 50 && now.r >= now.g + 30 && now.r >= now.b + 30;
}

TEST_F(SeenInPlay, ThePlayersLaserBoltsShowWithinTenFramesOfATriggerPull) {
    StartAt(false);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(RunUntil([] { return Machines() >= 2; }, 60 * 60, KeepPlayerAlive)) << Machines() << " machines";
    ASSERT_TRUE(WalkToTheNearest());
    std::vector<std::pair<int, int>> window;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) window.push_back({x, y});
    const std::vector<test_support::ScreenColor> before = test_support::ReadOwnWindowPixels(window);
    ASSERT_EQ(before.size(), window.size());
    const uint32_t fired = Logic().shotsFired;
    Xdo("mousedown 1");
    int frame = 0, shownAt = 0, glowing = 0;
    while (++frame <= 10 && !shownAt) {
        KeepPlayerAlive();
        Frame();
        for (const auto& bolt : BoltsInView()) {
            std::vector<std::pair<int, int>> around;
            for (int dy = -12; dy <= 12; dy += 2)
                for (int dx = -24; dx <= 24; dx += 2)
                    around.push_back({std::clamp(bolt.first + dx, 0, kWidth - 1), std::clamp(bolt.second + dy, 0, kHeight - 1)});
            const std::vector<test_support::ScreenColor> now = test_support::ReadOwnWindowPixels(around);
            ASSERT_EQ(now.size(), around.size());
            glowing = 0;
            for (size_t i = 0; i < around.size(); ++i)
                glowing += BoltGlow(now[i], before[size_t(around[i].second) * kWidth + size_t(around[i].first)]);
            if (glowing >= 10) shownAt = frame;
        }
    }
    Xdo("mouseup 1");
    std::printf("shots fired %u; a bolt first shown %d frames after the pull (%d pixels of its glow)\n",
                Logic().shotsFired - fired, shownAt, glowing);
    EXPECT_GT(Logic().shotsFired, fired) << "the pull fired";
    EXPECT_GE(shownAt, 1) << "no red bolt shown within ten frames of the pull";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
