// The lockstep of the main thread with the two worker threads, and the real
// frame loop ending and joining its workers. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "frame_loop.h"
#include "frame_limiter.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

// Two workers that count their updates.
class CountingWorkers {
public:
    void Start(WorkerLockstep& lockstep, bool running, bool paused) {
        lockstep.Start([&] { lockstep.RunWorker([this] { ++physics; }); },
                       [&] { lockstep.RunWorker([this] { ++collision; }); }, running, paused);
    }
    std::atomic<int> physics{0};
    std::atomic<int> collision{0};
};

// Runs `frames` frames in which the game keeps running, then one in which it
// quits; paused(frame) says whether the pass after `frame` is paused.
template <class PausedAfter>
int RunFrames(WorkerLockstep& lockstep, int frames, PausedAfter pausedAfter) {
    int ran = 0;
    while (lockstep.Continues()) {
        ++ran;
        const bool quit = ran == frames;
        lockstep.MeetWorkers(!quit, pausedAfter(ran - 1));
    }
    return ran;
}

TEST(Lockstep, NFramesGiveNUpdatesOfEachWorker) {
    WorkerLockstep lockstep;
    CountingWorkers workers;
    workers.Start(lockstep, true, false);
    EXPECT_EQ(25, RunFrames(lockstep, 25, [](int) { return false; }));
    lockstep.Join();
    EXPECT_EQ(25, workers.physics.load());
    EXPECT_EQ(25, workers.collision.load());
    EXPECT_FALSE(lockstep.IsStarted());
}

TEST(Lockstep, PausedFramesGiveNoUpdatesAndNeverStall) {
    WorkerLockstep lockstep;
    CountingWorkers workers;
    workers.Start(lockstep, true, true);
    EXPECT_EQ(40, RunFrames(lockstep, 40, [](int) { return true; }));
    lockstep.Join();
    EXPECT_EQ(0, workers.physics.load());
    EXPECT_EQ(0, workers.collision.load());
}

TEST(Lockstep, OnlyUnpausedPassesUpdate) {
    WorkerLockstep lockstep;
    CountingWorkers workers;
    workers.Start(lockstep, true, true);  // pass 0 paused
    // Passes 1..10 run, 11..20 paused, 21..29 run: 19 updates in 30 passes.
    auto pausedAfter = [](int frame) { return frame >= 10 && frame < 20; };
    EXPECT_EQ(30, RunFrames(lockstep, 30, pausedAfter));
    lockstep.Join();
    EXPECT_EQ(19, workers.physics.load());
    EXPECT_EQ(19, workers.collision.load());
}

TEST(Lockstep, WorkersNeverRunMoreThanOnePassAhead) {
    WorkerLockstep lockstep;
    CountingWorkers workers;
    workers.Start(lockstep, true, false);
    for (int frame = 0; frame < 200; ++frame) {
        // Updates of passes 0..frame are done; pass frame + 1 may be under way.
        lockstep.MeetWorkers(true, false);
        ASSERT_GE(workers.physics.load(), frame + 1);
        ASSERT_LE(workers.physics.load(), frame + 2);
        ASSERT_GE(workers.collision.load(), frame + 1);
        ASSERT_LE(workers.collision.load(), frame + 2);
    }
    lockstep.Join();
    EXPECT_EQ(201, workers.physics.load());
}

TEST(Lockstep, JoinStopsRunningWorkersAndTheLockstepCanStartAgain) {
    WorkerLockstep lockstep;
    CountingWorkers first;
    first.Start(lockstep, true, false);
    lockstep.MeetWorkers(true, false);
    lockstep.Join();  // the main thread never published a stop
    EXPECT_FALSE(lockstep.IsStarted());
    EXPECT_EQ(2, first.physics.load());
    lockstep.Join();

    CountingWorkers afterQuit;  // started with the game already quitting
    afterQuit.Start(lockstep, false, false);
    EXPECT_FALSE(lockstep.Continues());
    lockstep.Join();
    EXPECT_EQ(0, afterQuit.physics.load());

    CountingWorkers again;
    again.Start(lockstep, true, false);
    EXPECT_EQ(5, RunFrames(lockstep, 5, [](int) { return false; }));
    lockstep.Join();
    EXPECT_EQ(5, again.collision.load());
}

// A profile folder of its own, so that errors write their files there.
class WithTempProfile : public ::testing::Test {
protected:
    void SetUp() override {
        system = Module<System>::Instance();
        system->running.store(true);
    }
    void TearDown() override {
        system->running.store(true);
        system->Pause(false);
    }
    test_support::TempProfile profile;
    System* system = nullptr;
};

using LockstepErrors = WithTempProfile;

TEST_F(LockstepErrors, AThrowingUpdateIsLoggedAndTheLoopGoesOn) {
    WorkerLockstep lockstep;
    std::atomic<int> attempts{0};
    std::atomic<int> quiet{0};
    lockstep.Start([&] { lockstep.RunWorker([&] {
                       ++attempts;
                       throw std::runtime_error("step exploded");
                   }); },
                   [&] { lockstep.RunWorker([&] { ++quiet; }); }, true, false);
    EXPECT_EQ(6, RunFrames(lockstep, 6, [](int) { return false; }));
    lockstep.Join();
    EXPECT_EQ(6, attempts.load());
    EXPECT_EQ(6, quiet.load());
    EXPECT_NE(std::string::npos, system->GetLogText().find("Update failed: step exploded"));
}

using GameFrameLoop = WithTempProfile;

TEST_F(GameFrameLoop, AQuitEndsTheLoopAtTheEndOfItsFrameAndJoinsTheWorkers) {
    system->Pause(false);
    StartWorkerThreads();
    for (int frame = 0; frame < 5; ++frame) RunFrame(false);
    ASSERT_TRUE(GameLockstep().Continues());
    system->Quit();  // as the event pump does on a window-close request
    MainLoop();      // runs the rest of this frame and returns
    EXPECT_FALSE(GameLockstep().Continues());
    JoinWorkerThreads();
    EXPECT_FALSE(GameLockstep().IsStarted());
}

TEST_F(GameFrameLoop, PausedFramesStampThePauseTimeAndStepOneSixtieth) {
    system->Pause(true);
    StartWorkerThreads();
    for (int frame = 0; frame < 3; ++frame) {
        RunFrame(true);
        EXPECT_EQ(system->pausedTime.load(), system->frameStartTime.load());
        EXPECT_EQ(kTargetFrameLength, system->frameTime.load());
    }
    system->Quit();
    MainLoop();
    JoinWorkerThreads();
}

}  // namespace
