// The heaviest scene of the game, measured whole: level 3 in endless mode at
// the largest wave of the first ten endless waves, fought at 1024x768 on
// this machine's OpenGL by a scripted player that turns and fires both
// weapons.
//
// The wave: endless wave n (n = 0 for the first, wave text "8 of infinite")
// brings m + 7 medium and m + 5 heavy machines, m = n up to n = 5 (with 2
// "MediumMechSuper" first when n > 2 is odd and n mod 3 + 1
// "HeavyMechSuper" when n > 2 is not a multiple of 3), m = n - 5 of the
// super kinds alone from n = 6 on. The first ten come to 12, 14, 16, 20, 22,
// 27, 14, 16, 18 and 20 machines: the largest is n = 5, "13 of infinite",
// with 2 MediumMechSuper, 3 HeavyMechSuper, 12 MediumMech and 10 HeavyMech
// (14 medium, 13 heavy).
//
// The scene is brought about by the game's own code: main's start-up, the
// splash ended by a key, the in-game state pushed with level 3 chosen
// (level 1 loads first, as at every start), the player set down at the
// plaza's north end, where it comes in from the streets and where entering
// clears the street machines; then GameLogic's endlessMode and the level's
// wave number 12, so that LevelThree releases the wave itself, through the
// five spawn pads of the plaza's south half. Once all 27 stand, where each
// stands is kept: every case starts from there (the machines set back, at
// rest), so each measures the same five seconds of the wave closing in on
// the player, firing as it comes. Left alone, the machines would end
// crowded around the player, below the cockpit's sill.
//
// Each frame is RunFrame's: the module updates in their order (behaviour,
// animation and spawning while not paused), Graphics' whole frame with the
// buffer swap, then the barrier with the physics and collision threads,
// which run as in the game, one step a frame, in parallel with the main
// thread (their bodies here time their own updates). The steps are called
// here rather than through RunFrame so that each can be timed, and so that
// the scripted player's keys and pointer can take the place of the input
// poll's, right after it: the laser and the missile held, the pointer off
// the centre by as much as swings the view 60 degrees either side of south
// and back once in 300 frames, aiming a little down at the machines. Each frame is a 60th of a second of play (a
// stopped clock moved on per frame): the work of a frame at the 60 frames a
// second aimed at. The script also keeps the player's hull, shield and
// missiles full and the player on its spot (the hits push it), and every
// machine's hull beyond what a frame's hits take, so the wave stays whole
// while the hits, explosions and particles go on as in play.
//
// Cases (each 300 frames):
//   Frame        the frame as the game runs it: wall and process CPU time,
//                each main-thread step, the worker threads' time, the gap to
//                16.7 ms;
//   MarkedFrame  the same frames with each render pass closed by glFinish
//                (frame_pass_clock.h): each pass's wall and CPU time;
//   BufferSwap   the swap alone (the window's 1024x768 picture to the X
//                server), to tell it from the interface overlays drawn
//                before it.
// After the cases a summary table gives the means over every run.
// --png=FILE writes a frame of the wave's approach (one more sweep) as a
// PNG: of those showing a third of the wave, the one least veiled by smoke
// at the eye.
//
// Needs a display and the release build:
//   xvfb-run -a -s "-screen 0 1024x768x24" env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
//     build/release/bench_heaviest_scene_bench --benchmark_repetitions=3 --png=heaviest.png
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "animation_manager.h"
#include "behavior_manager.h"
#include "collision_manager.h"
#include "event_manager.h"
#include "frame_bench_support.h"
#include "frame_pass_clock.h"
#include "game_logic.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "game_states/title_state.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "lua_manager.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "objects/components.h"
#include "physics.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "spawn_manager.h"
#include "support/stopped_clock.h"
#include "support/temp_folder.h"
#include "system.h"
#include "weapons.h"
#include "window_png.h"

