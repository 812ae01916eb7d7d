// The heaviest scene of the game, brought about by the game's own code and
// kept going by a scripted player: level 3 in endless mode at its
// thirteenth wave ("13 of infinite": 2 MediumMechSuper, 3 HeavyMechSuper,
// 12 MediumMech and 10 HeavyMech, the largest of the first ten endless
// waves), the player at the plaza's north end firing both weapons while
// its view swings across the wave's front (heaviest_scene_bench.cpp says
// how the wave was chosen and how the scene is brought about). SetBack
// puts the wave back where it first stood whole; TakeCensus counts what the
// scene holds and what its particles cost in pixels.
//
// Main thread, with the window's OpenGL context current once the scene is
// made. The scene runs the real game in this process: one per process.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "game_states/title_state.h"
#include "main/start_up.h"
#include "objects/components.h"
#include "platform/profile.h"
#include "support/stopped_clock.h"
#include "support/temp_folder.h"
#include "timed_game_frame.h"
#include "weapons.h"

namespace heaviest_scene {

using namespace bench_support;

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kFramesPerSweep = 300;  // the view swings across the wave and back in five seconds
constexpr float kSouth = 0.0f;        // the camera's yaw looking along -z
constexpr float kSweep = 1.05f;       // radians either side of south
// Radians below the horizon, which lies on the cockpit's sill: the machines
// (shorter than the player's eye height) show only above it.
constexpr float kAimDown = 0.25f;
constexpr int kWaveNumber = 12;  // endless n = 5: the wave text "13 of infinite"
constexpr const char* kWaveText = "13 of infinite";
constexpr float kPlazaX = 1000.0f, kPlazaZ = 1150.0f;  // the plaza's north, where the player comes in
constexpr int kMachines = 27;
constexpr float kAtTheEye = 30.0f;  // units: a particle this near hangs around the player's eye
constexpr int32_t kUnkillable = 1000000;
constexpr const char* kSender = "HeaviestSceneBench";

inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline InputManager& Input() { return *Module<InputManager>::Instance(); }

// ---- What the scene holds

struct Census {
    int medium = 0, mediumSuper = 0, heavy = 0, heavySuper = 0;  // by their patterns' hulls
    int seeing = 0;       // machines that see the player (they walk at it firing)
    int shown = 0;        // machines the window shows above the cockpit's sill, 40 to 400 units away
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
inline float Focal() { return 0.5f * float(kHeight) / std::tan(0.5f * Graphics::kFieldOfView); }

inline Vector InEyeSpace(const Matrix& view, const Vector& point) {
    return view * Vector(point.x, point.y, point.z, 1.0f);
}

// The window's pixels that a camera-facing quad of width x height units at
// `eye` (in eye space) covers, clipped to the window (its turn left aside);
// a quad that reaches the eye covers it all.
inline double CoveredPixels(const Vector& eye, float width, float height) {
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
inline bool AboveTheSill(const Vector& eye) {
    const float depth = -eye.z;
    if (depth <= Graphics::kNearPlane) return false;
    const float x = Focal() * eye.x / depth, y = Focal() * eye.y / depth;  // from the window's centre
    return std::fabs(x) < 0.5f * kWidth && y > 0.0f && y < 0.5f * kHeight;
}

// The player's view of a machine: its kind, whether it sees the player,
// shows in the window (its upper body standing for it) and how near it
// stands.
inline void CountMachine(Census& census, const GameObject& machine, const CameraObject& camera) {
    const int32_t hull = machine.GetStatsComp()->healthMax;
    census.medium += hull == 40;
    census.mediumSuper += hull == 80;
    census.heavy += hull == 120;
    census.heavySuper += hull == 240;
    if (const BehaviorComp* behavior = machine.GetBehaviorComp()) census.seeing += behavior->sm.hasLineOfSight;
    const Vector upperBody = InEyeSpace(camera.viewMat, machine.trans + Vector(0.0f, 15.0f, 0.0f, 0.0f));
    census.shown += AboveTheSill(upperBody) && -upperBody.z > 40.0f && -upperBody.z < 400.0f;
    const Vector d = machine.trans - camera.target;
    census.near += d.x * d.x + d.z * d.z < 400.0f * 400.0f;
}

inline Census TakeCensus() {
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
            census.billboardPixels +=
                CoveredPixels(InEyeSpace(objects.cameraObject.viewMat, object.trans), 20.0f, 10.0f);
        census.explosions += object.name.rfind("Explosion", 0) == 0;
        if (object.GetStatsComp() && object.name != GameObject::kPlayerName)
            CountMachine(census, object, objects.cameraObject);
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
        kSeeing,
        kShown,
        kNear,
        kProjectiles,
        kMissiles,
        kExplosions,
        kParticles,
        kEmitters,
        kMachines,
        kParticlePixels,
        kAtTheEyePixels,
        kBillboardPixels,
        kFigureCount
    };
    std::array<double, kFigureCount> sum{};
    int samples = 0;
    void Add(const Census& c) {
        const double figures[kFigureCount] = {double(c.seeing),      double(c.shown),    double(c.near),
                                              double(c.projectiles), double(c.missiles), double(c.explosions),
                                              double(c.particles),   double(c.emitters), double(c.Machines()),
                                              c.particlePixels,      c.atTheEyePixels,   c.billboardPixels};
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
inline int scriptFrame = 0;

// Held keys and the pointer's offset, in place of the poll's: the laser and
// the missile, and the pointer off the centre by as much as swings the view
// across the wave's front, kSweep either side of south, once in
// kFramesPerSweep (the player controller turns by the pointer's offset).
inline void FireAndTurn() {
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
inline void KeepEveryoneAlive() {
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

inline void PlayTheScript() {
    FireAndTurn();
    KeepEveryoneAlive();
}

// Any key, as a player ends the splash slides.
inline void PressAnyKey() { Input().anyKeyPressed = true; }

// ---- Bringing the scene about

template <class State>
inline State* Top() {
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
        Sys().frameTime.store(kFrameStep);
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

}  // namespace heaviest_scene
