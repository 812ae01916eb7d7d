// The road of one shot on level 1, through the real frame loop with its
// physics and collision threads: the player's pull queues a laser shot, the
// behaviour update registers it, physics moves it, the collision thread
// sweeps it into the machine ahead and publishes the contact with the shot as
// objA, and its expiry state kills it once its lifetime has run out (nothing
// handles hits before the game flow exists). No OpenGL context. Run under
// ThreadSanitizer too.
#include <gtest/gtest.h>

#include <string>

#include "behavior_manager.h"
#include "collision_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/animated_mechs.h"
#include "support/running_level.h"
#include "weapons.h"

namespace {

constexpr double kLifetime = 0.5;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
BehaviorManager& Behavior() { return *Module<BehaviorManager>::Instance(); }

class RoadOfOneShot : public test_support::RunningLevelOne {
protected:
    // The player's laser as the level load arms it, and a machine 30 units
    // straight ahead (the camera looks along -z), its bounding sphere at the
    // height of the muzzle.
    void PrepareWorld() override {
        Vector ahead;
        {
            ObjectLock lock;
            GameObject& player = *Objects().GetGameObject(GameObject::kPlayerName);
            SimpleSpread* laser = new SimpleSpread();
            laser->owner = GameObject::kPlayerName;
            laser->bulletName = "playerBullet";
            laser->bulletPrototype.faction = 2;
            laser->AddHotSpot(0, 0, -2, Weapon::kCameraMuzzle);
            laser->num = 1;
            laser->speed = 300.0f;
            laser->rate = 0.2f;
            laser->expire = kLifetime;
            laser->baseDamage = 5.0f;
            WeaponComp& arms = *player.GetWeaponComp();
            delete arms.primary;
            arms.primary = laser;
            ahead = player.trans + Vector(0, -10.5f, -30);
            Objects().cameraObject.viewMat = Matrix();
        }
        ASSERT_TRUE(test_support::LoadMechContent());
        GameObject mech = test_support::StampMech("target");
        mech.trans = ahead;
        ASSERT_TRUE(Objects().AddGameObject(mech));
    }
    static unsigned Number(const std::string& name) {
        ObjectLock lock;
        return Objects().GetObjectNumber(name);
    }
    static bool IsDead(const std::string& name) {
        ObjectLock lock;
        return Objects().GetGameObject(name)->isDead;
    }
};

TEST_F(RoadOfOneShot, FromThePullToTheContactAndTheExpiry) {
    {
        // The player controller's pull: main thread, object lock held.
        ObjectLock lock;
        Objects().GetGameObject(GameObject::kPlayerName)->GetWeaponComp()->primary->Fire(Vector(0, 0, -1));
    }
    ASSERT_EQ(Behavior().pendingObjects.size(), 1u);
    const std::string shot = Behavior().pendingObjects.front().name;
    EXPECT_EQ(Number(shot), 0u);
    Frame();
    const unsigned shotNum = Number(shot), mechNum = Number("target");
    ASSERT_NE(shotNum, 0u);

    bool contact = false;
    int frames = 1;
    for (; frames < 20 && !contact; ++frames) {
        Frame();
        for (const CollisionEvent& event : Module<CollisionManager>::Instance()->GetCollisionEvents())
            contact |= event.objA == shotNum && event.objB == mechNum;
    }
    EXPECT_TRUE(contact) << "no contact of " << shot << " with the machine";
    for (; frames < 120 && !IsDead(shot); ++frames) Frame();
    EXPECT_TRUE(IsDead(shot));
    // The count starts when the shot is built and kills at the first
    // update after the lifetime has run out.
    EXPECT_GE(frames, static_cast<int>(kLifetime / kStep));
    EXPECT_LE(frames, static_cast<int>(kLifetime / kStep) + 3);
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
}

}  // namespace
