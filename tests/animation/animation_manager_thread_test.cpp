// The animation pass with the generated medium machine: stamped machines keep
// their own times and poses, the pass skips what it must and runs only
// between Init and Kill, and the paused frame loop (with its worker threads)
// freezes every pose.
#include <gtest/gtest.h>

#include "animation_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "support/animated_mechs.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
AnimationManager& Animation() { return *Module<AnimationManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }
const double kStep = 1.0 / 60.0;

// A copy of the object's skeleton, read under the lock.
Skeleton SkeletonOf(const std::string& name) {
    ObjectLock lock;
    return Objects().GetGameObject(name)->GetGraphicsComp()->skeleton;
}
double TrackTime(const std::string& name) { return SkeletonOf(name).boneAnimations.at(0).animTrackList.at(0).time; }

class MechAnimation : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Objects().Init();
        ASSERT_TRUE(test_support::LoadMechContent());
    }
    void SetUp() override {
        Sys().frameTime.store(kStep);
        ASSERT_TRUE(Objects().AddGameObject(test_support::StampMech("mech")));
    }
    void TearDown() override {
        Animation().Kill();
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    test_support::TempProfile profile;
};

TEST_F(MechAnimation, StampedMachinesPlayIndependentlyAndThePassSkipsWhatItMust) {
    GameObject ahead = test_support::StampMech("ahead"), dead = test_support::StampMech("dead"),
               still = test_support::StampMech("still"), boneless("boneless");
    ahead.GetGraphicsComp()->skeleton.UpdateAnimation(0.37);
    still.GetGraphicsComp()->skeleton.curAnimation = -1;
    boneless.AttachComponent(GraphicsComp());
    boneless.GetGraphicsComp()->skeleton.curAnimation = 0;
    for (const GameObject& object : {ahead, dead, still, boneless, GameObject("plain")})
        ASSERT_TRUE(Objects().AddGameObject(object));
    {
        ObjectLock lock;  // the table holds live copies: the death comes after
        Objects().GetGameObject("dead")->isDead = true;
    }
    test_support::LogCapture log;
    Animation().Update();  // before Init, and after Kill below: no step
    Animation().Init();
    for (int frame = 0; frame < 30; ++frame) Animation().Update();
    Animation().Kill();
    Animation().Update();

    EXPECT_NEAR(TrackTime("mech"), 30 * kStep, 1e-9);
    EXPECT_NEAR(TrackTime("ahead"), 0.37 + 30 * kStep, 1e-9);
    const Skeleton mech = SkeletonOf("mech"), other = SkeletonOf("ahead");
    EXPECT_EQ(mech.boneTransforms.size(), mech.boneList.size());
    EXPECT_GT((mech.GetBoneTransform("gun_left").trans - other.GetBoneTransform("gun_left").trans).Mag(), 0.01f);
    for (const char* name : {"dead", "still"}) {
        EXPECT_EQ(TrackTime(name), 0.0) << name;
        EXPECT_TRUE(SkeletonOf(name).boneTransforms.empty()) << name;
    }
    EXPECT_TRUE(SkeletonOf("boneless").animFrames.empty());
    EXPECT_EQ(log.Count("ERROR") + log.Count("WARNING"), 0) << log.Text();
}

TEST_F(MechAnimation, ThePausedFrameLoopFreezesEveryPose) {
    Animation().Init();
    Sys().running.store(true);
    Sys().Pause(true);
    StartWorkerThreads();
    for (int frame = 0; frame < 3; ++frame) RunFrame(false);
    EXPECT_EQ(TrackTime("mech"), 0.0);
    Sys().Pause(false);
    for (int frame = 0; frame < 3; ++frame) RunFrame(false);
    JoinWorkerThreads();
    EXPECT_NEAR(TrackTime("mech"), 3 * kStep, 1e-9);
}

}  // namespace