namespace {

using bench_support::PassClock;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024, kHeight = 768;
constexpr double kStep = 1.0 / 60.0;
constexpr double kBudgetMs = 1000.0 / 60.0;
constexpr int kFramesPerSweep = 300;  // the view swings across the wave and back in five seconds
constexpr float kSouth = 0.0f;        // the camera's yaw looking along -z
constexpr float kSweep = 1.05f;       // radians either side of south
// Radians below the horizon, which lies on the cockpit's sill: the machines
// (shorter than the player's eye height) show only above it.
constexpr float kAimDown = 0.25f;
constexpr int kWaveNumber = 12;      // endless n = 5: the wave text "13 of infinite"
constexpr const char* kWaveText = "13 of infinite";
constexpr float kPlazaX = 1000.0f, kPlazaZ = 1150.0f;  // the plaza's north, where the player comes in
constexpr int kMachines = 27;
constexpr float kAtTheEye = 30.0f;  // units: a particle this near hangs around the player's eye
constexpr int32_t kUnkillable = 1000000;
constexpr const char* kSender = "HeaviestSceneBench";

System& Sys() { return *Module<System>::Instance(); }
GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

long long ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

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
WorkerBook physicsBook, collisionBook;

// The worker's body of the frame loop (PhysicsThreadLoop,
// CollisionThreadLoop), its update timed.
template <class Manager>
void TimedWorkerLoop(WorkerBook& book) {
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

FrameClock CurrentFrameClock() { return FrameClock{Sys().frameStartTime.load(), Sys().frameTime.load()}; }

// The start-up's workers replaced by the same two with timed bodies, set up
// as StartWorkerThreads sets them up.
void RestartTimedWorkers() {
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
    kSystem, kEvents, kInput, kScript, kResources, kObjectStep, kLua, kSound, kInterface, kGameLogic,
    kBehaviour, kAnimation, kSpawn, kGraphics, kBarrier, kStepCount
};

const char* StepName(int step) {
    static const char* const names[kStepCount] = {
        "System", "EventManager", "InputManager", "scripted player (bench)", "ResourceManager", "ObjectManager",
        "LuaManager", "SoundManager", "InterfaceManager (HUD update)", "GameLogic (in-game: hits, particles, player)",
        "BehaviorManager (behaviour)", "AnimationManager (animation)", "SpawnManager (spawn)", "Graphics (whole frame)",
        "barrier (waiting for the workers)"};
    return names[step];
}

template <class T>
void UpdateOf() {
    Module<T>::Instance()->Update();
}

// What the scripted player does right after the input poll; set per phase.
std::function<void()> script = [] {};
void RunScript() { script(); }

struct TimedStep {
    Step step;
    void (*run)();
};
// RunFrame's order (main/frame_loop.cpp), the script after the input poll.
constexpr TimedStep kEveryFrame[] = {
    {kSystem, UpdateOf<System>},           {kEvents, UpdateOf<EventManager>},
    {kInput, UpdateOf<InputManager>},      {kScript, RunScript},
    {kResources, UpdateOf<ResourceManager>}, {kObjectStep, UpdateOf<ObjectManager>},
    {kLua, UpdateOf<LuaManager>},          {kSound, UpdateOf<SoundManager>},
    {kInterface, UpdateOf<InterfaceManager>}, {kGameLogic, UpdateOf<GameLogic>}};
constexpr TimedStep kWhileUnpaused[] = {
    {kBehaviour, UpdateOf<BehaviorManager>}, {kAnimation, UpdateOf<AnimationManager>}, {kSpawn, UpdateOf<SpawnManager>}};

struct FrameBook {
    std::array<double, kStepCount> stepMs{};
    double wallMs = 0.0;
    double cpuMs = 0.0;
    long long physicsBusyNs = 0, physicsCpuNs = 0, collisionBusyNs = 0, collisionCpuNs = 0;
    PassClock::Spent passes;
    int frames = 0;
    int markedFrames = 0;  // frames whose passes were told apart
};

// One frame of play, a 60th of a second on; `passes` (may be null) closes
// each render pass with glFinish; `draw` false leaves Graphics out (while
// the wave is on its way, before any measurement).
void PlayFrame(FrameBook& book, PassClock* passes, bool draw = true) {
    platform::SetClockTime(platform::GetClockTime() + kStep);
    System& system = Sys();
    const auto start = Clock::now();
    const double cpuStart = bench_support::ProcessCpuSeconds();
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
    book.cpuMs += (bench_support::ProcessCpuSeconds() - cpuStart) * 1000.0;
    ++book.frames;
}

// ---- What the scene holds

struct Census {
    int medium = 0, mediumSuper = 0, heavy = 0, heavySuper = 0;  // by their patterns' hulls
    int seeing = 0;       // machines that see the player (they walk at it firing)
    int shown = 0;        // machines the window shows above the cockpit's sill
    int near = 0;         // machines within 400 units of the player
    int projectiles = 0;  // laser shots and missiles in flight
    int missiles = 0;     // of which missiles (they have a mesh)
    int explosions = 0;
    int objects = 0;
    int particles = 0;  // live particles
    int emitters = 0;
    // The window's pixels the particles' and the shots' quads cover, summed
    // (an estimate from their sizes and distances, each clipped to the window).
    double particlePixels = 0.0;
    double atTheEyePixels = 0.0;  // of the particles' pixels, those of particles nearer than kAtTheEye
    double billboardPixels = 0.0;
    int Machines() const { return medium + mediumSuper + heavy + heavySuper; }
};

// The window's focal length in pixels.
float Focal() { return 0.5f * float(kHeight) / std::tan(0.5f * Graphics::kFieldOfView); }

Vector InEyeSpace(const Matrix& view, const Vector& point) {
    return view * Vector(point.x, point.y, point.z, 1.0f);
}

// The window's pixels that a camera-facing quad of width x height units at
// `eye` (in eye space) covers, clipped to the window (its turn left aside);
// a quad that reaches the eye covers it all.
double CoveredPixels(const Vector& eye, float width, float height) {
    const float depth = -eye.z, reach = 0.5f * std::max(width, height);
    if (depth <= Graphics::kNearPlane) return depth > -reach ? double(kWidth) * kHeight : 0.0;
    const float x = 0.5f * kWidth + Focal() * eye.x / depth, y = 0.5f * kHeight + Focal() * eye.y / depth;
    const float halfWidth = 0.5f * Focal() * width / depth, halfHeight = 0.5f * Focal() * height / depth;
    const float across = std::min(x + halfWidth, float(kWidth)) - std::max(x - halfWidth, 0.0f);
    const float down = std::min(y + halfHeight, float(kHeight)) - std::max(y - halfHeight, 0.0f);
    return across > 0.0f && down > 0.0f ? double(across) * down : 0.0;
}

// Whether the window shows the point at `eye` (in eye space) above the
// cockpit's sill, which runs along its middle.
bool AboveTheSill(const Vector& eye) {
    const float depth = -eye.z;
    if (depth <= Graphics::kNearPlane) return false;
    const float x = Focal() * eye.x / depth, y = Focal() * eye.y / depth;  // from the window's centre
    return std::fabs(x) < 0.5f * kWidth && y > 0.0f && y < 0.5f * kHeight;
}

// The player's view of a machine: its kind, whether it sees the player,
// shows in the window (its upper body) and how near it stands.
void CountMachine(Census& census, const GameObject& machine, const CameraObject& camera) {
    const int32_t hull = machine.GetStatsComp()->healthMax;
    census.medium += hull == 40;
    census.mediumSuper += hull == 80;
    census.heavy += hull == 120;
    census.heavySuper += hull == 240;
    if (const BehaviorComp* behavior = machine.GetBehaviorComp()) census.seeing += behavior->sm.hasLineOfSight;
    census.shown += AboveTheSill(InEyeSpace(camera.viewMat, machine.trans + Vector(0.0f, 15.0f, 0.0f, 0.0f)));
    const Vector d = machine.trans - camera.target;
    census.near += d.x * d.x + d.z * d.z < 400.0f * 400.0f;
}

Census TakeCensus() {
    Census census;
    ObjectLock lock;
    ObjectManager& objects = Objects();
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& object = entry.second;
        if (object.isDead) continue;
        ++census.objects;
        if (object.HasComp(CompIndex::Bullet)) {
            ++census.projectiles;
            census.missiles += object.GetGraphicsComp() != nullptr;
        }
        // The billboard programs read the sprite's size from its colour (20, 10).
        if (object.HasComp(CompIndex::Billboard))
            census.billboardPixels += CoveredPixels(InEyeSpace(objects.cameraObject.viewMat, object.trans), 20.0f, 10.0f);
        census.explosions += object.name.rfind("Explosion", 0) == 0;
        if (object.GetStatsComp() && object.name != GameObject::kPlayerName) CountMachine(census, object, objects.cameraObject);
    }
    const ParticleSystemController& particles = objects.particleSystemController;
    for (const Particle& particle : particles.particles) {
        if (particle.isFree) continue;
        ++census.particles;
        const Vector eye = InEyeSpace(objects.cameraObject.viewMat, particle.position);
        const double pixels = CoveredPixels(eye, particle.width, particle.height);
        census.particlePixels += pixels;
        if (-eye.z < kAtTheEye) census.atTheEyePixels += pixels;
    }
    census.emitters = int(particles.emitters.size());
    return census;
}

// Censuses summed, for their means.
struct CensusSum {
    enum Figure {
        kSeeing, kShown, kNear, kProjectiles, kMissiles, kExplosions, kParticles, kEmitters, kMachines,
        kParticlePixels, kAtTheEyePixels, kBillboardPixels, kFigureCount
    };
    std::array<double, kFigureCount> sum{};
    int samples = 0;
    void Add(const Census& c) {
        const double figures[kFigureCount] = {
            double(c.seeing),     double(c.shown),     double(c.near),     double(c.projectiles),
            double(c.missiles),   double(c.explosions), double(c.particles), double(c.emitters),
            double(c.Machines()), c.particlePixels,    c.atTheEyePixels,    c.billboardPixels};
        for (int i = 0; i < kFigureCount; ++i) sum[i] += figures[i];
        ++samples;
    }
    void Add(const CensusSum& other) {
        for (int i = 0; i < kFigureCount; ++i) sum[i] += other.sum[i];
        samples += other.samples;
    }
    double Mean(Figure figure) const { return samples ? sum[figure] / samples : 0.0; }
};

// ---- The scripted player

// The frames since the wave was last set back to the moment it stood whole.
int scriptFrame = 0;

// Held keys and the pointer's offset, in place of the poll's: the laser and
// the missile, and the pointer off the centre by as much as swings the view
// across the wave's front, kSweep either side of south, once in
// kFramesPerSweep (the player controller turns by the pointer's offset).
void FireAndTurn() {
    InputManager& input = Input();
    for (int key : {input.laser, input.missile})
        if (key >= 0 && key < InputManager::kKeyTableSize) input.keyDown[key] = true;
    const float phase = 6.2831853f * float(++scriptFrame) / float(kFramesPerSweep);
    const float wanted = kSouth + kSweep * std::sin(phase);
    const CameraObject& camera = Objects().cameraObject;
    input.SetMousePosition(Vector(camera.yaw - wanted, camera.pitch - kAimDown, 0.0f, 0.0f));
}

// Hull, shield and missiles kept full and the player kept on its spot (the
// hits push it); every machine's hull kept far above what a frame's hits
// can take.
void KeepEveryoneAlive() {
    ObjectLock lock;
    for (auto& entry : Objects().gameObjectList) {
        GameObject& object = entry.second;
        StatsComp* stats = object.GetStatsComp();
        if (!stats || object.isDead) continue;
        if (object.name != GameObject::kPlayerName) {
            stats->hp = kUnkillable;
            continue;
        }
        stats->hp = stats->healthMax;
        stats->sp = stats->shield;
        object.trans.x = kPlazaX;
        object.trans.z = kPlazaZ;
        if (WeaponComp* weapons = object.GetWeaponComp())
            if (weapons->secondary) weapons->secondary->ammo = weapons->secondary->maxAmmo;
    }
}

void PlayTheScript() {
    FireAndTurn();
    KeepEveryoneAlive();
}

// Any key, as a player ends the splash slides.
void PressAnyKey() { Input().anyKeyPressed = true; }

// ---- Bringing the scene about

template <class State>
State* Top() {
    return dynamic_cast<State*>(Logic().TopState());
}

// Where each machine stood, and how it was turned.
struct Placement {
    std::string name;
    Vector trans;
    Quaternion rot;
};

class HeaviestScene {
public:
    // The scene, made on first use; null when it could not be (Failure says why).
    static HeaviestScene* Get() {
        static std::unique_ptr<HeaviestScene> scene = [] {
            auto made = std::make_unique<HeaviestScene>();
            if (!made->BringAbout()) {
                Failure() = made->failure;
                const std::string log = Sys().GetLogText();
                std::cerr << "the heaviest scene failed: " << made->failure << "; the game's last log lines:\n"
                          << log.substr(log.size() > 4000 ? log.size() - 4000 : 0) << std::endl;
                made->ShutDown();
                made.reset();
            }
            return made;
        }();
        return scene.get();
    }
    static std::string& Failure() {
        static std::string failure;
        return failure;
    }

