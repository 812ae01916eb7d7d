// The falling scene of the determinism test through the real frame loop and
// its physics and collision threads. Timing decides the details, so only
// invariants are checked: nothing becomes not-a-number, no object is lost,
// nothing is logged as an error, and the bodies do fall. Run under
// ThreadSanitizer too; no OpenGL context is opened.
//
// Where a body is at a given frame depends on how the two threads met in
// every pass before it: a crate that landed long ago can be thrown up again
// by the stack above it. So the fall is watched for, frame by frame, as the
// lowest height each body reached, not read at one fixed frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "main/frame_loop.h"
#include "support/falling_scene.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

bool Finite(const Vector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// The threads meet this many times at least, for the invariants.
constexpr int kExercisedFrames = 300;
// Each body is due to fall this far; about 60 passes take the first below it.
constexpr float kFall = 5.0f;
// Generous: a bound on a fault that stops the fall, not a time the fall takes.
constexpr int kFrameBound = 6000;

class FallingSceneThreads : public test_support::FallingScene {};

TEST_F(FallingSceneThreads, ThreadsKeepTheSceneWhole) {
    test_support::TempProfile profile;
    System& system = *Module<System>::Instance();
    size_t objectCount = 0;
    {
        ObjectLock lock;
        objectCount = test_support::SceneObjects().gameObjectList.size();
    }
    const std::vector<float> start = test_support::FallingHeights();
    std::vector<float> lowest = start;
    const auto allFell = [&] {
        for (size_t i = 0; i < start.size(); ++i)
            if (!(lowest[i] < start[i] - kFall)) return false;
        return true;
    };
    system.Pause(false);
    system.running.store(true);
    system.frameTime.store(1.0 / 60.0);
    StartWorkerThreads();
    int frames = 0;
    for (; frames < kFrameBound && (frames < kExercisedFrames || !allFell()); ++frames) {
        RunFrame(false);
        const std::vector<float> now = test_support::FallingHeights();
        for (size_t i = 0; i < now.size(); ++i) lowest[i] = std::min(lowest[i], now[i]);
    }
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
    for (size_t i = 0; i < start.size(); ++i)
        EXPECT_LT(lowest[i], start[i] - kFall) << "body " << i << " falls (" << frames << " frames)";
    EXPECT_EQ(0, log.Count("ERROR")) << log.Text();
}

}  // namespace
