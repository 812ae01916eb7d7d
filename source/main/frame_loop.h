// The frame loop and its two worker threads. The main thread runs every
// module's Update but two; the physics thread runs Physics and the collision
// thread the CollisionManager; the three meet once per frame at one barrier of
// three parties (FrameBarrier), so each worker makes exactly one step per
// rendered frame, and none while the game is paused.
//
// The workers never read the live `running` and `paused` flags: at the end of
// each frame the main thread publishes both, as the state of the next pass,
// before it waits at the barrier, and every party reads the same published
// state after it. All three therefore leave after the same barrier, and a
// quit can never leave one of them waiting for a party that has gone. The
// pass's clock (frame start and time step) is published the same way.
//
// A pass-end hook, when set, runs once at every barrier while all three
// parties wait there: the collision manager hands over its results then, so
// every reader in a pass sees what the previous pass completed.
//
// Main thread: Start, MeetWorkers, Continues, Join. Worker threads: RunWorker.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <thread>

#include <boost/thread/barrier.hpp>

#include "main/frame_clock.h"

class WorkerLockstep {
public:
    using Body = std::function<void()>;
    using ClockedUpdate = std::function<void(const FrameClock&)>;

    WorkerLockstep() = default;
    WorkerLockstep(const WorkerLockstep&) = delete;
    WorkerLockstep& operator=(const WorkerLockstep&) = delete;
    ~WorkerLockstep() { Join(); }

    // Starts one thread per body; each body calls RunWorker. `running`,
    // `paused` and `clock` are the state of the workers' first pass.
    void Start(Body firstBody, Body secondBody, bool running, bool paused,
               const FrameClock& clock = FrameClock());
    // A worker's whole loop: per pass, `update` unless paused, then the
    // barrier; returns when a pass is published as not running. An exception
    // from `update` is logged and the loop goes on. The second form hands
    // `update` the pass's published clock.
    void RunWorker(const std::function<void()>& update);
    void RunWorker(const ClockedUpdate& update);
    // The main thread's end of a frame: publishes the next pass's state and
    // clock and waits at the barrier for both workers.
    void MeetWorkers(bool running, bool paused, const FrameClock& clock = FrameClock());
    // Runs `hook` at the end of every pass, inside the barrier, while all
    // three parties wait. Main thread, before Start. It must not throw or
    // wait for another thread.
    void SetPassEndHook(Body hook);
    // Whether the main thread's current pass runs (its last published state).
    bool Continues() const;
    // Stops the workers if still running, then joins them. Safe to repeat.
    void Join();
    bool IsStarted() const { return firstThread.joinable(); }

private:
    struct PassState {
        std::atomic<bool> runs{false};
        std::atomic<bool> paused{true};
        std::atomic<double> frameStart{0.0};
        std::atomic<double> timeStep{0.0};
    };

    void Publish(unsigned pass, bool running, bool paused, const FrameClock& clock);
    void RunPassEndHook();

    Body passEndHook;
    // FrameBarrier: main, physics, collision; its completion runs the hook.
    boost::barrier frameBarrier{3, [this] { RunPassEndHook(); }};
    // Pass n reads slot n % 2. The main thread writes the slot of pass n + 1
    // before barrier n; it cannot write that slot again before barrier n + 1,
    // which no worker reaches before it has read it.
    std::array<PassState, 2> passStates;
    unsigned mainPass = 0;  // main thread only
    std::thread firstThread;
    std::thread secondThread;
};

// The game's one lockstep (its FrameBarrier and its two thread objects).
WorkerLockstep& GameLockstep();

// The bodies of the physics and collision threads.
void PhysicsThreadLoop();
void CollisionThreadLoop();
// Starts both with the System's running and paused flags.
void StartWorkerThreads();
// Ends the workers (publishing a stop when the loop did not) and joins them.
void JoinWorkerThreads();

// One frame on the main thread: stamp, the module updates in their order
// (behaviour, animation and spawning only while not paused), drawing, the
// barrier, and the frame limiter unless `limitFrame` is false.
void RunFrame(bool limitFrame);
// Frames until the System's running flag has been cleared.
void MainLoop();