    // The machines set back where they stood when the wave first stood
    // whole, at rest; the player on its spot, facing south and aiming down;
    // the sweep from its start. What flies and burns stays.
    void SetBack() {
        ObjectLock lock;
        ObjectManager& objects = Objects();
        for (const Placement& placed : wholeWave) {
            if (!objects.HasGameObject(placed.name)) continue;
            GameObject& machine = *objects.GetGameObject(placed.name);
            machine.trans = placed.trans;
            machine.rot = placed.rot;
            if (PhysicsComp* body = machine.GetPhysicsComp()) body->linearVel = Vector();
        }
        GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
        Vector at(kPlazaX, 0.0f, kPlazaZ, 0.0f);
        at.y = objects.groundObject.GetHeight(at) + Logic().hoverHeight;
        player.trans = at;
        if (PhysicsComp* body = player.GetPhysicsComp()) body->linearVel = Vector();
        objects.cameraObject.yaw = kSouth;
        objects.cameraObject.pitch = kAimDown;
        scriptFrame = 0;
    }

    // The game shut down (workers, loader, modules); main calls it at the end.
    void ShutDown() {
        if (!started) return;
        started = false;
        ShutDownGame();
    }

    Census wholeCensus;  // when the wave first stood whole
    std::string waveLine;

private:
    bool BringAbout() {
        std::filesystem::current_path(QUELL_RUN_DIR);
        setenv("SDL_VIDEODRIVER", "x11", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // A player's settings for a 1024x768 window (the default is the
        // largest full-screen mode narrower than the desktop).
        profile.WriteFile(std::string(platform::kProfileFolderName) + "/" + System::kSettingsFile,
                          "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" key=\"" +
                              std::to_string(kWidth) + "\" /><Setting ID=\"screen_height\" key=\"" +
                              std::to_string(kHeight) + "\" /></Settings>\n");
        Sys().running.store(true);
        if (!StartGame()) return Fail("no window (run under xvfb-run with SDL_VIDEODRIVER=x11)");
        started = true;
        if (Sys().width != kWidth || Sys().height != kHeight)
            return Fail("the window is " + std::to_string(Sys().width) + "x" + std::to_string(Sys().height));
        Sys().frameTime.store(kStep);
        RestartTimedWorkers();
        bench_support::PassClock::Install();
        return SkipTheSplash() && EnterLevelThree() && EnterThePlaza() && ReleaseTheWave() && WarmUp();
    }

    bool Fail(const std::string& why) {
        failure = why;
        return false;
    }
    // Frames until `done`, at most `limit` of them.
    bool FramesUntil(const std::function<bool()>& done, int limit, bool draw = true) {
        FrameBook book;
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            PlayFrame(book, nullptr, draw);
        }
        return done();
    }

