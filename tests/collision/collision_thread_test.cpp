// The collision manager on a worker thread of the lockstep while the main
// thread re-aims both rays every frame: each slot's hits answer its own rays,
// sight hits carry the number of the ray they answer, and a reader on the
// other worker sees each pass's contacts exactly once. Run under
// ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "main/frame_loop.h"
#include "support/collision_scene.h"

namespace {

using test_support::AddToScene;
using test_support::SceneObject;

constexpr int kTargets = 6;
constexpr int kFrames = 120;

Ray DownAt(int target) { return Ray(Vector(0, -1, 0), Vector(10.0f * target, 5, 0)); }

class CollisionThread : public test_support::CollisionScene {};

TEST_F(CollisionThread, EachRaySlotAnswersItsOwnRaysAndEachPassIsReadOnce) {
    std::vector<unsigned> targets;
    for (int i = 0; i < kTargets; ++i)
        targets.push_back(AddToScene(SceneObject("t" + std::to_string(i)).At(10.0f * i, 0, 0)));
    AddToScene(SceneObject("touching").At(0.5f, 0, 0).NotPickable());  // one contact per pass
    Set(CollisionManager::kPickOn, true);

    std::vector<unsigned> passesRead;  // written by the reader thread only
    WorkerLockstep lockstep;
    collision.PublishAtPassEnd(true);
    lockstep.SetPassEndHook([this] { collision.EndPass(); });
    lockstep.Start(
        [&] {
            lockstep.RunWorker([&] {
                std::vector<CollisionEvent> events;
                passesRead.push_back(collision.GetCollisionEvents(events));
            });
        },
        [&] {
            lockstep.RunWorker([this](const FrameClock& clock) {
                collision.SetFrameClock(clock);
                collision.Update();
            });
        },
        true, false, FrameClock{1.0, 1.0 / 60});

    int sightAnswers = 0;
    std::vector<unsigned> aimedSight(kFrames + 2, 0);  // sequence -> target it aimed at
    for (int frame = 0; frame < kFrames; ++frame) {
        // Mouse rays aim at even targets, sight rays at odd ones.
        collision.SetCurrentPickRay(DownAt(2 * (frame % 3)));
        const unsigned sequence = collision.SetSightRay(DownAt(2 * (frame % 3) + 1));
        if (sequence < aimedSight.size()) aimedSight[sequence] = targets[2 * (frame % 3) + 1];

        for (const RayIntersectRecord& hit : collision.GetRayIntersectRecords()) {
            const bool even = hit.objNum == targets[0] || hit.objNum == targets[2] || hit.objNum == targets[4];
            EXPECT_TRUE(even) << "frame " << frame << ": mouse hit " << hit.objNum;
        }
        unsigned answered = 0;
        const std::vector<RayIntersectRecord> seen = collision.GetSightRecords(&answered);
        if (answered != 0 && answered < aimedSight.size()) {
            ++sightAnswers;
            ASSERT_EQ(1u, seen.size()) << "frame " << frame;
            EXPECT_EQ(aimedSight[answered], seen[0].objNum) << "frame " << frame;
        }
        lockstep.MeetWorkers(frame + 1 < kFrames, false, FrameClock{1.0 + frame / 60.0, 1.0 / 60});
    }
    lockstep.Join();
    collision.PublishAtPassEnd(false);

    EXPECT_GT(sightAnswers, kFrames / 2);
    ASSERT_EQ(static_cast<size_t>(kFrames), passesRead.size());
    for (size_t pass = 1; pass < passesRead.size(); ++pass)
        EXPECT_EQ(passesRead[pass - 1] + 1, passesRead[pass]) << "pass " << pass;
}

}  // namespace
