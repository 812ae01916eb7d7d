// The lockstep of the main thread with the two worker threads, and the real
// frame loop ending and joining its workers. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "main/frame_loop.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

// Runs `frames` frames in which the game keeps running, then one in which it
// quits; paused(frame) says whether the pass after `frame` is paused.
int RunFrames(WorkerLockstep& lockstep, int frames, bool (*pausedAfter)(int)) {
    int ran = 0;
    while (lockstep.Continues()) {
        ++ran;
        const bool quit = ran == frames;
        lockstep.MeetWorkers(!quit, pausedAfter(ran - 1));
    }
    return ran;
}

TEST(Lockstep, NFramesGiveNUpdatesOfEachWorkerAndPausedPassesNone) {
    struct Case { int frames; bool startPaused; bool (*pausedAfter)(int); int updates; };
    const Case cases[] = {
        {25, false, [](int) { return false; }, 25},
        {40, true, [](int) { return true; }, 0},
        // Passes 1..10 run, 11..20 paused, 21..29 run.
        {30, true, [](int frame) { return frame >= 10 && frame < 20; }, 19},
    };
    for (const Case& c : cases) {
        WorkerLockstep lockstep;
        std::atomic<int> physics{0}, collision{0};
        lockstep.Start([&] { lockstep.RunWorker([&] { ++physics; }); },
                       [&] { lockstep.RunWorker([&] { ++collision; }); }, true, c.startPaused);
        EXPECT_EQ(c.frames, RunFrames(lockstep, c.frames, c.pausedAfter));
        lockstep.Join();
        EXPECT_TRUE(c.updates == physics.load() && c.updates == collision.load());
        EXPECT_FALSE(lockstep.IsStarted());
    }
}

// A profile folder of its own, so that errors write their files there.
class GameFrameLoop : public ::testing::Test {
protected:
    void SetUp() override { system->running.store(true); }
    void TearDown() override { system->running.store(true); }
    test_support::TempProfile profile;
    System* system = Module<System>::Instance();
};

TEST_F(GameFrameLoop, AThrowingUpdateIsLoggedAndTheLoopGoesOn) {
    WorkerLockstep lockstep;
    std::atomic<int> attempts{0}, quiet{0};
    lockstep.Start([&] { lockstep.RunWorker([&] { ++attempts; throw std::runtime_error("step exploded"); }); },
                   [&] { lockstep.RunWorker([&] { ++quiet; }); }, true, false);
    EXPECT_EQ(6, RunFrames(lockstep, 6, [](int) { return false; }));
    lockstep.Join();
    EXPECT_TRUE(attempts.load() == 6 && quiet.load() == 6);
    EXPECT_NE(std::string::npos, system->GetLogText().find("Update failed: step exploded"));
}

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

}  // namespace
