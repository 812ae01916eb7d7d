// The minimap's blip rebuild on level 1 while the game's frames run with the
// physics and collision threads walking the same object table: a dozen mechs
// around the player, rebuilt every frame under the object lock, which is free
// again after every rebuild, a player or none. No OpenGL context. Run under
// ThreadSanitizer too.
#include <gtest/gtest.h>

#include <string>

#include "interface/minimap.h"
#include "object_manager.h"
#include "support/hunting_world.h"
#include "support/running_level.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

constexpr int kMechs = 12;

int CountOf(const MiniMap& map, int32_t kind) {
    int count = 0;
    for (const MapBlip& blip : map.blips) count += blip.kind == kind;
    return count;
}

class MinimapOnLevelOne : public test_support::RunningLevelOne {
protected:
    void PrepareWorld() override {
        for (int i = 0; i < kMechs; ++i)
            ASSERT_NE(test_support::AddStanding("MediumMech", "mech" + std::to_string(i), 900.0f + 40.0f * float(i),
                                                1300.0f),
                      0u);
    }
};

TEST_F(MinimapOnLevelOne, TheRebuildSeesEveryActorAndTheLevelsBoxesFrameAfterFrame) {
    MiniMap map(0, Vector());
    int blocks = -1;
    for (int frame = 0; frame < 60; ++frame) {
        Frame();
        map.Activate();
        ASSERT_FALSE(Objects().IsLockedByThisThread()) << "released after the rebuild";
        ASSERT_EQ(CountOf(map, MapBlip::Player), 1) << "frame " << frame;
        ASSERT_EQ(CountOf(map, MapBlip::Actor), kMechs) << "frame " << frame;
        if (blocks < 0) blocks = CountOf(map, MapBlip::Block);
        ASSERT_EQ(CountOf(map, MapBlip::Block), blocks) << "the level's boxes stay";
    }
    EXPECT_GT(blocks, 0) << "level 1's buildings show as boxes";
    {
        ObjectLock lock;
        const Vector player = Objects().GetGameObject(GameObject::kPlayerName)->trans;
        EXPECT_EQ(map.center.x, player.x);
        EXPECT_EQ(map.center.z, player.z);
    }
    const size_t capacity = map.blips.capacity();
    Frame();
    map.Activate();
    EXPECT_EQ(map.blips.capacity(), capacity) << "no new storage once sized";
    const Vector lastCenter = map.center;

    {
        ObjectLock lock;
        Objects().KillGameObject(*Objects().GetGameObject(GameObject::kPlayerName));
        Objects().RemoveDeadGameObjects();
    }
    for (int frame = 0; frame < 10; ++frame) {
        Frame();
        map.Activate();
        ASSERT_FALSE(Objects().IsLockedByThisThread()) << "released on the way without a player too";
    }
    EXPECT_TRUE(map.blips.empty());
    EXPECT_EQ(map.center.x, lastCenter.x) << "the centre stays where the player was last";
}

}  // namespace
