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
    float sum = 0.0f;
    while (!done.load()) {
        ObjectLock lock;
        for (const auto& entry : Objects().gameObjectList) {
            sum += entry.second.trans.x;
            if (const CollisionComp* comp = entry.second.GetCollisionComp()) sum += comp->boundSphere.radius;
        }
        sum += Objects().groundObject.scale.x;
    }
    loader.join();
    EXPECT_TRUE(loaded);
    EXPECT_GE(sum, 0.0f);
    EXPECT_EQ(Count(), 60u);
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
    a.join();
    b.join();
    EXPECT_TRUE(first.hasOBB && second.hasOBB);
    EXPECT_FLOAT_EQ(first.boundSphere.radius, second.boundSphere.radius);
    EXPECT_EQ(Module<GameLogic>::Instance()->collisionCache.count("mesh_level_ground"), 1u);
}

}  // namespace
}  // namespace level_test
