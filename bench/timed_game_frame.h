// One frame of the game's own loop, step by step, each step timed: the
// module updates in RunFrame's order (main/frame_loop.cpp; behaviour,
// animation and spawning while not paused), Graphics' whole frame with the
// buffer swap, then the barrier with the physics and collision threads. The
// steps are called here rather than through RunFrame so that each can be
// timed and so that a scripted player can stand in for the input poll's
// result, right after it. The two worker threads run as in the game, one
// step a frame in parallel with the main thread, their bodies timing their
// own updates. Keep the steps in step with RunFrame.
//
// The frame's clock is the game's, stopped and moved on by kFrameStep per
// frame, so each frame is a 60th of a second of play: the work of a frame
// at the 60 frames a second aimed at.
//
// Main thread, with the game started (StartGame) and the platform clock
// stopped; RestartTimedWorkers once before the first frame.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <iostream>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "frame_bench_support.h"
#include "frame_pass_clock.h"
#include "game_logic.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "object_manager.h"
#include "physics.h"
#include "platform/clock.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "spawn_manager.h"
#include "system.h"

namespace bench_support {

using Clock = std::chrono::steady_clock;

constexpr double kFrameStep = 1.0 / 60.0;

inline double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

inline long long ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

inline System& Sys() { return *Module<System>::Instance(); }

// ---- The game's log kept off the benchmark's output

// The game writes its log lines to standard output; while the scene runs
// they go nowhere (the System keeps its log text).
class QuietLog {
public:
    QuietLog() : kept(std::cout.rdbuf(&nowhere)) {}
    ~QuietLog() { std::cout.rdbuf(kept); }
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;

private:
    struct Nowhere : std::streambuf {
        int overflow(int c) override { return c; }
    } nowhere;
    std::streambuf* kept;
};

// ---- The worker threads, timing their own updates

struct WorkerBook {
    std::atomic<long long> busyNs{0};
    std::atomic<long long> cpuNs{0};
};
inline WorkerBook physicsBook, collisionBook;

// The worker's body of the frame loop (PhysicsThreadLoop,
// CollisionThreadLoop), its update timed.
template <class Manager>
inline void TimedWorkerLoop(WorkerBook& book) {
    Manager* manager = Module<Manager>::Instance();
    GameLockstep().RunWorker([manager, &book](const FrameClock& clock) {
        const auto start = Clock::now();
        const long long cpuStart = ThreadCpuNs();
        manager->SetFrameClock(clock);
        manager->Update();
        book.cpuNs += ThreadCpuNs() - cpuStart;
        book.busyNs += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
    });
}

inline FrameClock CurrentFrameClock() { return FrameClock{Sys().frameStartTime.load(), Sys().frameTime.load()}; }

// The start-up's workers replaced by the same two with timed bodies, set up
// as StartWorkerThreads sets them up.
inline void RestartTimedWorkers() {
    JoinWorkerThreads();
    CollisionManager* collision = Module<CollisionManager>::Instance();
    collision->PublishAtPassEnd(true);
    WorkerLockstep& lockstep = GameLockstep();
    lockstep.SetPassEndHook([collision] { collision->EndPass(); });
    lockstep.Start([] { TimedWorkerLoop<Physics>(physicsBook); },
                   [] { TimedWorkerLoop<CollisionManager>(collisionBook); }, Sys().running.load(), Sys().IsPaused(),
                   CurrentFrameClock());
}

// ---- One frame, step by step

enum Step {
    kSystem,
    kEvents,
    kInput,
    kScript,
    kResources,
    kObjectStep,
    kLua,
    kSound,
    kInterface,
    kGameLogic,
    kBehaviour,
    kAnimation,
    kSpawn,
    kGraphics,
    kBarrier,
    kStepCount
};

inline const char* StepName(int step) {
    static const char* const names[kStepCount] = {"System",
                                                  "EventManager",
                                                  "InputManager",
                                                  "scripted player (the benchmark's)",
                                                  "ResourceManager",
                                                  "ObjectManager",
                                                  "LuaManager",
                                                  "SoundManager",
                                                  "InterfaceManager (HUD update)",
                                                  "GameLogic (in-game: hits, particles, player)",
                                                  "BehaviorManager (behaviour)",
                                                  "AnimationManager (animation)",
                                                  "SpawnManager (spawn)",
                                                  "Graphics (whole frame)",
                                                  "barrier (waiting for the workers)"};
    return names[step];
}

template <class T>
inline void UpdateOf() {
    Module<T>::Instance()->Update();
}

// What the benchmark's scripted player does right after the input poll, in
// place of keys and a pointer; set per phase.
inline std::function<void()> script = [] {};
inline void RunScript() { script(); }

struct TimedStep {
    Step step;
    void (*run)();
};
// RunFrame's order (main/frame_loop.cpp), the script after the input poll.
inline constexpr TimedStep kEveryFrame[] = {{kSystem, UpdateOf<System>},
                                            {kEvents, UpdateOf<EventManager>},
                                            {kInput, UpdateOf<InputManager>},
                                            {kScript, RunScript},
                                            {kResources, UpdateOf<ResourceManager>},
                                            {kObjectStep, UpdateOf<ObjectManager>},
                                            {kLua, UpdateOf<LuaManager>},
                                            {kSound, UpdateOf<SoundManager>},
                                            {kInterface, UpdateOf<InterfaceManager>},
                                            {kGameLogic, UpdateOf<GameLogic>}};
inline constexpr TimedStep kWhileUnpaused[] = {{kBehaviour, UpdateOf<BehaviorManager>},
                                               {kAnimation, UpdateOf<AnimationManager>},
                                               {kSpawn, UpdateOf<SpawnManager>}};

struct FrameBook {
    std::array<double, kStepCount> stepMs{};
    double wallMs = 0.0;
    double cpuMs = 0.0;
    long long physicsBusyNs = 0, physicsCpuNs = 0, collisionBusyNs = 0, collisionCpuNs = 0;
    PassClock::Spent passes;
    int frames = 0;
    int markedFrames = 0;  // frames whose passes were told apart
};

// One frame of play, kFrameStep on; `passes` (may be null) closes each
// render pass with glFinish; `draw` false leaves Graphics out (frames that
// only move the play on, before any measurement).
inline void PlayFrame(FrameBook& book, PassClock* passes, bool draw = true) {
    platform::SetClockTime(platform::GetClockTime() + kFrameStep);
    System& system = Sys();
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    auto timed = [&book](const TimedStep& step) {
        const auto stepStart = Clock::now();
        step.run();
        book.stepMs[step.step] += Ms(stepStart);
    };
    system.StampFrameStart();
    for (const TimedStep& step : kEveryFrame) timed(step);
    if (!system.IsPaused())
        for (const TimedStep& step : kWhileUnpaused) timed(step);
    if (draw) {
        if (passes) passes->Begin(*Module<Graphics>::Instance());
        timed({kGraphics, UpdateOf<Graphics>});
        if (passes && passes->End()) ++book.markedFrames;
    }
    timed({kBarrier, [] { GameLockstep().MeetWorkers(Sys().running.load(), Sys().IsPaused(), CurrentFrameClock()); }});
    book.wallMs += Ms(start);
    book.cpuMs += (ProcessCpuSeconds() - cpuStart) * 1000.0;
    ++book.frames;
}

}  // namespace bench_support
