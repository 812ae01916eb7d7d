// One enemy hunting on level 1 through the real frame loop, its worker threads
// and the settable clock: a mech placed behind a building, out of the still
// player's sight, wakes, walks toward the player with its walk animation,
// comes into sight, fires, and its shots reach the player's contact list.
// Bounded by frame count. No OpenGL context. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "animation_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "support/hunting_world.h"
#include "support/running_level.h"

namespace {

constexpr int kMostFrames = 60 * 30;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

// What one frame showed of the mech and the player.
struct Sighting {
    float distance = 0;  // mech to player over the ground
    int animation = -1;
    bool seesPlayer = false;
    int shots = 0;  // shots ever registered: killed ones stay in the table
    bool playerHit = false;
};

class HuntOnLevelOne : public test_support::RunningLevelOne {
protected:
    void PrepareWorld() override {
        Module<AnimationManager>::Instance()->Init();  // poses the muzzle bones
        // Picking on, as the in-game state sets it when play starts: sight
        // comes from the picking pass.
        Event pick("test", "CollisionManager", CollisionManager::kSetEvent);
        pick.SetParam<bool>(CollisionManager::kPickOn, true);
        Module<EventManager>::Instance()->PublishEvent(pick);
        // The script's player stands still in the open north of the basin;
        // the mech is hidden behind the building south-east of it, within
        // its wake-up range.
        ASSERT_NE(test_support::AddStanding("MediumMech", "mech", 1335, 1140), 0u);
    }
    void TearDown() override {
        RunningLevelOne::TearDown();
        Module<AnimationManager>::Instance()->Kill();
    }
    Sighting Look(unsigned player) const {
        Sighting seen;
        const std::vector<CollisionEvent> contacts =
            Module<CollisionManager>::Instance()->GetObjectCollisionEvents(player);
        ObjectLock lock;
        const GameObject& mech = *Objects().GetGameObject("mech");
        const Vector apart = Objects().GetGameObject(player)->trans - mech.trans;
        seen.distance = std::sqrt(apart.x * apart.x + apart.z * apart.z);
        seen.animation = mech.GetGraphicsComp()->skeleton.curAnimation;
        seen.seesPlayer = mech.GetBehaviorComp()->sm.hasLineOfSight;
        for (const auto& entry : Objects().gameObjectList) seen.shots += entry.second.HasComp(CompIndex::Bullet);
        for (const CollisionEvent& contact : contacts) {
            const unsigned other = contact.objA == player ? contact.objB : contact.objA;
            seen.playerHit |= Objects().HasGameObject(other) && Objects().GetGameObject(other)->HasComp(CompIndex::Bullet);
        }
        return seen;
    }
};

TEST_F(HuntOnLevelOne, AMechOutOfSightWalksInSeesFiresAndHitsThePlayer) {
    unsigned player = 0;
    {
        ObjectLock lock;
        player = Objects().GetObjectNumber(GameObject::kPlayerName);
    }
    ASSERT_NE(player, 0u);

    const Sighting start = Look(player);
    int walkedHidden = -1, sawAt = -1, firedAt = -1, hitAt = -1, shotsBeforeSight = 0;
    for (int frame = 0; frame < kMostFrames && hitAt < 0; ++frame) {
        Frame();
        const Sighting now = Look(player);
        if (sawAt < 0 && now.seesPlayer) sawAt = frame;
        if (sawAt < 0) {
            shotsBeforeSight = now.shots;
            if (walkedHidden < 0 && now.animation == 1 && now.distance < start.distance - 10) walkedHidden = frame;
        }
        if (sawAt >= 0 && firedAt < 0 && now.shots > shotsBeforeSight) firedAt = frame;
        if (firedAt >= 0 && now.playerHit) hitAt = frame;
    }
    JoinWorkerThreads();

    EXPECT_FALSE(start.seesPlayer);
    ASSERT_GE(walkedHidden, 0) << "the mech never walked toward the player while hidden";
    ASSERT_GT(sawAt, walkedHidden) << "it came into sight only after walking";
    ASSERT_GE(firedAt, sawAt) << "it never fired once in sight";
    EXPECT_GE(hitAt, firedAt) << "no shot reached the player's contact list within " << kMostFrames << " frames";
    EXPECT_EQ(log.Count("ERROR"), 0) << log.Text();
}

}  // namespace