    bool SkipTheSplash() {
        script = PressAnyKey;
        const bool title = FramesUntil([] { return Top<TitleState>() != nullptr; }, 6000);
        script = [] {};
        return title || Fail("the title did not come");
    }

    // As the title's "Start Game" does, with level 3 as the level to go to.
    bool EnterLevelThree() {
        state_events::Publish(Event(kSender, addressee::kSoundManager, SoundManager::kPlayMusic));
        Logic().ResetStatistics();
        state_events::PushState(kSender, GameStateName::Ingame);
        state_events::ChangeLevel(kSender, IngameState::kThirdLevel);
        const bool loaded = FramesUntil(
            [] {
                return Top<IngameState>() && Logic().loadingDone && !Logic().IsLoadInFlight() &&
                       dynamic_cast<LevelThree*>(&Top<IngameState>()->CurrentLevel());
            },
            6000);
        return loaded || Fail("level 3 did not load");
    }

    // The player set down in the plaza; the level clears the street
    // machines once it sees the player there.
    bool EnterThePlaza() {
        SetBack();
        auto& level = static_cast<LevelThree&>(Top<IngameState>()->CurrentLevel());
        script = PlayTheScript;
        return FramesUntil([&level] { return level.wavesStarted; }, 10) || Fail("the plaza did not start the waves");
    }

