// Shots in the deferred frame, drawn by the real billboard pass into the
// particle target, turned the way the weapons turn them (their local x axis
// along the flight): a shot keeps its flight on screen, so a bolt seen from
// behind is a sliver beside the crosshair, not a bar across it, and a bolt
// crossing the view is a streak along its path.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "game_logic/player_fit_out.h"
#include "graphics/gl_state.h"
#include "objects/graphics_comps.h"
#include "support/first_level_test.h"
#include "support/target_image.h"
#include "weapons.h"
#include "weapons/launch.h"

namespace {

using namespace test_support;

const int kW = 640, kH = 480;
const float kPi = 3.14159265f;
const Vector kSkyEye(0, 1000, 0, 1);  // sky on every side: nothing hides a shot
// A pixel the shot has lit: its alpha in the particle target (cleared to 0)
// above 1/32.
const int kLitAlpha = 8;

// The camera's axes in the world.
struct View {
    Vector right, up, forward;
};

// The pixels that the shots lit, bottom row first, and their spread.
struct Lit {
    int count = 0;
    double meanX = 0, meanY = 0, xx = 0, yy = 0, xy = 0;  // centre and second moments
    int InBox(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (const auto& p : pixels) n += p.first >= x0 && p.first <= x1 && p.second >= y0 && p.second <= y1;
        return n;
    }
    // The direction, in degrees within [0, 180), in which the lit pixels
    // spread the most.
    double LongAxis() const {
        const double angle = 0.5 * std::atan2(2.0 * xy, xx - yy) * 180.0 / kPi;
        return angle < 0 ? angle + 180.0 : angle;
    }
    std::vector<std::pair<int, int>> pixels;
};

Lit LitPixels() {
    const TargetImage particles(graphics::CurrentTargets().particle, kW, kH);
    Lit lit;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (particles.At(x, y).a > kLitAlpha) lit.pixels.push_back({x, y});
    lit.count = int(lit.pixels.size());
    if (lit.count == 0) return lit;
    for (const auto& p : lit.pixels) lit.meanX += p.first, lit.meanY += p.second;
    lit.meanX /= lit.count, lit.meanY /= lit.count;
    for (const auto& p : lit.pixels) {
        const double dx = p.first - lit.meanX, dy = p.second - lit.meanY;
        lit.xx += dx * dx, lit.yy += dy * dy, lit.xy += dx * dy;
    }
    return lit;
}

// Angle in degrees between two undirected lines given in [0, 180).
double LineAngle(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 180.0 - d);
}

class ShotBillboards : public FirstLevelTest {
protected:
    void SetUp() override {
        FirstLevelTest::SetUp();
        if (HasFatalFailure()) return;
        ObjectLock lock;
        GameObject& player = *Objects().GetGameObject(GameObject::kPlayerName);
        playerWas = player.trans;
        player.trans = kSkyEye;
        // A slanted view, so that neither the shots' flights nor their own
        // frames line up with the world's axes.
        CameraObject& camera = Objects().cameraObject;
        camera.mode = 0;
        camera.target = kSkyEye;
        camera.yaw = 0.6f;
        camera.pitch = -0.3f;
        camera.Update();
        view.right = camera.GetRight();
        view.forward = camera.GetView() * -1.0f;
        view.up = Cross(view.right, view.forward);
    }

