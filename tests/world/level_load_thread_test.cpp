// Level loading off the main thread: a loader thread reads a level and
// stamps its objects while the main thread keeps walking the object table
// under the object lock, as drawing does; and two builders generate
// collision volumes for the same mesh at once. Run under ThreadSanitizer.
#include <atomic>
#include <thread>

#include "game_logic.h"
#include "objects/components.h"
#include "world/level_fixture.h"

namespace level_test {
namespace {

TEST_F(LevelFiles, TheLoaderStampsWhileTheMainThreadWalksTheTable) {
    const char* const patterns[] = {"LvGate", "LvSentry", "LvCrate"};
    std::string body;
    for (int i = 1; i <= 60; ++i)
        body += Obj(patterns[i % 3] + std::to_string(i), patterns[i % 3], "t", std::to_string(i) + ",0,5");
    const std::string path = File(LevelText(body));
    std::atomic<bool> done{false};
    bool loaded = false;
    std::thread loader([&] {
        loaded = level.LoadLevel(path);
        done.store(true);
    });
    // Each object is registered, then stamped under a later hold of the lock:
    // a walk sees it either untouched or placed at its number, never half way.
    auto placed = [](const GameObject& object) {
        const float x = object.trans.x, number = std::stof(object.name.substr(object.name.find_first_of("0123456789")));
        return x == number || (x == 0.0f && !object.GetCollisionComp());
    };
    size_t seen = 0;
    while (!done.load()) {
        ObjectLock lock;
        EXPECT_GE(Objects().gameObjectList.size(), seen) << "no object vanishes during a load";
        seen = Objects().gameObjectList.size();
        for (const auto& entry : Objects().gameObjectList) EXPECT_TRUE(placed(entry.second)) << entry.second.name;
    }
    loader.join();
    ObjectLock lock;
    ASSERT_TRUE(loaded && Objects().gameObjectList.size() == 60u);
    for (const auto& entry : Objects().gameObjectList)
        EXPECT_TRUE(entry.second.trans.x > 0.0f && placed(entry.second)) << entry.second.name;
}

TEST_F(LevelFiles, TwoBuildersShareTheCollisionCache) {
    Module<GameLogic>::Instance();  // made on the main thread, as at start-up
    auto build = [](const char* name, CollisionComp& out) {
        GameObject object(name);
        GraphicsComp graphics;
        graphics.modelMesh = Handle("mesh_level_ground");
        object.AttachComponent(graphics);
        Module<GameLogic>::Instance()->AutoGenerateCollision(object);
        out = *object.GetCollisionComp();
    };
    CollisionComp first, second;
    std::thread a(build, "a", std::ref(first)), b(build, "b", std::ref(second));
    a.join(), b.join();
    // Both got the box the mesh describes (x and z -1..1, y 0..2), whoever built it.
    for (const CollisionComp* comp : {&first, &second}) {
        EXPECT_TRUE(comp->hasOBB && comp->obb.extents.x == 1.0f && comp->obb.extents.y == 1.0f);
        EXPECT_TRUE(comp->obb.center.y == 1.0f && comp->boundSphere.radius == first.boundSphere.radius);
    }
}

}  // namespace
}  // namespace level_test