    // Endless play at the thirteenth wave; the level releases it itself,
    // through the spawn points, four seconds on; each pad sets a machine
    // down every 1.5 s.
    bool ReleaseTheWave() {
        LevelState& level = Top<IngameState>()->CurrentLevel();
        Logic().endlessMode = true;
        level.waveNumber = Logic().waveNumber = kWaveNumber;
        level.liveEnemies = 0;
        const bool whole = FramesUntil([] { return TakeCensus().Machines() == kMachines; }, 60 * 60, false);
        wholeCensus = TakeCensus();
        waveLine = Module<InterfaceManager>::Instance()->waveCountText;
        if (!whole) return Fail("the wave did not come whole: " + std::to_string(wholeCensus.Machines()) + " machines");
        const Census& c = wholeCensus;
        if (c.medium != 12 || c.mediumSuper != 2 || c.heavy != 10 || c.heavySuper != 3)
            return Fail("the wave is not the thirteenth's");
        if (waveLine != kWaveText) return Fail("the wave line reads \"" + waveLine + "\"");
        ObjectLock lock;
        for (const auto& entry : Objects().gameObjectList) {
            const GameObject& object = entry.second;
            if (object.GetStatsComp() && !object.isDead && object.name != GameObject::kPlayerName)
                wholeWave.push_back({object.name, object.trans, object.rot});
        }
        return true;
    }

