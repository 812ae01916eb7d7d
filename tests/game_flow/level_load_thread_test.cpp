// Level loads beside the running game: the game's own frames, with the
// physics and collision threads, go on while the loader thread reads and
// fits out the level (ThreadSanitizer watches this program); loads never
// overlap, a stray "Level Loaded" is refused, and no loader thread is left
// behind however many loads run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "behavior_manager.h"
#include "collision_manager.h"
#include "game_flow/flow_support.h"
#include "game_states/title_state.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/clock.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/stopped_clock.h"
#include "support/temp_folder.h"

#if defined(__SANITIZE_THREAD__)
// The OpenGL driver (Mesa's software rasteriser) is not built for
// ThreadSanitizer: the locking among its own threads shows as races. Only the
// game's code is judged here.
extern "C" const char* __tsan_default_suppressions() { return "race:swrast_dri.so\n"; }
#endif

namespace {

using namespace flow_test;

constexpr double kStep = 1.0 / 60.0;

size_t ThreadsOfThisProcess() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        (void)entry;
        ++count;
    }
    return count;
}

class LoadsBesideTheGame : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        Module<ResourceManager>::Instance()->Init();
        Module<ObjectManager>::Instance()->Init();
        Module<LuaManager>::Instance()->Init();
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        Module<EventManager>::Instance()->Init();
        Module<BehaviorManager>::Instance()->Init();
        Module<CollisionManager>::Instance()->Init();
        Module<Physics>::Instance()->Init();
        ObjectManager& objects = *Module<ObjectManager>::Instance();
        objects.splashScreen = SplashScreen();
        objects.credits = SplashScreen();
        Game().Init();
        System& system = Sys();
        system.running.store(true);
        system.Pause(false);
        system.frameTime.store(kStep);
        clock = 1000.0;
        platform::SetClockTime(clock);
        StartWorkerThreads();
        FramesUntil([] { return Game().loadingDone.load(); });
    }
    void TearDown() override {
        JoinWorkerThreads();
        Game().Kill();
        Module<Physics>::Instance()->Kill();
        Module<CollisionManager>::Instance()->Kill();
        Module<BehaviorManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Kill();
    }

    // The game's own frames, the clock moved on by one step each, until
    // `done` holds (at most a minute).
    template <class Condition>
    void FramesUntil(Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            clock += kStep;
            platform::SetClockTime(clock);
            RunFrame(false);
        }
        ASSERT_TRUE(done());
    }
    void Frames(int count) {
        int left = count;
        FramesUntil([&left] { return left-- <= 0; });
    }
    // One frame to take the requests in, then frames to the hand-over.
    void FramesUntilLoaded() {
        Frames(1);
        FramesUntil([] { return Game().loadingDone && !Game().IsLoadInFlight(); });
    }
    // The title, then a state of the test's over it with the clock running,
    // as in play.
    void LeaveTheSplash(const GameState& over) {
        Sys().SetSplashPlaying(false);
        FramesUntil([] { return dynamic_cast<TitleState*>(Game().TopState()) != nullptr; });
        Game().PushState(over);
        Sys().Pause(false);
    }
    static void AskForALoad() {
        Module<EventManager>::Instance()->PublishEvent(ToGame(GameLogic::kLoadLevelThread));
    }

    test_support::TempProfile profile;
    test_support::LogCapture log;
    double clock = 0.0;
    test_support::StoppedClock stoppedClock;  // the frames set the time
    Journal journal;
    std::vector<Event> kept;
};

TEST_F(LoadsBesideTheGame, FramesRunWhileLevelsLoadUnderTheCutScene) {
    LeaveTheSplash(RecordingState("R", journal));
    for (int load = 1; load <= 3; ++load) {
        SCOPED_TRACE(load);
        journal.clear();
        log.Restart();
        Game().StartLevelLoad();
        FramesUntil([this] { return std::find(journal.begin(), journal.end(), "R Init") != journal.end(); });
        Frames(3);
        EXPECT_EQ(log.Count("Starting LoadLevel()"), 1);
        EXPECT_EQ(log.Count("Cutscene State"), 1);
        EXPECT_TRUE(Game().levelValid);
    }
}

TEST_F(LoadsBesideTheGame, TwoRequestsInOneFrameGiveOneLoadAndAStrayHandOverIsRefused) {
    LeaveTheSplash(KeepingState(kept));
    log.Restart();
    AskForALoad();
    AskForALoad();
    FramesUntilLoaded();
    Frames(3);
    EXPECT_EQ(log.Count("Starting LoadLevel()"), 1);
    EXPECT_EQ(log.Count("while a level load is in flight is refused"), 1) << log.Text();
    EXPECT_EQ(OfType(kept, GameLogic::kLevelLoaded).size(), 1u);

    Module<EventManager>::Instance()->PublishEvent(ToGame(GameLogic::kLevelLoaded));
    Frames(2);
    EXPECT_EQ(log.Count("with no level load in flight is ignored"), 1) << log.Text();
    EXPECT_TRUE(Game().loadingDone);
}

TEST_F(LoadsBesideTheGame, TwentyLoadsInARowLeaveNoThreadBehind) {
    LeaveTheSplash(KeepingState(kept));
    const size_t threads = ThreadsOfThisProcess();
    log.Restart();
    for (int load = 0; load < 20; ++load) {
        AskForALoad();
        FramesUntilLoaded();
    }
    EXPECT_EQ(log.Count("Starting LoadLevel()"), 20);
    EXPECT_EQ(OfType(kept, GameLogic::kLevelLoaded).size(), 20u);
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
}

}  // namespace
