// The animation pass over the object table with the generated medium machine:
// stamped machines keep their own track times and poses, the pass leaves
// alone what it must skip, does nothing outside Init..Kill, and the frame loop
// freezes every pose while paused. Runs the frame loop's worker threads.
#include <gtest/gtest.h>

#include "animation_manager.h"
#include "frame_loop.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "support/animated_mechs.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
AnimationManager& Animation() { return *Module<AnimationManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }
const double kStep = 1.0 / 60.0;

class MechAnimation : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        Objects().Init();
        ASSERT_TRUE(test_support::LoadMechContent());
    }
    static void TearDownTestSuite() { delete profile; }
    void SetUp() override {
        Sys().frameTime.store(kStep);
        Add(test_support::StampMech("mech"));
    }
    void TearDown() override {
        Animation().Kill();
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    static void Add(const GameObject& object) { ASSERT_TRUE(Objects().AddGameObject(object)); }
    // A copy of the object's skeleton, read under the lock.
    static Skeleton SkeletonOf(const std::string& name) {
        ObjectLock lock;
        return Objects().GetGameObject(name)->GetGraphicsComp()->skeleton;
    }
    static double TrackTime(const std::string& name) {
        const Skeleton skeleton = SkeletonOf(name);
        return skeleton.boneAnimations.at(0).animTrackList.at(0).time;
    }

    static inline test_support::TempProfile* profile = nullptr;
};

TEST_F(MechAnimation, StampedMachinesPlayIndependentlyAndThePassSkipsWhatItMust) {
    GameObject ahead = test_support::StampMech("ahead");
    ahead.GetGraphicsComp()->skeleton.UpdateAnimation(0.37);
    Add(ahead);
    Add(test_support::StampMech("dead"));
    GameObject still = test_support::StampMech("still");
    still.GetGraphicsComp()->skeleton.curAnimation = -1;
    Add(still);
    GameObject boneless("boneless");
    boneless.AttachComponent(GraphicsComp());
    boneless.GetGraphicsComp()->skeleton.curAnimation = 0;
    Add(boneless);
    Add(GameObject("plain"));
    {
        ObjectLock lock;
        Objects().GetGameObject("dead")->isDead = true;
    }
    test_support::LogCapture log;
    Animation().Update();  // before Init: nothing moves
    EXPECT_EQ(TrackTime("mech"), 0.0);
    Animation().Init();
    for (int frame = 0; frame < 30; ++frame) Animation().Update();
    Animation().Kill();
    Animation().Update();

    EXPECT_NEAR(TrackTime("mech"), 30 * kStep, 1e-9);
    EXPECT_NEAR(TrackTime("ahead"), 0.37 + 30 * kStep, 1e-9);
    const Skeleton mech = SkeletonOf("mech"), other = SkeletonOf("ahead");
    ASSERT_EQ(mech.boneTransforms.size(), mech.boneList.size());
    EXPECT_GT((mech.GetBoneTransform("gun_left").trans - other.GetBoneTransform("gun_left").trans).Mag(), 0.01f);
    // Each bone's skinning matrix carries its rest joint to its posed place,
    // near the rest place: the idle animation only sways.
    for (size_t b = 0; b < mech.boneList.size(); ++b) {
        const Vector joint = mech.boneList[b].offsetMatrix * Vector(0, 0, 0, 1) * -1.0f;
        const Vector posed = mech.boneMatrices[b] * Vector(joint.x, joint.y, joint.z, 1);
        EXPECT_LT((posed - Vector(mech.boneTransforms[b].trans.x, mech.boneTransforms[b].trans.y,
                                  mech.boneTransforms[b].trans.z, 1)).Mag(), 1e-4f) << b;
        EXPECT_LT((posed - Vector(joint.x, joint.y, joint.z, 1)).Mag(), 2.0f) << b;
    }
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
