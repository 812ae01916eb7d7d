// Missiles when the pattern "Missile" is missing, and when it brings a
// collision section of its own: the missile still flies, keeps the pattern's
// component with the projectile settings added, and each fault is logged once
// however many missiles are built. Its own program: no pattern is loaded
// before the first half.
#include <gtest/gtest.h>

#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "weapons.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

std::vector<GameObject> TwoMissiles(Missile& launcher) {
    ObjectLock lock;
    return {launcher.SpawnMissile(Vector(0, 0, -1)), launcher.SpawnMissile(Vector(0, 0, -1))};
}

TEST(MissilePattern, MissingOrCarryingCollisionTheMissileFliesAndTheFaultIsLoggedOnce) {
    Module<EventManager>::Instance()->Init();
    Objects().Init();
    ASSERT_TRUE(Objects().AddGameObject(GameObject("player")));
    Missile launcher;
    launcher.owner = "player";
    launcher.AddHotSpot(0, 0, 0, "player");
    launcher.speed = 40.0f;
    launcher.bulletPrototype.faction = 2;
    test_support::LogCapture log;

    for (const GameObject& missile : TwoMissiles(launcher)) {
        ASSERT_NE(missile.GetPhysicsComp(), nullptr);
        EXPECT_EQ(missile.GetPhysicsComp()->linearVel.z, -40.0f);
        EXPECT_EQ(missile.GetCollisionComp()->collidesWith, 2u | 8u);
    }
    EXPECT_EQ(log.Count("unknown object pattern Missile"), 1) << log.Text();

    test_support::TempFolder folder;
    folder.WriteFile("missile.xml",
                     "<object><type>Projectile</type><position x=\"0\" y=\"0\" z=\"0\"/><physics mass=\"1\"/>"
                     "<collision><collisionGroup>1</collisionGroup><collidesWith>0</collidesWith></collision></object>");
    folder.WriteFile("list.xml", "<registry><p registry=\"Missile\" file=\"" + folder.Path() + "/missile.xml\"/></registry>");
    Module<ResourceManager>::Instance()->LoadObjectPatterns((folder.Path() + "/list.xml").c_str());
    log.Restart();
    for (const GameObject& missile : TwoMissiles(launcher)) {
        const CollisionComp& collision = *missile.GetCollisionComp();
        EXPECT_EQ(collision.category, 2u | 4u);  // the pattern's group kept, the projectile bit added
        EXPECT_EQ(collision.collidesWith, 1u | 2u | 8u);
        EXPECT_FALSE(collision.resolveContact);
        EXPECT_EQ(missile.GetPhysicsComp()->linearVel.z, -40.0f);
    }
    EXPECT_EQ(log.Count("tried to attach a duplicate component"), 1) << log.Text();
}

}  // namespace
