#include "main/frame_loop.h"

#include <cassert>
#include <exception>
#include <string>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "game_logic.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "physics.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "spawn_manager.h"
#include "system.h"

namespace {

System& TheSystem() { return *Module<System>::Instance(); }

// No exception may end a frame half-way or kill a worker thread: it is
// logged and the loop carries on with the next module.
template <class F>
void RunGuarded(const std::string& what, const F& update) {
    try {
        update();
    } catch (const std::exception& error) {
        TheSystem().Error(SOURCE_POS + what + " Update failed: " + error.what());
    } catch (...) {
        TheSystem().Error(SOURCE_POS + what + " Update failed");
    }
}

template <class T>
void UpdateModule() {
    T* module = Module<T>::Instance();
    RunGuarded(module->GetModuleName(), [module] { module->Update(); });
}

void UpdateModules() {
    System& system = TheSystem();
    system.StampFrameStart();
    UpdateModule<System>();
    UpdateModule<EventManager>();
    UpdateModule<InputManager>();
    UpdateModule<ResourceManager>();
    UpdateModule<ObjectManager>();
    UpdateModule<LuaManager>();
    UpdateModule<SoundManager>();
    UpdateModule<InterfaceManager>();
    UpdateModule<GameLogic>();
    // Tested once, after GameLogic: a pause it sets skips this frame already.
    if (!system.IsPaused()) {
        UpdateModule<BehaviorManager>();
        UpdateModule<AnimationManager>();
        UpdateModule<SpawnManager>();
    }
    UpdateModule<Graphics>();
}

}  // namespace

void WorkerLockstep::Publish(unsigned pass, bool running, bool paused, const FrameClock& clock) {
    PassState& state = passStates[pass % 2];
    state.frameStart.store(clock.frameStart);
    state.timeStep.store(clock.timeStep);
    state.paused.store(paused);
    state.runs.store(running);
}

void WorkerLockstep::SetPassEndHook(Body hook) {
    assert(!IsStarted() && "the hook is read by the barrier while workers run");
    passEndHook = std::move(hook);
}

void WorkerLockstep::RunPassEndHook() {
    if (passEndHook) RunGuarded("pass end", passEndHook);
}

void WorkerLockstep::Start(Body firstBody, Body secondBody, bool running, bool paused,
                           const FrameClock& clock) {
    assert(!IsStarted() && "workers already started");
    mainPass = 0;
    Publish(0, running, paused, clock);
    firstThread = std::thread(std::move(firstBody));
    secondThread = std::thread(std::move(secondBody));
}

void WorkerLockstep::RunWorker(const std::function<void()>& update) {
    RunWorker(ClockedUpdate([&update](const FrameClock&) { update(); }));
}

void WorkerLockstep::RunWorker(const ClockedUpdate& update) {
    for (unsigned pass = 0;; ++pass) {
        const PassState& state = passStates[pass % 2];
        if (!state.runs.load()) return;
        if (!state.paused.load()) {
            const FrameClock clock{state.frameStart.load(), state.timeStep.load()};
            RunGuarded("worker thread", [&update, &clock] { update(clock); });
        }
        frameBarrier.wait();
    }
}

void WorkerLockstep::MeetWorkers(bool running, bool paused, const FrameClock& clock) {
    assert(IsStarted() && "no workers to meet");
    Publish(mainPass + 1, running, paused, clock);
    frameBarrier.wait();
    ++mainPass;
}

bool WorkerLockstep::Continues() const { return passStates[mainPass % 2].runs.load(); }

void WorkerLockstep::Join() {
    if (!IsStarted()) return;
    // The workers are either gone or due at the barrier of the current pass.
    if (Continues()) MeetWorkers(false, true);
    firstThread.join();
    secondThread.join();
}

WorkerLockstep& GameLockstep() {
    static WorkerLockstep lockstep;
    return lockstep;
}

void PhysicsThreadLoop() {
    Physics* physics = Module<Physics>::Instance();
    GameLockstep().RunWorker([physics](const FrameClock& clock) {
        physics->SetFrameClock(clock);
        physics->Update();
    });
}

void CollisionThreadLoop() {
    CollisionManager* collision = Module<CollisionManager>::Instance();
    GameLockstep().RunWorker([collision](const FrameClock& clock) {
        collision->SetFrameClock(clock);
        collision->Update();
    });
}

namespace {

// The clock the workers read for the next pass: this frame's start and the
// step the limiter last computed.
FrameClock CurrentFrameClock() {
    const System& system = TheSystem();
    return FrameClock{system.frameStartTime.load(), system.frameTime.load()};
}

}  // namespace

void StartWorkerThreads() {
    // Both managers are made here, on the main thread, before their threads run.
    Module<Physics>::Instance();
    CollisionManager* collision = Module<CollisionManager>::Instance();
    collision->PublishAtPassEnd(true);
    WorkerLockstep& lockstep = GameLockstep();
    lockstep.SetPassEndHook([collision] { collision->EndPass(); });
    System& system = TheSystem();
    lockstep.Start(PhysicsThreadLoop, CollisionThreadLoop, system.running.load(), system.IsPaused(),
                   CurrentFrameClock());
}

void JoinWorkerThreads() {
    GameLockstep().Join();
    // Without the barrier, results are readable as soon as a pass ends.
    Module<CollisionManager>::Instance()->PublishAtPassEnd(false);
}

void RunFrame(bool limitFrame) {
    UpdateModules();
    System& system = TheSystem();
    GameLockstep().MeetWorkers(system.running.load(), system.IsPaused(), CurrentFrameClock());
    if (limitFrame) system.FrameLimiter();
}

void MainLoop() {
    while (GameLockstep().Continues()) RunFrame(true);
}