    // Drawn frames, so that every picture is uploaded and warm.
    bool WarmUp() {
        FramesUntil([] { return false; }, 30);
        if (Logic().playerDied) return Fail("the player died");
        return TakeCensus().Machines() == kMachines || Fail("machines lost");
    }

    bool started = false;
    std::string failure;
    std::vector<Placement> wholeWave;
    test_support::TempProfile profile;        // settings and error logs stay out of the real profile
    test_support::StoppedClock stoppedClock;  // the frames set the time
};

// ---- The cases

constexpr int kCensusEvery = 30;  // frames between two looks at what the scene holds

// Every run's frames, summed per case, for the summary.
FrameBook frameTotals, markedTotals;
CensusSum censusTotals;
double swapMsTotal = 0.0;
int swaps = 0;

void AddBook(FrameBook& total, const FrameBook& run) {
    for (int i = 0; i < kStepCount; ++i) total.stepMs[i] += run.stepMs[i];
    for (int i = 0; i < bench_support::kPassCount; ++i) {
        total.passes.wallMs[i] += run.passes.wallMs[i];
        total.passes.cpuMs[i] += run.passes.cpuMs[i];
    }
    total.wallMs += run.wallMs;
    total.cpuMs += run.cpuMs;
    total.physicsBusyNs += run.physicsBusyNs;
    total.physicsCpuNs += run.physicsCpuNs;
    total.collisionBusyNs += run.collisionBusyNs;
    total.collisionCpuNs += run.collisionCpuNs;
    total.frames += run.frames;
    total.markedFrames += run.markedFrames;
}

void ReportCensus(benchmark::State& state, const CensusSum& seen) {
    state.counters["seeing"] = seen.Mean(CensusSum::kSeeing);
    state.counters["shown"] = seen.Mean(CensusSum::kShown);
    state.counters["projectiles"] = seen.Mean(CensusSum::kProjectiles);
    state.counters["particles"] = seen.Mean(CensusSum::kParticles);
    state.counters["particle_mpixels"] = seen.Mean(CensusSum::kParticlePixels) * 1e-6;
}

// The wave set back to where it stood whole, then `state`'s frames, with a
// look at the scene every kCensusEvery frames (not timed). The worker
// threads' time comes from their books.
FrameBook PlayMeasured(benchmark::State& state, HeaviestScene& scene, PassClock* passes) {
    scene.SetBack();
    FrameBook book;
    CensusSum seen;
    const long long physicsBusy = physicsBook.busyNs, physicsCpu = physicsBook.cpuNs;
    const long long collisionBusy = collisionBook.busyNs, collisionCpu = collisionBook.cpuNs;
    for (auto _ : state) {
        PlayFrame(book, passes);
        if (book.frames % kCensusEvery != 0) continue;
        state.PauseTiming();
        seen.Add(TakeCensus());
        state.ResumeTiming();
    }
    book.physicsBusyNs = physicsBook.busyNs - physicsBusy;
    book.physicsCpuNs = physicsBook.cpuNs - physicsCpu;
    book.collisionBusyNs = collisionBook.busyNs - collisionBusy;
    book.collisionCpuNs = collisionBook.cpuNs - collisionCpu;
    if (glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
    if (Logic().playerDied) state.SkipWithError("the player died");
    ReportCensus(state, seen);
    censusTotals.Add(seen);
    return book;
}

HeaviestScene* SceneOrSkip(benchmark::State& state) {
    HeaviestScene* scene = HeaviestScene::Get();
    if (!scene) state.SkipWithError(("no heaviest scene: " + HeaviestScene::Failure()).c_str());
    return scene;
}

void BM_Frame(benchmark::State& state) {
    const QuietLog quiet;
    HeaviestScene* scene = SceneOrSkip(state);
    if (!scene) return;
    const FrameBook book = PlayMeasured(state, *scene, nullptr);
    AddBook(frameTotals, book);
    const double frames = double(book.frames);
    state.counters["process_cpu_ms"] = book.cpuMs / frames;
    state.counters["gap_to_16.7ms"] = book.wallMs / frames - kBudgetMs;
    state.counters["graphics_ms"] = book.stepMs[kGraphics] / frames;
    state.counters["gamelogic_ms"] = book.stepMs[kGameLogic] / frames;
    state.counters["behaviour_ms"] = book.stepMs[kBehaviour] / frames;
    state.counters["physics_cpu_ms"] = double(book.physicsCpuNs) * 1e-6 / frames;
    state.counters["collision_cpu_ms"] = double(book.collisionCpuNs) * 1e-6 / frames;
}

void BM_MarkedFrame(benchmark::State& state) {
    const QuietLog quiet;
    HeaviestScene* scene = SceneOrSkip(state);
    if (!scene) return;
    PassClock passes;
    FrameBook book = PlayMeasured(state, *scene, &passes);
    book.passes = passes.spent;
    AddBook(markedTotals, book);
    if (book.markedFrames != book.frames) state.SkipWithError("a frame's passes were not the scene's");
    const double frames = double(book.frames);
    static const char* const keys[bench_support::kPassCount] = {
        "events_ms", "start_ms", "meshes_ms", "mipmaps_ms", "particles_ms", "billboards_ms", "particle_mipmaps_ms",
        "combine_ms", "polish_ms", "cockpit_ms", "interface_swap_ms"};
    for (int i = 0; i < bench_support::kPassCount; ++i) state.counters[keys[i]] = book.passes.wallMs[i] / frames;
}

void BM_BufferSwap(benchmark::State& state) {
    const QuietLog quiet;
    if (!SceneOrSkip(state)) return;
    const auto start = Clock::now();
    for (auto _ : state) {
        SDL_GL_SwapBuffers();
        glFinish();
    }
    swapMsTotal += Ms(start);
    swaps += int(state.iterations());
}

// ---- The summary

void PrintRow(const char* name, double ms, double ofMs) {
    std::printf("  %-46s %8.2f ms  %5.1f %%\n", name, ms, 100.0 * ms / ofMs);
}

void PrintFrameSummary(const FrameBook& t) {
    const double n = double(t.frames);
    const double frameMs = t.wallMs / n;
    std::printf("\nThe frame, as the game runs it (%d frames):\n", t.frames);
    std::printf("  %-46s %8.2f ms  (%.1f frames a second)\n", "wall", frameMs, 1000.0 / frameMs);
    std::printf("  %-46s %8.2f ms  (%.2f cores busy)\n", "process CPU (every thread)", t.cpuMs / n,
                t.cpuMs / t.wallMs);
    std::printf("  %-46s %+8.2f ms  (60 frames a second needs %.1f times less)\n", "gap to 16.7 ms",
                frameMs - kBudgetMs, frameMs / kBudgetMs);
}

void PrintMainThread(const FrameBook& t) {
    const double n = double(t.frames);
    const double frameMs = t.wallMs / n;
    std::printf("Main thread, share of the frame's wall time:\n");
    // The modules that take next to nothing here are summed in one row.
    static const Step shown[] = {kScript, kInterface, kGameLogic, kBehaviour, kAnimation, kSpawn, kGraphics, kBarrier};
    double others = frameMs;
    for (Step step : shown) {
        PrintRow(StepName(step), t.stepMs[step] / n, frameMs);
        others -= t.stepMs[step] / n;
    }
    PrintRow("the other modules and the frame's own upkeep", others, frameMs);
}

void PrintSimulation(const FrameBook& t) {
    const double n = double(t.frames);
    std::printf("Worker threads, in parallel with the main thread: their updates' wall time (waits for the "
                "object lock included) and CPU time:\n");
    const double physicsCpu = double(t.physicsCpuNs) * 1e-6 / n, collisionCpu = double(t.collisionCpuNs) * 1e-6 / n;
    std::printf("  %-46s %8.2f ms  CPU %.2f ms\n", "physics thread", double(t.physicsBusyNs) * 1e-6 / n, physicsCpu);
    std::printf("  %-46s %8.2f ms  CPU %.2f ms\n", "collision thread", double(t.collisionBusyNs) * 1e-6 / n,
                collisionCpu);
    const double mainThread = (t.stepMs[kBehaviour] + t.stepMs[kAnimation] + t.stepMs[kSpawn]) / n;
    std::printf("  %-46s %8.2f ms  (%.2f ms behaviour, animation and spawn on the main thread, %.2f ms CPU of "
                "physics and collision)\n",
                "simulation in all", mainThread + physicsCpu + collisionCpu, mainThread, physicsCpu + collisionCpu);
}

void PrintPassSummary(const FrameBook& t, double unmarkedGraphicsMs) {
    const double n = double(t.frames);
    double sum = 0.0;
    for (double ms : t.passes.wallMs) sum += ms / n;
    std::printf("\nRender passes, each closed by glFinish (%d frames; they sum to %.2f ms, the unmarked "
                "Graphics step takes %.2f ms):\n",
                t.frames, sum, unmarkedGraphicsMs);
    std::printf("  %-46s %8s     %5s    %8s  %s\n", "pass", "wall", "share", "CPU", "cores");
    for (int pass = 0; pass < bench_support::kPassCount; ++pass) {
        const double wall = t.passes.wallMs[pass] / n, cpu = t.passes.cpuMs[pass] / n;
        std::printf("  %-46s %8.2f ms  %5.1f %%  %8.2f ms  %.2f\n", bench_support::PassName(pass), wall,
                    100.0 * wall / sum, cpu, wall > 0.0 ? cpu / wall : 0.0);
    }
}

// The game's errors and warnings, each line once.
void PrintLogProblems() {
    std::istringstream log(Sys().GetLogText());
    std::set<std::string> seen;
    int errors = 0, warnings = 0;
    for (std::string line; std::getline(log, line);) {
        const bool error = line.rfind("ERROR", 0) == 0, warning = line.rfind("WARNING", 0) == 0;
        errors += error;
        warnings += warning;
        if ((error || warning) && seen.insert(line).second) std::printf("  %s\n", line.c_str());
    }
    std::printf("The game's log: %d errors, %d warnings\n", errors, warnings);
}

void PrintSummary() {
    if (frameTotals.frames == 0) return;
    HeaviestScene* scene = HeaviestScene::Get();
    if (!scene) return;
    const Census& c = scene->wholeCensus;
    const CensusSum& m = censusTotals;
    std::printf("\n==== The heaviest scene: level 3, endless mode, wave \"%s\", %dx%d ====\n", scene->waveLine.c_str(),
                kWidth, kHeight);
    std::printf("The wave: %d MediumMech, %d MediumMechSuper, %d HeavyMech, %d HeavyMechSuper.\n", c.medium,
                c.mediumSuper, c.heavy, c.heavySuper);
    using F = CensusSum::Figure;
    std::printf("On average while measured (%d looks): %.1f machines, %.1f seeing the player, %.1f shown in the "
                "window, %.1f within 400 units;\n  %.1f projectiles in the air (%.1f missiles), %.1f explosions, "
                "%.0f live particles of %.0f emitters,\n  whose quads cover about %.1f million pixels a frame (%.0f "
                "times the window), %.1f million of them within %.0f units of the eye; the shots' %.2f million\n",
                m.samples, m.Mean(F::kMachines), m.Mean(F::kSeeing), m.Mean(F::kShown), m.Mean(F::kNear),
                m.Mean(F::kProjectiles), m.Mean(F::kMissiles), m.Mean(F::kExplosions), m.Mean(F::kParticles),
                m.Mean(F::kEmitters), m.Mean(F::kParticlePixels) * 1e-6,
                m.Mean(F::kParticlePixels) / (double(kWidth) * kHeight), m.Mean(F::kAtTheEyePixels) * 1e-6,
                kAtTheEye, m.Mean(F::kBillboardPixels) * 1e-6);
    PrintFrameSummary(frameTotals);
    PrintMainThread(frameTotals);
    PrintSimulation(frameTotals);
    if (markedTotals.frames > 0)
        PrintPassSummary(markedTotals, frameTotals.stepMs[kGraphics] / double(frameTotals.frames));
    if (swaps > 0) std::printf("  %-46s %8.2f ms\n", "the buffer swap alone", swapMsTotal / double(swaps));
    PrintLogProblems();
}

}  // namespace

BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFramesPerSweep);
BENCHMARK(BM_MarkedFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kFramesPerSweep);
BENCHMARK(BM_BufferSwap)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    std::string png;
    if (!bench_support::RunBenchmarksTakingPng(argc, argv, png)) return 1;
    PrintSummary();
    bool written = false;
    if (HeaviestScene* scene = HeaviestScene::Get()) {
        const QuietLog quiet;
        if (!png.empty()) {
            // Of one sweep of the approach, the frame least veiled by smoke at
            // the eye that shows a third of the wave.
            scene->SetBack();
            FrameBook book;
            double clearest = 1e30;
            for (int frame = 0; frame < kFramesPerSweep; ++frame) {
                PlayFrame(book, nullptr);
                const Census census = TakeCensus();
                if (census.shown < kMachines / 3 || census.atTheEyePixels >= clearest) continue;
                clearest = census.atTheEyePixels;
                written = bench_support::WriteWindowPng(png, kWidth, kHeight);
            }
        }
        scene->ShutDown();
    }
    if (png.empty()) return 0;
    std::printf(written ? "the scene's last frame is in %s\n" : "could not write %s\n", png.c_str());
    return written ? 0 : 1;
}
