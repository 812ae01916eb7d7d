// The falling scene of the determinism test through the real frame loop and
// its physics and collision threads. Timing decides the details, so only
// invariants are checked: nothing becomes not-a-number, no object is lost,
// nothing is logged as an error, and the bodies do fall. Run under
// ThreadSanitizer too; no OpenGL context is opened.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "main/frame_loop.h"
#include "support/falling_scene.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

bool Finite(const Vector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class FallingSceneThreads : public test_support::FallingScene {};

TEST_F(FallingSceneThreads, ThreadsKeepTheSceneWhole) {
    test_support::TempProfile profile;
    System& system = *Module<System>::Instance();
    size_t objectCount = 0;
    float startHeight = 0;
    {
        ObjectLock lock;
        objectCount = test_support::SceneObjects().gameObjectList.size();
        startHeight = test_support::SceneObjects().GetGameObject(test_support::FallingName(0))->trans.y;
    }
    system.Pause(false);
    system.running.store(true);
    system.frameTime.store(1.0 / 60.0);
    StartWorkerThreads();
    for (int frame = 0; frame < 300; ++frame) RunFrame(false);
    system.Quit();
    MainLoop();  // ends the frame after the quit
    JoinWorkerThreads();
    system.running.store(false);

    ObjectLock lock;
    const GameObjectList& objects = test_support::SceneObjects().gameObjectList;
    EXPECT_EQ(objectCount, objects.size());
    for (const auto& entry : objects) {
        EXPECT_FALSE(entry.second.isDead) << entry.second.name;
        EXPECT_TRUE(Finite(entry.second.trans) && std::isfinite(entry.second.rot.Mag())) << entry.second.name;
    }
    EXPECT_EQ(static_cast<size_t>(test_support::kFallingBodies), physics.bodies.size());
    const float endHeight = test_support::SceneObjects().GetGameObject(test_support::FallingName(0))->trans.y;
    EXPECT_LT(endHeight, startHeight - 5) << "the bodies fall";
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

}  // namespace
