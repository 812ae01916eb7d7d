// Where projectiles leave from and how they are aimed: muzzles fixed to the
// camera and on the bones of the generated machine, directions that leave no
// axis to turn about or no direction at all, and the fans of a uniform spread.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geom/geom_expect.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "support/animated_mechs.h"
#include "support/log_capture.h"
#include "weapons.h"
#include "weapons/launch.h"

namespace {

using weapons::Aim;
using weapons::Launch;
using weapons::Muzzle;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

const float kPi = 3.14159265f;
const Vector kX(1, 0, 0), kY(0, 1, 0), kZ(0, 0, 1);

class MuzzleTest : public ::testing::Test {
protected:
    void SetUp() override { Objects().cameraObject.viewMat = Matrix(); }
    void TearDown() override {
        ObjectLock lock;
        Objects().ClearGameObjects();
        Objects().cameraObject.viewMat = Matrix();
    }
    // The muzzle of the weapon's hot spot, under the lock as Fire runs.
    static Muzzle Locate(const Weapon& weapon, int index) {
        ObjectLock lock;
        Muzzle muzzle;
        std::string reason;
        EXPECT_TRUE(weapons::LocateMuzzle(weapon, index, muzzle, reason)) << reason;
        return muzzle;
    }
    test_support::LogCapture log;
};

TEST_F(MuzzleTest, ACameraMuzzleTurnsWithTheViewAndSendsShotsAndMissilesAlongIt) {
    GameObject player("player");
    player.trans = Vector(10, 20, 30);
    ASSERT_TRUE(Objects().AddGameObject(player));
    SimpleSpread laser;
    laser.owner = "player";
    laser.AddHotSpot(1, 2, 3, Weapon::kCameraMuzzle);
    Muzzle muzzle = Locate(laser, 0);
    EXPECT_TRUE(muzzle.onCamera && VectorNear(muzzle.position, Vector(11, 22, 33)));
    const Launch shot = Aim(muzzle, Vector(0, 0, -1), 50.0f, weapons::kShotAxis);
    EXPECT_TRUE(shot.aimed && VectorNear(shot.velocity, Vector(0, 0, -50)));
    EXPECT_TRUE(VectorNear(shot.rot.Rotate(kX), Vector(0, 0, -1)));  // the shot's +x along the view

    // Turned a quarter left, the camera looks along -x; the offset turns with it.
    Objects().cameraObject.viewMat = InvQuatVecToMatrix(AxisRotation(kY, kPi / 2), Vector(5, 5, 5));
    laser.hotspots[0].offset = Vector(0, 0, -2);
    muzzle = Locate(laser, 0);
    EXPECT_TRUE(VectorNear(muzzle.position, Vector(8, 20, 30)));
    EXPECT_TRUE(VectorNear(Aim(muzzle, Vector(-1, 0, 0), 50.0f, weapons::kShotAxis).rot.Rotate(kX), Vector(-1, 0, 0)));
}

TEST_F(MuzzleTest, BoneMuzzlesOfTheGeneratedMachineSitAtTheirGunsAndAimAtTheTarget) {
    ASSERT_TRUE(test_support::LoadMechContent()) << log.Text();
    GameObject mech = test_support::StampMech("mech");
    mech.trans = Vector(100, 0, 50);
    mech.rot = AxisRotation(kY, kPi);  // faces -z
    GraphicsComp& graphics = *mech.GetGraphicsComp();
    graphics.modelScale = 2.0f;
    graphics.skeleton.UpdateBonePositions();
    ASSERT_TRUE(Objects().AddGameObject(mech));
    const Weapon& guns = *mech.GetWeaponComp()->primary;  // the pattern's two guns
    ASSERT_EQ(guns.hotspots.size(), 2u);
    for (int spot = 0; spot < 2; ++spot) {
        const Muzzle muzzle = Locate(guns, spot);
        // The generated guns stand 7 units either side at height 16 and the
        // offset carries the muzzle 9 forward; scaled by 2, facing -z.
        EXPECT_TRUE(VectorNear(muzzle.position, Vector(spot == 0 ? 114 : 86, 32, 41), 2.5f)) << muzzle.position;
        const Launch launch = Aim(muzzle, muzzle.position + Vector(30, 40, 0), 300.0f, weapons::kShotAxis);
        EXPECT_TRUE(launch.aimed && VectorNear(launch.velocity, Vector(180, 240, 0), 1e-2f));
        EXPECT_TRUE(VectorNear(launch.rot.Rotate(kX), Vector(0.6f, 0.8f, 0)));
    }
}

TEST(Aim, EveryTargetGivesAFiniteOrientationAndOnlyTargetsWithADirectionAreAimed) {
    Muzzle muzzle;
    muzzle.position = Vector(3, 4, 5);
    EXPECT_TRUE(QuatNear(Aim(muzzle, Vector(3, 14, 5), 10.0f, kX).rot, AxisRotation(kZ, kPi / 2)));  // straight up
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case { Vector target, axis; bool aimed; };
    const Case cases[] = {{Vector(13, 4, 5), kX, true}, {Vector(-7, 4, 5), kX, true},  // along, opposite
                          {Vector(3, 4, 15), kZ, true}, {Vector(3, 4, -5), kZ, true},
                          {Vector(3, 4, 5), kZ, false}, {Vector(3, 4, 5, 7), kX, false},  // at the muzzle
                          {Vector(nan, 0, 0), kX, false}};
    for (const Case& c : cases) {
        const Launch launch = Aim(muzzle, c.target, 10.0f, c.axis);
        EXPECT_EQ(launch.aimed, c.aimed) << c.target;
        const Vector direction = c.aimed ? (c.target - muzzle.position).Norm() : c.axis;
        EXPECT_TRUE(VectorNear(launch.velocity, c.aimed ? direction * 10.0f : Vector())) << c.target;
        EXPECT_TRUE(VectorNear(launch.rot.Rotate(c.axis), direction)) << c.target;  // finite, never NaN
    }
    muzzle.onCamera = true;
    EXPECT_FALSE(Aim(muzzle, Vector(nan, 0, -1), 10.0f, kX).aimed);
}

TEST(Volley, UniformFansTurnAboutUpByEvenStepsAndEverythingElseFiresItsCentre) {
    const Vector centre(0, 0, -100);
    struct Case { int num; float spread, vertical; bool uniform; std::vector<float> turns; };
    const Case cases[] = {
        {3, 0.2f, 0, true, {0, 0.1f, -0.1f}}, {5, 0.4f, 0, true, {0, 0.1f, 0.2f, -0.1f, -0.2f}},
        {1, 0.4f, 0, true, {0}},              {5, 0.4f, 0.1f, true, {0}},  // a vertical spread: no fan
        {5, 0, 0, true, {0}},                 {3, 0.2f, 0, false, {0}},
        {4, 0.2f, 0, true, {0}},              {0, 0.2f, 0, true, {0}},  // even counts fire the centre
        {-3, 0.2f, 0, true, {0}},
    };
    for (const Case& c : cases) {
        SimpleSpread weapon;
        weapon.num = c.num;
        weapon.spreadHorizontal = c.spread;
        weapon.spreadVertical = c.vertical;
        weapon.uniformSpread = c.uniform;
        const std::vector<Vector> velocities = weapons::VolleyVelocities(weapon, centre);
        ASSERT_EQ(velocities.size(), c.turns.size()) << "num " << c.num;
        for (size_t i = 0; i < velocities.size(); ++i)
            EXPECT_TRUE(VectorNear(velocities[i], AxisRotation(kY, c.turns[i]).Rotate(centre), 1e-3f)) << c.num;
    }
}

}  // namespace