    void TearDown() override {
        {
            ObjectLock lock;
            for (auto& entry : Objects().gameObjectList)
                if (entry.second.HasComp(CompIndex::Billboard)) entry.second.isDead = true;
            Objects().RemoveDeadGameObjects();
            Objects().GetGameObject(GameObject::kPlayerName)->trans = playerWas;
        }
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    // A frame with the shot in the world; what it lit.
    static Lit Drawn(const GameObject& shot) {
        EXPECT_TRUE(Objects().AddGameObject(shot)) << shot.name;
        TheGraphics().Update();
        return LitPixels();
    }

    static void Remove(const std::string& name) {
        ObjectLock lock;
        Objects().GetGameObject(name)->isDead = true;
        Objects().RemoveDeadGameObjects();
    }

    // The window position of a world point in pixels, bottom row first.
    static std::pair<double, double> OnScreen(const Vector& p) {
        const Vector clip = Objects().perspectMat * (Objects().cameraObject.viewMat * Vector(p.x, p.y, p.z, 1.0f));
        return {(clip.x / clip.w * 0.5 + 0.5) * kW, (clip.y / clip.w * 0.5 + 0.5) * kH};
    }

    // An enemy's shot as its weapon aims one from a bone muzzle at `at`
    // towards a target along `flight`.
    static GameObject EnemyShot(const std::string& name, const Vector& at, const Vector& flight) {
        weapons::Muzzle muzzle;
        muzzle.position = at;
        const weapons::Launch launch = weapons::Aim(muzzle, at + flight * 100.0f, 50.0f, weapons::kShotAxis);
        EXPECT_TRUE(launch.aimed);
        GameObject shot(name);
        BillboardComp billboard;
        billboard.texture = Handle("tex_shot_blue");
        shot.AttachComponent(billboard);
        shot.trans = launch.position;
        shot.rot = launch.rot;
        return shot;
    }

    Vector playerWas;
    View view;
};

TEST_F(ShotBillboards, ThePlayersBoltSeenFromBehindIsASliverBesideTheCrosshair) {
    ASSERT_EQ(LitPixels().count, 0) << "the particle target holds nothing but the shots";
    const std::unique_ptr<Weapon> laser = MakePlayerLaser(GameObject::kPlayerName);
    for (int muzzle : {0, 1}) {
        GameObject bolt;
        {
            ObjectLock lock;
            laser->hotSpotIndex = muzzle;
            bolt = laser->SpawnShot(view.forward);
        }
        ASSERT_TRUE(bolt.HasComp(CompIndex::Billboard));
        bolt.trans = bolt.trans + view.forward * 40.0f;
        const Lit lit = Drawn(bolt);
        const double share = 100.0 * lit.count / (kW * kH);
        std::printf("laser muzzle %d, bolt 40 ahead flying away: %d pixels lit, %.3f%% of the window\n", muzzle,
                    lit.count, share);
        EXPECT_GT(lit.count, 0) << "the bolt still shows";
        // Its muzzle lies 6 to the side, so it is seen a little from the side:
        // a short glow, a fifth of the bar that faced the screen.
        EXPECT_LE(share, 1.0) << muzzle;
        // The target it is fired at stays in sight.
        EXPECT_EQ(lit.InBox(kW / 2 - 20, kH / 2 - 20, kW / 2 + 20, kH / 2 + 20), 0) << muzzle;
        Remove(bolt.name);
    }
}

TEST_F(ShotBillboards, ABoltOnTheLineOfSightShrinksToAtMostAGlow) {
    // Flying straight away from the eye, and straight at it.
    for (float sign : {1.0f, -1.0f}) {
        const Lit lit = Drawn(EnemyShot(sign > 0 ? "away" : "towards", kSkyEye + view.forward * 40.0f,
                                        view.forward * sign));
        const double share = 100.0 * lit.count / (kW * kH);
        std::printf("bolt 40 ahead on the line of sight, flying %s: %.3f%% of the window\n",
                    sign > 0 ? "away" : "towards", share);
        EXPECT_LE(share, 0.5) << sign;
        Remove(sign > 0 ? "away" : "towards");
    }
}

TEST_F(ShotBillboards, ABoltCrossingTheViewIsAStreakAlongItsPath) {
    const struct {
        const char* name;
        float right, up, forward;  // offset of the shot from the centre of the view, 60 ahead
        float flightRight, flightUp, flightForward;
    } cases[] = {
        {"left to right", -8, 6, 0, 1, 0, 0},
        {"up and to the right", 5, -5, 0, 1, 1, -0.4f},
        {"down and to the left, away", 0, 0, 10, -1, -0.6f, 0.5f},
    };
    for (const auto& c : cases) {
        const Vector at = kSkyEye + view.forward * (60.0f + c.forward) + view.right * c.right + view.up * c.up;
        const Vector flight =
            (view.right * c.flightRight + view.up * c.flightUp + view.forward * c.flightForward).Norm();
        const Lit lit = Drawn(EnemyShot(c.name, at, flight));
        const auto from = OnScreen(at - flight), to = OnScreen(at + flight);
        double path = std::atan2(to.second - from.second, to.first - from.first) * 180.0 / kPi;
        if (path < 0) path += 180.0;
        if (path >= 180.0) path -= 180.0;
        const double off = LineAngle(lit.LongAxis(), path);
        std::printf("%s: %d pixels lit, long axis %.1f deg, path %.1f deg, %.1f deg apart\n", c.name, lit.count,
                    lit.LongAxis(), path, off);
        EXPECT_GT(lit.count, 500) << c.name;
        EXPECT_LE(off, 10.0) << c.name;
        // Longer than wide: a streak, not a blob.
        const double spread = std::sqrt(std::pow(lit.xx - lit.yy, 2) + 4 * lit.xy * lit.xy);
        EXPECT_GT((lit.xx + lit.yy + spread) / std::max(1e-9, lit.xx + lit.yy - spread), 2.0) << c.name;
        Remove(c.name);
    }
}

}  // namespace
